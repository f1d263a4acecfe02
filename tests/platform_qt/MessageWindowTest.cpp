#include <gtest/gtest.h>

#include <QThread>
#include <QWidget>
#include <atomic>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "platform/Tick.h"
#include "platform/qt/MessageWindow.h"
#include "tests/support_qt/QtTestApp.h"

namespace {

struct CountedPayload : CMessagePayload
{
    static inline std::atomic<int> s_nLive{0};
    CountedPayload(int nSenderValue, int nValue) : nSender(nSenderValue), nSeq(nValue) { ++s_nLive; }
    ~CountedPayload() override { --s_nLive; }
    int nSender;
    int nSeq;
};

CMessage Counted(int nSender, int nSeq)
{
    return CMessage(WM_CONV_LOG, std::make_unique<CountedPayload>(nSender, nSeq));
}

class CTestWindow : public QWidget, public CMessageWindow
{
public:
    struct Received
    {
        uint32_t nId;
        int nSender;
        int nSeq;
        bool bOnUiThread;
    };

    std::vector<Received> received;
    std::map<int, int> timerCounts;
    std::vector<int> timerOrder;

protected:
    void OnMessage(CMessage& msg) override
    {
        const auto* pPayload = msg.Payload<CountedPayload>();
        received.push_back({msg.Id(), pPayload ? pPayload->nSender : -1, pPayload ? pPayload->nSeq : -1,
                            QThread::currentThread() == TestApplication().thread()});
    }
    void OnTimer(int nId) override
    {
        ++timerCounts[nId];
        timerOrder.push_back(nId);
    }
};

class MessageWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestApplication();
        CountedPayload::s_nLive = 0;
    }
    void TearDown() override { EXPECT_EQ(CountedPayload::s_nLive.load(), 0); }
};

TEST_F(MessageWindowTest, PostsFromWorkersArriveInOrderOnTheWindowsThread)
{
    CTestWindow window;
    constexpr int kSenders = 3;
    constexpr int kPerSender = 200;
    std::vector<std::thread> workers;
    const std::shared_ptr<CMessageTarget> pTarget = window.MessageTarget();
    for (int s = 0; s < kSenders; ++s)
        workers.emplace_back([pTarget, s] {
            for (int i = 0; i < kPerSender; ++i)
                pTarget->Post(Counted(s, i));
        });
    for (std::thread& worker : workers)
        worker.join();
    ASSERT_TRUE(PumpEventsUntil([&] { return window.received.size() == kSenders * kPerSender; }));

    std::vector<int> nextSeq(kSenders, 0);
    for (const CTestWindow::Received& msg : window.received) {
        EXPECT_EQ(msg.nId, WM_CONV_LOG);
        EXPECT_TRUE(msg.bOnUiThread);
        ASSERT_GE(msg.nSender, 0);
        EXPECT_EQ(msg.nSeq, nextSeq[msg.nSender]++);
    }
    EXPECT_EQ(CountedPayload::s_nLive.load(), 0);
}

TEST_F(MessageWindowTest, SendWaitsUntilTheWindowHandledIt)
{
    CTestWindow window;
    std::atomic<bool> bReturned{false};
    std::thread sender([&, pTarget = window.MessageTarget()] {
        EXPECT_TRUE(pTarget->Send(Counted(0, 1)));
        bReturned = true;
    });
    SleepMs(50);
    EXPECT_FALSE(bReturned.load());  // nothing handled without the event loop
    EXPECT_TRUE(window.received.empty());
    ASSERT_TRUE(PumpEventsUntil([&] { return bReturned.load(); }));
    sender.join();
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].nSeq, 1);
}

TEST_F(MessageWindowTest, SendGivesUpWhenKeepWaitingClears)
{
    CTestWindow window;
    std::atomic<int32_t> bRunning{1};
    std::atomic<bool> bReturned{false};
    std::thread sender([&, pTarget = window.MessageTarget()] {
        EXPECT_FALSE(pTarget->Send(Counted(0, 1), &bRunning));
        bReturned = true;
    });
    SleepMs(20);
    bRunning = 0;
    sender.join();
    EXPECT_TRUE(bReturned.load());
    // The message is still queued; the window handles (and frees) it later.
    ASSERT_TRUE(PumpEventsUntil([&] { return window.received.size() == 1; }));
}

