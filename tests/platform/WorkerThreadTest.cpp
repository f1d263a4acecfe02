#include <gtest/gtest.h>

#include <atomic>

#include "platform/Tick.h"
#include "platform/WorkerThread.h"

namespace {

TEST(WorkerThread, RunsOnlyAfterResumeAndReportsItsEnd)
{
    std::atomic<int> nRuns{0};
    auto pThread = CWorkerThread::CreateSuspended([&] { ++nRuns; });
    SleepMs(20);
    EXPECT_EQ(nRuns.load(), 0);
    pThread->Resume();
    pThread->Resume();
    EXPECT_TRUE(pThread->Wait(5000));
    EXPECT_TRUE(pThread->HasEnded());
    EXPECT_EQ(nRuns.load(), 1);
}

TEST(WorkerThread, BoundedWaitReportsARunningThreadThatKeepsItsObject)
{
    auto pbStop = std::make_shared<std::atomic<bool>>(false);
    std::weak_ptr<CWorkerThread> pWeak;
    {
        auto pThread = CWorkerThread::CreateSuspended([pbStop] {
            while (!pbStop->load())
                SleepMs(1);
        });
        pWeak = pThread;
        pThread->Resume();
        EXPECT_FALSE(pThread->Wait(20));
    }
    // The caller let go; the running thread still holds its object.
    EXPECT_FALSE(pWeak.expired());
    *pbStop = true;
    for (int i = 0; i < 5000 && !pWeak.expired(); ++i)
        SleepMs(1);
    EXPECT_TRUE(pWeak.expired());
}

TEST(Tick, CountsMilliseconds)
{
    const uint32_t dwStart = GetTickCount();
    SleepMs(50);
    const uint32_t dwElapsed = GetTickCount() - dwStart;
    EXPECT_GE(dwElapsed, 50u);
}

}  // namespace
