// Real batches in the progress window: the engine converts FLAC sources made
// by the tests with the encoder library next to the test program.
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "engine/Stages.h"
#include "resources/Resource.h"
#include "settings/ConversionSettings.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/support_qt/ScriptedMessageBoxes.h"
#include "tests/ui_progress/ProgressFixture.h"
#include "ui/controls/ReportCtrl.h"

namespace fs = std::filesystem;

namespace {

using ConvProgBatchTest = ProgressWindowTest;

constexpr uint32_t kLongFrames = 44100 * 20;

size_t CountLogged(const CConvProg& dlg, const std::string& strText)
{
    const std::vector<std::string> texts = ProgressWindowTest::LogTexts(dlg);
    return static_cast<size_t>(std::count(texts.begin(), texts.end(), strText));
}

int LastLineNumber(const CConvProg& dlg)
{
    const CReportCtrl& list = dlg.LogList();
    return list.GetItemText(list.GetItemCount() - 1, CConvLog::kNumberColumn).toInt();
}

TEST_F(ConvProgBatchTest, AFinishedBatchOffersOpenDirAndFinish)
{
    const std::string strA = MakeFlac("a.flac");
    const std::string strB = MakeFlac("b.flac");
    CConvProg dlg;
    AddTask(dlg, strA);
    AddTask(dlg, strB);

    // Open Dir, then Finish, once the window shows the finished state.
    QTimer poll;
    poll.callOnTimeout([&] {
        if (dlg.windowTitle() != QStringLiteral("Finished Converting"))
            return;
        poll.stop();
        Click(dlg, IDC_PAUSE);
        Click(dlg, IDC_CANCEL);
    });
    poll.start(20);
    QTimer::singleShot(120000, &dlg, [&] { dlg.EndDialog(-1); });  // never hang the test program
    CScriptedMessageBoxes boxes;
    EXPECT_EQ(dlg.DoModal(), 0);

    EXPECT_TRUE(boxes.Asked().empty());
    EXPECT_EQ(m_openedFolders, std::vector<std::string>{g_settings.outputFolder});
    EXPECT_EQ(g_pConvProg, &dlg);
    EXPECT_EQ(Text(dlg, IDC_CURRENT_DONE), "100.00%");
    EXPECT_EQ(Text(dlg, IDC_OVERALL_DONE), "100.00%");
    EXPECT_EQ(BarValue(dlg, IDC_CURRENT_BAR), 100);
    EXPECT_EQ(BarValue(dlg, IDC_OVERALL_BAR), 100);
    EXPECT_EQ(Text(dlg, IDC_CURRENT_ETA), "00:00:00");
    EXPECT_EQ(Text(dlg, IDC_OVERALL_ETA), "00:00:00");
    EXPECT_EQ(Text(dlg, IDC_PAUSE), "Open Dir");
    EXPECT_TRUE(IsEnabled(dlg, IDC_PAUSE));
    EXPECT_EQ(Text(dlg, IDC_CANCEL), "Finish");
    EXPECT_EQ(Text(dlg, IDC_SOURCE), strB);
    EXPECT_EQ(Text(dlg, IDC_DESTINATION), g_settings.outputFolder + "b.mp3");

    EXPECT_EQ(CountLogged(dlg, "Converting status: OK."), 2u);
    const std::vector<std::string> lines = LogTexts(dlg);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), "Finished converting, all done");
    EXPECT_EQ(lines[lines.size() - 2].rfind("Total time elapsed ", 0), 0u);
    const CReportCtrl& list = dlg.LogList();
    EXPECT_EQ(list.GetItemTextColor(list.GetItemCount() - 1, CConvLog::kDescriptionColumn), QColor(0, 0, 255));
    EXPECT_GT(fs::file_size(g_settings.outputFolder + "a.mp3"), 1000u);
    EXPECT_GT(fs::file_size(g_settings.outputFolder + "b.mp3"), 1000u);
}

