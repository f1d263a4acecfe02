// The progress window's displays, keys, layout and placement, and the
// handling of its messages. A window made with Create() has started its batch
// thread, but nothing reaches the window until the test pumps events, so
// handlers called directly see a running batch.
#include <QTest>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <memory>
#include <thread>

#include "batch/ProgressText.h"
#include "platform/Tick.h"
#include "resources/Resource.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/support_qt/ScriptedMessageBoxes.h"
#include "tests/ui_progress/ProgressFixture.h"
#include "ui/controls/ReportCtrl.h"

namespace {

using ConvProgDisplayTest = ProgressWindowTest;

TEST_F(ConvProgDisplayTest, PercentagesAreCappedAndBarsTruncated)
{
    struct Case
    {
        float fCurrent, fOverall;
        const char* pszCurrent;
        const char* pszOverall;
        int nCurrentBar, nOverallBar;
    };
    const Case cases[] = {
        {104.7f, 100.2f, "100.00%", "100.00%", 100, 100},
        {0.0f, 0.0f, " 0.00%", " 0.00%", 0, 0},
        {37.96f, 12.5f, "37.96%", "12.50%", 37, 12},
        {99.999f, 5.0f, "100.00%", " 5.00%", 99, 5},
    };
    CConvProg dlg;
    dlg.Create();
    for (const Case& c : cases) {
        dlg.OnProgress(c.fCurrent, c.fOverall);
        EXPECT_EQ(Text(dlg, IDC_CURRENT_DONE), c.pszCurrent) << c.fCurrent;
        EXPECT_EQ(Text(dlg, IDC_OVERALL_DONE), c.pszOverall) << c.fOverall;
        EXPECT_EQ(BarValue(dlg, IDC_CURRENT_BAR), c.nCurrentBar) << c.fCurrent;
        EXPECT_EQ(BarValue(dlg, IDC_OVERALL_BAR), c.nOverallBar) << c.fOverall;
    }
}

TEST_F(ConvProgDisplayTest, TimesAndSpeedsFollowEveryTenthMessage)
{
    CConvProg dlg;
    dlg.Create();
    const uint32_t dwNow = GetTickCount();
    dlg.m_dwFileStart = dwNow - 10000;
    dlg.m_dwBatchStart = dwNow - 20000;
    dlg.m_fCurrentSeconds = 20.0f;
    dlg.m_fOverallSeconds = 80.0f;

    // With a different percentage each time, the remaining time changes only
    // at the messages that update the times: one in ten.
    int nEtaChanges = 0;
    std::string strEta = Text(dlg, IDC_CURRENT_ETA);
    for (int i = 1; i <= 20; ++i) {
        dlg.OnProgress(static_cast<float>(i), 50.0f);
        EXPECT_EQ(Text(dlg, IDC_CURRENT_DONE), FormatPercent(static_cast<float>(i)));
        if (Text(dlg, IDC_CURRENT_ETA) != strEta) {
            ++nEtaChanges;
            strEta = Text(dlg, IDC_CURRENT_ETA);
        }
    }
    EXPECT_EQ(nEtaChanges, 2);

    for (int i = 0; i < 10; ++i)
        dlg.OnProgress(25.0f, 50.0f);
    EXPECT_EQ(Text(dlg, IDC_CURRENT_ELAPSED), "00:00:10");
    EXPECT_EQ(Text(dlg, IDC_CURRENT_ETA), "00:00:30");
    EXPECT_EQ(Text(dlg, IDC_OVERALL_ELAPSED), "00:00:20");
    EXPECT_EQ(Text(dlg, IDC_OVERALL_ETA), "00:00:20");
    const std::string strCurrentSpeed = Text(dlg, IDC_CURRENT_SPEED);
    const std::string strOverallSpeed = Text(dlg, IDC_OVERALL_SPEED);
    ASSERT_EQ(strCurrentSpeed.back(), 'x');
    EXPECT_NEAR(std::atof(strCurrentSpeed.c_str()), 2.0, 0.1) << strCurrentSpeed;
    EXPECT_NEAR(std::atof(strOverallSpeed.c_str()), 4.0, 0.1) << strOverallSpeed;
}

TEST_F(ConvProgDisplayTest, ProgressIsIgnoredOnceTheBatchHasStopped)
{
    CConvProg dlg;
    dlg.Create();
    dlg.OnProgress(40.0f, 20.0f);
    dlg.m_bRunning = 0;
    dlg.OnProgress(60.0f, 30.0f);
    EXPECT_EQ(Text(dlg, IDC_CURRENT_DONE), "40.00%");
    EXPECT_EQ(BarValue(dlg, IDC_OVERALL_BAR), 20);
}

TEST_F(ConvProgDisplayTest, EscapeAndEnterDoNothingAndTheCloseBoxAsksLikeCancel)
{
    CScriptedMessageBoxes boxes;
    boxes.PushAnswer(IDNO);
    CConvProg dlg;
    Start(dlg);

    for (QWidget* pTarget : {static_cast<QWidget*>(&dlg), dlg.GetDlgItem(IDC_CANCEL), dlg.GetDlgItem(IDC_PAUSE)}) {
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(pTarget, key);
    }
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(boxes.Asked().empty());
    EXPECT_EQ(Text(dlg, IDC_PAUSE), "Pause");

    dlg.close();
    ASSERT_EQ(boxes.Asked().size(), 1u);
    EXPECT_EQ(boxes.Asked()[0].strText, "Do You Want to Cancel?");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.m_bRunning.load(), 1);
}

