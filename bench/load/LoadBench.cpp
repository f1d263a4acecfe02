// Speed of adding files to the main window's list: files per second for a
// whole load of many small FLAC files (directory entry, STREAMINFO probe,
// row, icon and the final sort), next to the probe alone on one thread, so
// the cost of the window's side shows as a ratio.
#include <QAction>
#include <QApplication>
#include <QToolBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "filelist/FileProbe.h"
#include "platform/MessageBox.h"
#include "tests/support/FlacFixture.h"
#include "tests/support/TempHome.h"
#include "ui/MainWindow.h"

namespace fs = std::filesystem;

namespace
{

constexpr int kFileCount = 2000;
constexpr int kRepeats = 5;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Small files of a few shapes, named so that the final sort has work to do.
QStringList MakeFiles(const fs::path& dir)
{
    const uint32_t rates[] = {44100, 48000, 96000};
    QStringList paths;
    for (int i = 0; i < kFileCount; ++i) {
        FlacFixtureShape shape;
        shape.sampleRate = rates[i % 3];
        shape.channels = 1 + i % 2;
        shape.samples = MakeSine(shape.sampleRate / 20, shape.channels, shape.bitsPerSample, shape.sampleRate,
                                220.0 + i, 0.5);
        const std::string strPath = (dir / ("track " + std::to_string((i * 7919) % kFileCount) + ".flac")).string();
        if (!WriteFlacFixture(strPath, shape)) {
            std::fprintf(stderr, "cannot write %s\n", strPath.c_str());
            std::exit(1);
        }
        paths << QString::fromStdString(strPath);
    }
    return paths;
}

double LoadOnce(const QStringList& paths)
{
    CVESKDlg dlg;
    dlg.m_fnChooseFiles = [&](QWidget*) { return paths; };
    dlg.Create();
    dlg.show();
    QApplication::processEvents();

    const Clock::time_point start = Clock::now();
    dlg.ToolBar().actions().at(0)->trigger();
    while (dlg.IsLoading())
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double dSeconds = SecondsSince(start);
    if (dlg.Totals().fileCount != paths.size()) {
        std::fprintf(stderr, "loaded %d of %lld files\n", dlg.Totals().fileCount, static_cast<long long>(paths.size()));
        std::exit(1);
    }
    return dSeconds;
}

double ProbeOnce(const QStringList& paths)
{
    const Clock::time_point start = Clock::now();
    for (const QString& strPath : paths) {
        const std::optional<FoundFile> found = FindFoundFile(strPath.toStdString());
        AudioFileInfo info;
        FileRowTexts row;
        DescribeFoundFile(*found, info, row);
        ProbeAudioFile(found->fullPath, info, row);
    }
    return SecondsSince(start);
}

double Best(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The window reads and writes its settings: keep them away from the user's.
    CTempHome home;
    QApplication app(argc, argv);
    SetMessageBoxHandler([](const std::string& strText, const std::string&, unsigned) {
        std::fprintf(stderr, "unexpected message: %s\n", strText.c_str());
        std::exit(1);
        return 0;
    });
    CVESKDlg::SetProcessExit([](int) {});

    const QStringList paths = MakeFiles(home.MakeDir("flac"));
    std::vector<double> loads, probes;
    for (int i = 0; i < kRepeats; ++i) {
        loads.push_back(LoadOnce(paths));
        probes.push_back(ProbeOnce(paths));
    }
    const double dLoad = Best(loads);
    const double dProbe = Best(probes);
    std::printf("load of %d FLAC files, best of %d:\n", kFileCount, kRepeats);
    std::printf("  main window load   %8.0f files/s  (%.3f s)\n", kFileCount / dLoad, dLoad);
    std::printf("  probe alone        %8.0f files/s  (%.3f s)\n", kFileCount / dProbe, dProbe);
    std::printf("  load / probe time  %8.2f\n", dLoad / dProbe);
    return 0;
}