TEST_F(ConvProgBatchTest, PauseHoldsTheEncoderWhileTheLogColumnKeepsFitting)
{
    CConvProg dlg;
    AddTask(dlg, MakeFlac("long.flac", kLongFrames), kLongFrames);
    Start(dlg);
    Click(dlg, IDC_PAUSE);
    ASSERT_EQ(Text(dlg, IDC_PAUSE), "Resume");
    ASSERT_EQ(dlg.m_bPaused.load(), 1);

    // At most the chunk in hand when the pause came is counted after it.
    PumpEventsFor(700);
    const uint64_t nHeld = dlg.m_nCurrentDone.load();
    PumpEventsFor(1500);
    EXPECT_EQ(dlg.m_nCurrentDone.load(), nHeld);
    EXPECT_LT(nHeld, dlg.m_arrTasks[0].m_nTotalSamples);

    // The log's text column follows the longest line once a second.
    CReportCtrl& list = dlg.LogList();
    const QString strLong(260, QChar(u'W'));
    dlg.AddLogLine(strLong, LOG_WARNING);
    EXPECT_TRUE(PumpEventsUntil(
        [&] {
            return list.GetColumnWidth(CConvLog::kDescriptionColumn) >= list.fontMetrics().horizontalAdvance(strLong);
        },
        5000));

    Click(dlg, IDC_PAUSE);
    EXPECT_EQ(Text(dlg, IDC_PAUSE), "Pause");
    ASSERT_TRUE(WaitFinished(dlg, 120000));
    EXPECT_GT(dlg.m_nCurrentDone.load(), nHeld);
    EXPECT_EQ(CountLogged(dlg, "Converting status: OK."), 1u);

    // After the batch the column keeps its width.
    const int nWidth = list.GetColumnWidth(CConvLog::kDescriptionColumn);
    dlg.OnClearLog();
    PumpEventsFor(2500);
    EXPECT_EQ(list.GetColumnWidth(CConvLog::kDescriptionColumn), nWidth);
}

TEST_F(ConvProgBatchTest, CancelAnsweredNoLetsTheBatchRunOn)
{
    CScriptedMessageBoxes boxes;
    boxes.PushAnswer(IDNO);
    boxes.PushAnswer(IDNO);
    CConvProg dlg;
    AddTask(dlg, MakeFlac("on.flac"));
    Start(dlg);

    Click(dlg, IDC_CANCEL);
    ASSERT_EQ(boxes.Asked().size(), 1u);
    EXPECT_EQ(boxes.Asked()[0].strText, "Do You Want to Cancel?");
    EXPECT_EQ(boxes.Asked()[0].nType & 0xF, unsigned{MB_YESNO});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.m_bRunning.load(), 1);
    EXPECT_EQ(dlg.m_bPaused.load(), 0);

    // A pause made before the question stays, as its button says.
    Click(dlg, IDC_PAUSE);
    Click(dlg, IDC_CANCEL);
    EXPECT_EQ(boxes.Asked().size(), 2u);
    EXPECT_EQ(dlg.m_bPaused.load(), 1);
    EXPECT_EQ(Text(dlg, IDC_PAUSE), "Resume");

    Click(dlg, IDC_PAUSE);
    ASSERT_TRUE(WaitFinished(dlg));
    EXPECT_EQ(CountLogged(dlg, "Converting status: OK."), 1u);
    EXPECT_TRUE(fs::exists(g_settings.outputFolder + "on.mp3"));
}

TEST_F(ConvProgBatchTest, CancelAnsweredYesStopsEveryThreadAndClosesTheWindow)
{
    CScriptedMessageBoxes boxes;
    boxes.PushAnswer(IDYES);
    CConvProg dlg;
    AddTask(dlg, MakeFlac("stop.flac", kLongFrames), kLongFrames);
    AddTask(dlg, MakeFlac("never.flac"));
    Start(dlg);
    ASSERT_TRUE(PumpEventsUntil([&] { return dlg.m_nCurrentDone.load() > 0; }, 60000));

    Click(dlg, IDC_CANCEL);
    EXPECT_EQ(boxes.Asked().size(), 1u);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);
    EXPECT_EQ(dlg.m_bRunning.load(), 0);
    EXPECT_FALSE(IsEnabled(dlg, IDC_PAUSE));
    EXPECT_FALSE(IsEnabled(dlg, IDC_CANCEL));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Aborting, Please Wait..."));
    EXPECT_TRUE(WaitThreadsEnded(dlg));
    PumpEventsFor(200);
    EXPECT_EQ(CountLogged(dlg, "Start a new converting task."), 1u);
    EXPECT_FALSE(Logged(dlg, "Finished converting, all done"));
    EXPECT_FALSE(fs::exists(g_settings.outputFolder + "never.mp3"));
}

