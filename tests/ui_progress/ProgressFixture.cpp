#include "tests/ui_progress/ProgressFixture.h"

#include <QAbstractButton>
#include <QProgressBar>
#include <algorithm>
#include <filesystem>

#include "batch/TaskMaker.h"
#include "settings/ConversionSettings.h"
#include "tests/support/FlacFixture.h"
#include "tests/support_qt/QtTestApp.h"
#include "ui/controls/ReportCtrl.h"

namespace fs = std::filesystem;

ProgressWindowTest::ProgressWindowTest()
{
    TestApplication();
    g_pDecodedRing = &m_decoded;
    g_pProcessedRing = &m_processed;
    g_settings = ConversionSettings{};
    g_settings.outputFolder = (m_home.Path() / "out").string() + "/";
    m_fnPreviousOpener =
        CConvProg::SetFolderOpener([this](const std::string& strFolder) { m_openedFolders.push_back(strFolder); });
}

ProgressWindowTest::~ProgressWindowTest()
{
    CConvProg::SetFolderOpener(std::move(m_fnPreviousOpener));
    g_pDecodedRing = nullptr;
    g_pProcessedRing = nullptr;
}

std::string ProgressWindowTest::MakeFlac(const std::string& strName, uint32_t nFrames)
{
    const fs::path folder = m_home.Path() / "src";
    fs::create_directories(folder);
    FlacFixtureShape shape;
    shape.samples = MakeSine(nFrames, 2, 16, 44100, 440.0, 0.5);
    EXPECT_TRUE(WriteFlacFixture((folder / strName).string(), shape));
    return (folder / strName).string();
}

void ProgressWindowTest::AddTask(CConvProg& dlg, const std::string& strSource, uint32_t nFrames)
{
    AudioFileInfo info;
    info.sampleRate = 44100;
    info.channels = 2;
    info.bitsPerSample = 16;
    info.interleavedSamples = uint64_t{nFrames} * 2;
    const fs::path source(strSource);
    AddConversionTask(dlg, MakeConversionTask(source.parent_path().string() + "/", source.filename().string(), info));
}

void ProgressWindowTest::Start(CConvProg& dlg)
{
    dlg.Create();
    dlg.show();
}

void ProgressWindowTest::Click(CConvProg& dlg, int nId)
{
    auto* pButton = dlg.GetDlgItemAs<QAbstractButton>(nId);
    ASSERT_NE(pButton, nullptr);
    pButton->click();
}

std::string ProgressWindowTest::Text(const CConvProg& dlg, int nId)
{
    return dlg.GetDlgItemText(nId).toStdString();
}

bool ProgressWindowTest::IsEnabled(const CConvProg& dlg, int nId)
{
    return dlg.GetDlgItem(nId)->isEnabled();
}

int ProgressWindowTest::BarValue(const CConvProg& dlg, int nId)
{
    return dlg.GetDlgItemAs<QProgressBar>(nId)->value();
}

std::vector<std::string> ProgressWindowTest::LogTexts(const CConvProg& dlg)
{
    std::vector<std::string> texts;
    const CReportCtrl& list = dlg.LogList();
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow)
        texts.push_back(list.GetItemText(nRow, CConvLog::kDescriptionColumn).toStdString());
    return texts;
}

bool ProgressWindowTest::Logged(const CConvProg& dlg, const std::string& strText)
{
    const std::vector<std::string> texts = LogTexts(dlg);
    return std::find(texts.begin(), texts.end(), strText) != texts.end();
}

bool ProgressWindowTest::WaitFinished(const CConvProg& dlg, uint32_t nTimeoutMs)
{
    return PumpEventsUntil([&] { return dlg.windowTitle() == QStringLiteral("Finished Converting"); }, nTimeoutMs);
}

bool ProgressWindowTest::WaitThreadsEnded(CConvProg& dlg, uint32_t nTimeoutMs)
{
    return PumpEventsUntil(
        [&] {
            for (CThreadSlot* pSlot : {&dlg.m_pBatchThread, &dlg.m_pEffectsThread, &dlg.m_pEncoderThread})
                if (const auto pThread = pSlot->Get(); pThread && !pThread->HasEnded())
                    return false;
            return true;
        },
        nTimeoutMs);
}
