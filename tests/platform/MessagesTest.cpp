#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Messages.h"
#include "platform/Tick.h"

namespace {

// Counts live payloads so tests can see that every one is freed.
struct CountedPayload : CMessagePayload
{
    static inline std::atomic<int> s_nLive{0};
    explicit CountedPayload(int nValue) : nValue(nValue) { ++s_nLive; }
    ~CountedPayload() override { --s_nLive; }
    int nValue;
};

TEST(MessageQueue, PostedMessagesArriveInOrderWithTheirPayloads)
{
    CMessageQueue queue;
    for (int i = 0; i < 3; ++i)
        queue.Post(CMessage(WM_CONV_LOG, std::make_unique<CountedPayload>(i)));
    std::vector<int> values;
    queue.DispatchPending([&](CMessage& msg) {
        EXPECT_EQ(msg.Id(), WM_CONV_LOG);
        values.push_back(msg.Payload<CountedPayload>()->nValue);
    });
    EXPECT_EQ(values, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(CountedPayload::s_nLive.load(), 0);
}

TEST(MessageQueue, ClosingFreesQueuedAndLaterPayloads)
{
    CMessageQueue queue;
    queue.Post(CMessage(WM_CONV_PROGRESS, std::make_unique<CountedPayload>(1)));
    EXPECT_EQ(CountedPayload::s_nLive.load(), 1);
    queue.Close();
    EXPECT_EQ(CountedPayload::s_nLive.load(), 0);
    queue.Post(CMessage(WM_CONV_PROGRESS, std::make_unique<CountedPayload>(2)));
    EXPECT_EQ(CountedPayload::s_nLive.load(), 0);
    EXPECT_EQ(queue.DispatchPending([](CMessage&) { FAIL(); }), 0u);
}

TEST(MessageQueue, SendWaitsUntilHandled)
{
    CMessageQueue queue;
    std::atomic<bool> bHandled{false};
    std::atomic<bool> bSendReturned{false};
    std::thread sender([&] {
        EXPECT_TRUE(queue.Send(CMessage(WM_CONV_PROGRESS)));
        EXPECT_TRUE(bHandled.load());
        bSendReturned = true;
    });
    SleepMs(30);
    EXPECT_FALSE(bSendReturned.load());
    while (queue.WaitAndDispatch([&](CMessage&) { bHandled = true; }, 1000) == 0) {
    }
    sender.join();
    EXPECT_TRUE(bSendReturned.load());
}

TEST(MessageQueue, SendGivesUpWhenStoppedOrDropped)
{
    CMessageQueue queue;
    std::atomic<int32_t> bRunning{1};
    std::thread sender([&] { EXPECT_FALSE(queue.Send(CMessage(WM_CONV_PROGRESS), &bRunning)); });
    SleepMs(20);
    bRunning = 0;
    sender.join();

    // A message dropped by a closing queue releases its sender too.
    std::thread sender2([&] { EXPECT_TRUE(queue.Send(CMessage(WM_CONV_PROGRESS))); });
    SleepMs(20);
    queue.Close();
    sender2.join();
}

}  // namespace