TEST_F(ConvProgBatchTest, CancelWhileTheEncoderSendsItsFinalReport)
{
    CScriptedMessageBoxes boxes;
    boxes.PushAnswer(IDYES);
    constexpr uint32_t kFrames = 44100 * 5;
    CConvProg dlg;
    AddTask(dlg, MakeFlac("final.flac", kFrames), kFrames);
    Start(dlg);
    // The batch thread shows the paths through this thread; then the file runs.
    ASSERT_TRUE(PumpEventsUntil([&] { return dlg.m_nCurrentDone.load() > 0; }, 60000));

    // Without events handled here, the encoder's final report waits for us.
    const uint64_t nTotal = dlg.m_arrTasks[0].m_nTotalSamples;
    const auto tGiveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (dlg.m_nCurrentDone.load() < nTotal && std::chrono::steady_clock::now() < tGiveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(dlg.m_nCurrentDone.load(), nTotal);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto pEncoder = dlg.m_pEncoderThread.Get();
    ASSERT_TRUE(pEncoder && !pEncoder->HasEnded());

    Click(dlg, IDC_CANCEL);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(WaitThreadsEnded(dlg));
}

TEST_F(ConvProgBatchTest, ClosingWhileAWorkerWaitsForAMessageBoxEndsEveryThread)
{
    CScriptedMessageBoxes boxes;
    SetEncoderLibraryPath((m_home.Path() / "nowhere" / "liblame_enc.so").string());
    auto pDlg = std::make_unique<CConvProg>();
    AddTask(*pDlg, MakeFlac("boxed.flac", kLongFrames), kLongFrames);
    Start(*pDlg);
    // The paths are the batch thread's last wait for this thread.
    const std::string strDest = g_settings.outputFolder + "boxed.mp3";
    ASSERT_TRUE(PumpEventsUntil([&] { return Text(*pDlg, IDC_DESTINATION) == strDest; }, 60000));

    // Without events handled here, the encoder's failure box stays pending.
    const auto tGiveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!pDlg->m_pEncoderThread.Get() && std::chrono::steady_clock::now() < tGiveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto pEncoder = pDlg->m_pEncoderThread.Get();
    ASSERT_TRUE(pEncoder && !pEncoder->HasEnded());
    ASSERT_TRUE(boxes.Asked().empty());

    const auto pBatch = pDlg->m_pBatchThread.Get();
    pDlg.reset();
    SetEncoderLibraryPath("");
    EXPECT_TRUE(pBatch->HasEnded());
    EXPECT_TRUE(pEncoder->HasEnded());
    ASSERT_EQ(boxes.Asked().size(), 1u);
    EXPECT_EQ(boxes.Asked()[0].strText, "Error Loading liblame_enc.so");
}

TEST_F(ConvProgBatchTest, AFailedFileLeavesTheStoppedStateWhereCancelClosesWithoutAsking)
{
    CScriptedMessageBoxes boxes;
    const std::string strGood = MakeFlac("good.flac");
    CConvProg dlg;
    AddTask(dlg, (m_home.Path() / "src" / "missing.flac").string());
    AddTask(dlg, strGood);
    Start(dlg);
    ASSERT_TRUE(PumpEventsUntil(
        [&] { return Logged(dlg, "Converting status: ERROR.") && dlg.m_pBatchThread.Get()->HasEnded(); }, 60000));
    PumpEventsFor(200);

    EXPECT_EQ(dlg.m_bRunning.load(), 0);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Converting 1/2"));
    EXPECT_EQ(Text(dlg, IDC_PAUSE), "Pause");
    EXPECT_EQ(Text(dlg, IDC_CANCEL), "Cancel");
    EXPECT_EQ(CountLogged(dlg, "Start a new converting task."), 1u);
    const CReportCtrl& list = dlg.LogList();
    EXPECT_EQ(list.GetItemTextColor(list.GetItemCount() - 1, CConvLog::kDescriptionColumn), QColor(255, 0, 0));

    Click(dlg, IDC_PAUSE);  // the stopped window's Pause opens the output folder
    EXPECT_EQ(m_openedFolders, std::vector<std::string>{g_settings.outputFolder});
    Click(dlg, IDC_CANCEL);
    EXPECT_TRUE(boxes.Asked().empty());
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(fs::exists(g_settings.outputFolder + "good.mp3"));
}

TEST_F(ConvProgBatchTest, ASecondBatchContinuesTheLogNumbering)
{
    int nLast = 0;
    {
        CConvProg first;
        AddTask(first, MakeFlac("one.flac"));
        Start(first);
        ASSERT_TRUE(WaitFinished(first));
        nLast = LastLineNumber(first);
        Click(first, IDC_CANCEL);
    }
    CConvProg second;
    AddTask(second, MakeFlac("two.flac"));
    Start(second);
    ASSERT_TRUE(WaitFinished(second));
    EXPECT_EQ(second.LogList().GetItemText(0, CConvLog::kNumberColumn).toInt(), nLast + 1);
    EXPECT_EQ(LastLineNumber(second), nLast + second.LogList().GetItemCount());
}

}  // namespace