TEST_F(MessageWindowTest, DestroyingTheWindowFreesQueuedAndLaterMessages)
{
    auto pWindow = std::make_unique<CTestWindow>();
    const std::shared_ptr<CMessageTarget> pTarget = pWindow->MessageTarget();
    pTarget->Post(Counted(0, 1));
    pTarget->Post(Counted(0, 2));
    EXPECT_EQ(CountedPayload::s_nLive.load(), 2);
    pWindow.reset();
    EXPECT_EQ(CountedPayload::s_nLive.load(), 0);

    std::thread late([pTarget] {
        pTarget->Post(Counted(0, 3));
        EXPECT_TRUE(pTarget->Send(Counted(0, 4)));  // returns at once: nobody is there
    });
    late.join();
    EXPECT_EQ(CountedPayload::s_nLive.load(), 0);
    PumpEventsFor(20);
}

TEST_F(MessageWindowTest, SendToAWindowDestroyedMeanwhileReturns)
{
    auto pWindow = std::make_unique<CTestWindow>();
    std::atomic<bool> bReturned{false};
    std::thread sender([&, pTarget = pWindow->MessageTarget()] {
        pTarget->Send(Counted(0, 1));
        bReturned = true;
    });
    SleepMs(30);
    EXPECT_FALSE(bReturned.load());
    pWindow.reset();  // on the window's thread, without handling the message
    sender.join();
    EXPECT_TRUE(bReturned.load());
}

TEST_F(MessageWindowTest, PostsRacingTheWindowsDestructionNeverLeak)
{
    for (int nRound = 0; nRound < 20; ++nRound) {
        auto pWindow = std::make_unique<CTestWindow>();
        std::atomic<bool> bStop{false};
        std::thread poster([&, pTarget = pWindow->MessageTarget()] {
            for (int i = 0; !bStop.load(); ++i)
                pTarget->Post(Counted(0, i));
        });
        PumpEventsFor(2);
        pWindow.reset();
        bStop = true;
        poster.join();
        EXPECT_EQ(CountedPayload::s_nLive.load(), 0);
    }
}

TEST_F(MessageWindowTest, RunOnWindowThreadRunsThereAndWaits)
{
    CTestWindow window;
    EXPECT_TRUE(window.IsWindowThread());
    bool bDirect = false;
    EXPECT_TRUE(window.RunOnWindowThread([&] { bDirect = true; }));
    EXPECT_TRUE(bDirect);

    std::atomic<bool> bRanOnUiThread{false};
    std::atomic<bool> bReturned{false};
    std::thread worker([&] {
        EXPECT_FALSE(window.IsWindowThread());
        EXPECT_TRUE(window.RunOnWindowThread(
            [&] { bRanOnUiThread = QThread::currentThread() == TestApplication().thread(); }));
        EXPECT_TRUE(bRanOnUiThread.load());
        bReturned = true;
    });
    ASSERT_TRUE(PumpEventsUntil([&] { return bReturned.load(); }));
    worker.join();
    EXPECT_TRUE(window.received.empty());  // calls are not messages
}

TEST_F(MessageWindowTest, TimersFireByIdUntilKilled)
{
    CTestWindow window;
    window.SetTimer(1, 5);
    window.SetTimer(2, 40);
    ASSERT_TRUE(PumpEventsUntil([&] { return window.timerCounts[2] >= 2; }));
    EXPECT_GT(window.timerCounts[1], window.timerCounts[2]);

    window.KillTimer(1);
    window.KillTimer(2);
    window.KillTimer(3);  // never started: nothing happens
    const std::map<int, int> countsAtKill = window.timerCounts;
    PumpEventsFor(60);
    EXPECT_EQ(window.timerCounts, countsAtKill);

    // Setting a running timer again restarts it with the new interval.
    window.SetTimer(7, 1000);
    window.SetTimer(7, 5);
    EXPECT_TRUE(PumpEventsUntil([&] { return window.timerCounts[7] >= 3; }, 2000));
    window.KillTimer(7);
}

TEST_F(MessageWindowTest, TimersCanBeSetAndKilledFromAWorker)
{
    CTestWindow window;
    std::thread([&] { window.SetTimer(4, 5); }).join();
    ASSERT_TRUE(PumpEventsUntil([&] { return window.timerCounts[4] >= 2; }));
    std::thread([&] { window.KillTimer(4); }).join();
    PumpEventsFor(20);  // the kill arrives
    const int nCount = window.timerCounts[4];
    PumpEventsFor(50);
    EXPECT_EQ(window.timerCounts[4], nCount);
}

}  // namespace