TEST_F(ConvProgDisplayTest, ResizingFollowsTheAnchors)
{
    CConvProg dlg;
    Start(dlg);
    const auto geometryOf = [&](int nId) { return dlg.GetDlgItem(nId)->geometry(); };
    const int nIds[] = {IDC_LOG, IDC_CANCEL, IDC_CLEAR, IDC_CURRENT_GROUP, IDC_CURRENT_BAR, IDC_SOURCE,
                        IDC_CURRENT_DONE, IDC_OVERALL_ETA_LABEL};
    std::map<int, QRect> before;
    for (int nId : nIds)
        before[nId] = geometryOf(nId);
    const QSize oldSize = dlg.size();

    dlg.resize(oldSize + QSize(200, 100));
    ASSERT_TRUE(PumpEventsUntil([&] { return geometryOf(IDC_LOG).width() == before[IDC_LOG].width() + 200; }));

    const auto centreFraction = [](const QRect& r, int nWidth) { return (r.left() + r.right() + 1) * 0.5 / nWidth; };
    EXPECT_EQ(geometryOf(IDC_LOG).height(), before[IDC_LOG].height() + 100);
    EXPECT_EQ(geometryOf(IDC_LOG).topLeft(), before[IDC_LOG].topLeft());
    for (int nId : {IDC_CURRENT_GROUP, IDC_CURRENT_BAR, IDC_SOURCE}) {
        EXPECT_EQ(geometryOf(nId).width(), before[nId].width() + 200) << nId;
        EXPECT_EQ(geometryOf(nId).top(), before[nId].top()) << nId;
    }
    for (int nId : {IDC_CANCEL, IDC_CLEAR, IDC_CURRENT_DONE, IDC_OVERALL_ETA_LABEL}) {
        EXPECT_EQ(geometryOf(nId).size(), before[nId].size()) << nId;
        EXPECT_NEAR(centreFraction(geometryOf(nId), dlg.width()), centreFraction(before[nId], oldSize.width()),
                    1.0 / oldSize.width())
            << nId;
    }
    EXPECT_EQ(geometryOf(IDC_CANCEL).top(), before[IDC_CANCEL].top() + 100);
    EXPECT_EQ(geometryOf(IDC_CURRENT_DONE).top(), before[IDC_CURRENT_DONE].top());
}

TEST_F(ConvProgDisplayTest, ThePlacementIsSavedOnCloseAndRestoredByTheNextWindow)
{
    QSize closedSize;
    {
        CConvProg dlg;
        Start(dlg);
        ASSERT_TRUE(WaitFinished(dlg, 10000));  // no tasks: finished at once
        dlg.resize(dlg.size() + QSize(123, 45));
        closedSize = dlg.size();
        Click(dlg, IDC_CANCEL);
        EXPECT_FALSE(dlg.isVisible());
    }
    CConvProg next;
    next.Create();
    EXPECT_EQ(next.size(), closedSize);
}

struct CountedLog : CLogPayload
{
    static inline std::atomic<int> s_nLive{0};
    CountedLog(std::string strLine, int nKind) : CLogPayload(std::move(strLine), nKind) { ++s_nLive; }
    ~CountedLog() override { --s_nLive; }
};

struct CountedProgress : CProgressPayload
{
    static inline std::atomic<int> s_nLive{0};
    CountedProgress(float fCurrent, float fOverall) : CProgressPayload(fCurrent, fOverall) { ++s_nLive; }
    ~CountedProgress() override { --s_nLive; }
};

void PostCounted(CMessageTarget& target, int nFirst, int nCount)
{
    for (int i = nFirst; i < nFirst + nCount; ++i) {
        target.Post(CMessage(WM_CONV_LOG, std::make_unique<CountedLog>("line " + std::to_string(i), LOG_INFO)));
        target.Post(CMessage(WM_CONV_PROGRESS, std::make_unique<CountedProgress>(1.0f, 1.0f)));
    }
}

TEST_F(ConvProgDisplayTest, EveryPayloadIsFreedHandledQueuedOrLate)
{
    auto pDlg = std::make_unique<CConvProg>();
    pDlg->Create();
    const std::shared_ptr<CMessageTarget> pTarget = static_cast<CMessageWindow&>(*pDlg).MessageTarget();

    // Lines from a worker arrive in posting order.
    std::thread worker([&] { PostCounted(*pTarget, 0, 50); });
    worker.join();
    ASSERT_TRUE(PumpEventsUntil([&] { return CountedLog::s_nLive == 0 && CountedProgress::s_nLive == 0; }));
    std::vector<std::string> lines = LogTexts(*pDlg);
    lines.erase(std::remove(lines.begin(), lines.end(), "Finished converting, all done"), lines.end());
    ASSERT_EQ(lines.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(lines[i], "line " + std::to_string(i));

    // Progress after the batch stopped is dropped, and freed.
    pDlg->m_bRunning = 0;
    PostCounted(*pTarget, 50, 5);
    EXPECT_TRUE(PumpEventsUntil([&] { return CountedProgress::s_nLive == 0 && CountedLog::s_nLive == 0; }));

    // Queued when the window goes, and posted after it went.
    PostCounted(*pTarget, 55, 5);
    EXPECT_EQ(CountedLog::s_nLive, 5);
    pDlg.reset();
    EXPECT_EQ(CountedLog::s_nLive, 0);
    EXPECT_EQ(CountedProgress::s_nLive, 0);
    PostCounted(*pTarget, 60, 5);
    EXPECT_EQ(CountedLog::s_nLive, 0);
    EXPECT_EQ(CountedProgress::s_nLive, 0);
}

}  // namespace
