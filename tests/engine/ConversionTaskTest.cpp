#include "engine/ConversionTask.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <thread>

#include "engine/ConvRunState.h"

namespace {

TEST(ConversionTask, DefaultTaskHasNoSourceDestinationOrFormat)
{
    const CConversionTask task;
    EXPECT_TRUE(task.m_strSource.empty());
    EXPECT_TRUE(task.m_strDest.empty());
    EXPECT_EQ(task.m_nEntryMark, -1);
    EXPECT_EQ(task.m_nInRate, -1);
    EXPECT_EQ(task.m_nInChannels, -1);
    EXPECT_EQ(task.m_nOutSampleBytes, -1);
    EXPECT_EQ(task.m_nOutRate, -1);
    EXPECT_EQ(task.m_nOutChannels, -1);
    EXPECT_EQ(task.m_nTotalSamples, 0u);
    EXPECT_EQ(task.m_dRateRatio, 0.0);
    EXPECT_EQ(task.m_bUseEffects, 0);
    EXPECT_EQ(task.m_bDecoding.load(), 0);
    EXPECT_EQ(task.m_bEncoding.load(), 0);
    EXPECT_EQ(task.m_bEffecting.load(), 0);
    EXPECT_EQ(task.m_pEncoderInput, nullptr);
    EXPECT_EQ(task.m_pDecodeBuffer, nullptr);
    EXPECT_EQ(task.m_pSourceFile, nullptr);
    EXPECT_EQ(task.m_nBitsPerSample, 0);
}

void ExpectSameMembers(const CConversionTask& a, const CConversionTask& b)
{
    EXPECT_EQ(a.m_strSource, b.m_strSource);
    EXPECT_EQ(a.m_nEntryMark, b.m_nEntryMark);
    EXPECT_EQ(a.m_nInRate, b.m_nInRate);
    EXPECT_EQ(a.m_nInChannels, b.m_nInChannels);
    EXPECT_EQ(a.m_strDest, b.m_strDest);
    EXPECT_EQ(a.m_nOutSampleBytes, b.m_nOutSampleBytes);
    EXPECT_EQ(a.m_nOutRate, b.m_nOutRate);
    EXPECT_EQ(a.m_nOutChannels, b.m_nOutChannels);
    EXPECT_EQ(a.m_nTotalSamples, b.m_nTotalSamples);
    EXPECT_EQ(a.m_dRateRatio, b.m_dRateRatio);
    EXPECT_EQ(a.m_bUseEffects, b.m_bUseEffects);
    EXPECT_EQ(a.m_bDecoding.load(), b.m_bDecoding.load());
    EXPECT_EQ(a.m_bEncoding.load(), b.m_bEncoding.load());
    EXPECT_EQ(a.m_bEffecting.load(), b.m_bEffecting.load());
    EXPECT_EQ(a.m_pEncoderInput, b.m_pEncoderInput);
    EXPECT_EQ(a.m_pDecodeBuffer, b.m_pDecodeBuffer);
    EXPECT_EQ(a.m_pSourceFile, b.m_pSourceFile);
    EXPECT_EQ(a.m_nBitsPerSample, b.m_nBitsPerSample);
}

TEST(ConversionTask, CopyingCopiesEveryMember)
{
    SampleRing ring(4);
    int32_t decodeBuffer[1] = {};
    CConversionTask task;
    task.m_strSource = "/music/a b.flac";
    task.m_nEntryMark = 3;
    task.m_nInRate = 96000;
    task.m_nInChannels = 6;
    task.m_strDest = "/out/a b.mp3";
    task.m_nOutSampleBytes = 2;
    task.m_nOutRate = 44100;
    task.m_nOutChannels = 2;
    task.m_nTotalSamples = 123456789012ull;
    task.m_dRateRatio = 0.153125;
    task.m_bUseEffects = 1;
    task.m_bDecoding = 1;
    task.m_bEncoding = 1;
    task.m_bEffecting = 1;
    task.m_pEncoderInput = &ring;
    task.m_pDecodeBuffer = decodeBuffer;
    task.m_pSourceFile = stdin;
    task.m_nBitsPerSample = 24;

    const CConversionTask copy(task);
    ExpectSameMembers(copy, task);

    CConversionTask assigned;
    assigned = task;
    ExpectSameMembers(assigned, task);

    assigned = static_cast<const CConversionTask&>(assigned);
    ExpectSameMembers(assigned, task);
}

class RunStateTest : public testing::Test
{
protected:
    RunStateTest() { m_state.SetMessageTarget(m_pQueue); }

    CConvRunState m_state;
    std::shared_ptr<CMessageQueue> m_pQueue = std::make_shared<CMessageQueue>();
};

TEST_F(RunStateTest, PostsLogLinesAndProgressInOrder)
{
    m_state.PostLog(LOG_INFO, "Converting speed: %5.2lf%%", 7.0);
    m_state.PostProgress(12.5f, 3.25f, false);
    m_state.PostLog(LOG_ERROR, "state: %s", "ABORTED");
    m_state.PostPlain(WM_CONV_FINISHED);

    std::vector<std::string> seen;
    m_pQueue->DispatchPending([&](CMessage& msg) {
        if (const auto* pLog = msg.Payload<CLogPayload>())
            seen.push_back(std::to_string(msg.Id()) + " " + std::to_string(pLog->nKind) + " " + pLog->strText);
        else if (const auto* pProgress = msg.Payload<CProgressPayload>())
            seen.push_back(std::to_string(msg.Id()) + " " + std::to_string(pProgress->fCurrent) + " " +
                           std::to_string(pProgress->fOverall));
        else
            seen.push_back(std::to_string(msg.Id()));
    });
    EXPECT_THAT(seen, testing::ElementsAre("1125 0 Converting speed:  7.00%", "1124 12.500000 3.250000",
                                           "1125 2 state: ABORTED", "1129"));
}

TEST_F(RunStateTest, SentProgressWaitsForTheDisplayUnlessTheBatchStops)
{
    m_state.m_bRunning = 1;
    std::thread sender([&] { m_state.PostProgress(100.0f, 50.0f, true); });
    float fShown = -1.0f;
    while (m_pQueue->WaitAndDispatch(
               [&](CMessage& msg) {
                   if (const auto* p = msg.Payload<CProgressPayload>())
                       fShown = p->fCurrent;
               },
               1000) == 0) {
    }
    sender.join();
    EXPECT_EQ(fShown, 100.0f);

    // Nobody handles this one: clearing the stop flag releases the sender.
    std::thread stranded([&] { m_state.PostProgress(1.0f, 1.0f, true); });
    m_state.m_bRunning = 0;
    stranded.join();
}

} // namespace
