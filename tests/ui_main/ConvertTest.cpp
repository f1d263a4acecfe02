// Converting list entries through the progress window into MP3 files.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>

#include "resources/Resource.h"
#include "settings/ConversionSettings.h"
#include "tests/support/Mp3Check.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_main/MainWindowFixture.h"
#include "ui/ConvProg.h"

namespace fs = std::filesystem;

namespace {

// Watches for the progress window's modal run: records its tasks, waits for
// the batch to finish and presses Finish, as the user would.
class CProgressWatcher
{
public:
    CProgressWatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* pProgress = dynamic_cast<CConvProg*>(QApplication::activeModalWidget());
            if (!pProgress)
                return;
            m_timer.stop();
            ++m_nRuns;
            m_tasks = pProgress->m_arrTasks;
            m_nOverallTotal = pProgress->m_nOverallTotal.load();
            m_bFinished = PumpEventsUntil(
                [&] { return pProgress->GetDlgItemText(IDC_CANCEL) == QStringLiteral("Finish"); }, 120000);
            QTest::mouseClick(pProgress->GetDlgItem(IDC_CANCEL), Qt::LeftButton);
        });
    }

    void Arm()
    {
        m_tasks.clear();
        m_timer.start(10);
    }

    QTimer m_timer;
    int m_nRuns = 0;
    bool m_bFinished = false;
    std::vector<CConversionTask> m_tasks;
    uint64_t m_nOverallTotal = 0;
};

}  // namespace

TEST_F(MainWindowTest, ConvertSelectedAndConvertAllBuildTheTasksAndWriteMp3Files)
{
    OpenWindow();
    const std::string strStereo = WriteFlac("s48.flac", 48000, 2, 16, 24000);
    const std::string strMono = WriteFlac("m44.flac", 44100, 1, 16, 22050);
    Load({strStereo, strMono, WriteText("bad.flac")});
    ASSERT_EQ(g_settings.channelMode, CHANNEL_AUTOMATIC);
    ASSERT_EQ(g_settings.frequencyIndex, 0);
    const std::string strOut = g_settings.outputFolder;

    CProgressWatcher watcher;
    watcher.Arm();
    Select({"s48.flac"});
    PressKey(Qt::Key_F3, Qt::ShiftModifier);
    ASSERT_EQ(watcher.m_nRuns, 1);
    EXPECT_TRUE(watcher.m_bFinished);
    ASSERT_EQ(watcher.m_tasks.size(), 1u);
    const CConversionTask& task = watcher.m_tasks[0];
    EXPECT_EQ(task.m_strSource, strStereo);
    EXPECT_EQ(task.m_strDest, strOut + "s48.mp3");
    EXPECT_EQ(task.m_nOutRate, 44100);
    EXPECT_EQ(task.m_nOutChannels, 2);
    EXPECT_DOUBLE_EQ(task.m_dRateRatio, 0.91875);
    EXPECT_EQ(task.m_nTotalSamples, 44100u);
    EXPECT_EQ(watcher.m_nOverallTotal, 44100u);

    const Mp3Facts stereo = InspectMp3(strOut + "s48.mp3");
    ASSERT_TRUE(stereo.opened);
    EXPECT_EQ(stereo.rate, 44100);
    EXPECT_EQ(stereo.channels, 2);

    // All: every valid entry in list order, the invalid one left out. The
    // list and its totals are not changed by converting.
    watcher.Arm();
    PressKey(Qt::Key_F3);
    ASSERT_EQ(watcher.m_nRuns, 2);
    EXPECT_TRUE(watcher.m_bFinished);
    ASSERT_EQ(watcher.m_tasks.size(), 2u);
    EXPECT_EQ(watcher.m_tasks[0].m_strSource, strMono);
    EXPECT_EQ(watcher.m_tasks[0].m_nOutChannels, 1);
    EXPECT_EQ(watcher.m_tasks[0].m_nOutRate, 44100);
    EXPECT_DOUBLE_EQ(watcher.m_tasks[0].m_dRateRatio, 1.0);
    EXPECT_EQ(watcher.m_tasks[1].m_strSource, strStereo);
    const Mp3Facts mono = InspectMp3(strOut + "m44.mp3");
    ASSERT_TRUE(mono.opened);
    EXPECT_EQ(mono.channels, 1);
    EXPECT_EQ(List().GetItemCount(), 3);
    EXPECT_EQ(Dlg().Totals().fileCount, 3);
}

TEST_F(MainWindowTest, NothingToConvertOpensNoProgressWindow)
{
    OpenWindow();
    CProgressWatcher watcher;
    watcher.Arm();
    PressKey(Qt::Key_F3);  // empty list

    Load({WriteText("bad.flac"), WriteFlac("ok.flac", 44100, 2, 16, 4410)});
    Select({"bad.flac"});
    PressKey(Qt::Key_F3, Qt::ShiftModifier);  // only an invalid entry selected

    // A double click in the list with nothing selected converts nothing.
    List().SetAllItemStates(RC_ITEM_ALL, RC_ITEM_UNSELECTED);
    const QPoint below(10, List().viewport()->height() - 5);
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, below);
    PumpEventsFor(100);
    EXPECT_EQ(watcher.m_nRuns, 0);

    // With a row selected it converts that row.
    Select({"ok.flac"});
    const QRect cell = List().visualRect(List().model()->index(RowOf("ok.flac"), COLUMN_SIZE));
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_TRUE(PumpEventsUntil([&] { return watcher.m_nRuns == 1; }, 10000));
    ASSERT_EQ(watcher.m_tasks.size(), 1u);
    EXPECT_EQ(fs::path(watcher.m_tasks[0].m_strSource).filename(), "ok.flac");
}
