#include <algorithm>
#include <chrono>
#include <fstream>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>

#include "engine/ConversionTask.h"
#include "platform/Tick.h"
#include "tests/engine/DecodeHarness.h"
#include "tests/support/FlacFixture.h"
#include "tests/support/TempHome.h"

namespace {

using std::chrono::seconds;
using testing::ElementsAre;

const LogLine kAbortedState{LOG_ERROR, "state: FLAC__STREAM_DECODER_ABORTED"};

class DecodeFlacTest : public testing::Test
{
protected:
    // Writes a fixture into the test's own folder and returns its path.
    std::string WriteFixture(const std::string& strName, const FlacFixtureShape& shape)
    {
        const std::string strPath = (m_folder / strName).string();
        EXPECT_TRUE(WriteFlacFixture(strPath, shape)) << strName;
        return strPath;
    }

    CTempHome m_home;
    std::filesystem::path m_folder = m_home.MakeDir("flac");
};

// Frames 0..nFrames-1 of nChannels whose values tell channel and index apart
// and survive the mask at 16 bits (multiples of 64).
std::vector<int32_t> TaggedSamples(uint32_t nFrames, uint32_t nChannels)
{
    std::vector<int32_t> samples;
    for (uint32_t i = 0; i < nFrames; ++i)
        for (uint32_t c = 0; c < nChannels; ++c)
            samples.push_back((static_cast<int32_t>((i * 7 + c * 131) % 1000) - 500) * 64);
    return samples;
}

std::vector<int32_t> Expected(const std::vector<int32_t>& samples, uint32_t nBitsPerSample)
{
    std::vector<int32_t> expected;
    for (int32_t nSample : samples)
        expected.push_back(LeftJustifiedMasked(nSample, nBitsPerSample));
    return expected;
}

struct SampleValueCase
{
    uint32_t bitsPerSample;
    int32_t source;
    uint32_t inRing;
};

class DecodeSampleValueTest : public DecodeFlacTest, public testing::WithParamInterface<SampleValueCase>
{
};

TEST_P(DecodeSampleValueTest, ReachesTheRingLeftJustifiedAndMasked)
{
    const SampleValueCase& c = GetParam();
    FlacFixtureShape shape;
    shape.channels = 1;
    shape.bitsPerSample = c.bitsPerSample;
    shape.blockSize = 16;
    shape.samples.assign(40, c.source);
    CDecodeHarness harness;
    CConversionTask task = MakeDecodeTask(WriteFixture("value.flac", shape), 1, static_cast<uint8_t>(c.bitsPerSample));

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    EXPECT_EQ(outcome.nResult, 1);
    EXPECT_THAT(outcome.logs, testing::IsEmpty());
    EXPECT_TRUE(outcome.bStillRunning);
    EXPECT_EQ(outcome.samples, std::vector<int32_t>(40, static_cast<int32_t>(c.inRing)));
}

INSTANTIATE_TEST_SUITE_P(Values, DecodeSampleValueTest,
                         testing::Values(SampleValueCase{16, 0x1234, 0x12000000u},
                                         SampleValueCase{24, 0x7FFFFF, 0x7FC00000u},
                                         SampleValueCase{8, -1, 0xFF000000u}, SampleValueCase{16, -2, 0xFFC00000u},
                                         SampleValueCase{24, -0x800000, 0x80000000u},
                                         SampleValueCase{12, 0x7FF, 0x7FC00000u},
                                         SampleValueCase{32, 0x7FFFFFFF, 0x7FC00000u}));

TEST_F(DecodeFlacTest, InterleavesChannelsFrameByFrameAcrossBlocks)
{
    FlacFixtureShape shape;
    shape.channels = 3;
    shape.blockSize = 256;
    shape.samples = TaggedSamples(3 * 256 + 17, 3);
    CDecodeHarness harness;
    CConversionTask task = MakeDecodeTask(WriteFixture("tagged.flac", shape), 3, 16);

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    EXPECT_EQ(outcome.nResult, 1);
    EXPECT_EQ(outcome.samples, Expected(shape.samples, 16));
    // Every decoding call releases what it held.
    EXPECT_EQ(task.m_pDecodeBuffer, nullptr);
    EXPECT_EQ(task.m_pSourceFile, nullptr);
}

TEST_F(DecodeFlacTest, BlockWaitsForRoomAndIsWrittenWhole)
{
    FlacFixtureShape shape;
    shape.blockSize = 4096;
    shape.samples = TaggedSamples(4096, 2);
    CDecodeHarness harness(16384);
    // Leave room for one sample less than the block's 8,192.
    const std::vector<int32_t> filler(16383 - 8191, 7);
    ASSERT_EQ(harness.Ring().Write(filler.data(), static_cast<uint32_t>(filler.size())), filler.size());
    CConversionTask task = MakeDecodeTask(WriteFixture("block.flac", shape), 2, 16);

    auto decoding = std::async(std::launch::async, [&] { return task.DecodeFlac(); });
    SleepMs(100);
    EXPECT_EQ(harness.Ring().Readable(0), filler.size()) << "part of a block was written";
    int32_t nFirst = 0;
    harness.Ring().Read(&nFirst, 1, 0);
    ASSERT_EQ(decoding.wait_for(seconds(10)), std::future_status::ready);

    EXPECT_EQ(decoding.get(), 1);
    std::vector<int32_t> expected(filler.begin() + 1, filler.end());
    const std::vector<int32_t> block = Expected(shape.samples, 16);
    expected.insert(expected.end(), block.begin(), block.end());
    EXPECT_EQ(harness.DrainRing(), expected);
}

TEST_F(DecodeFlacTest, ClearingRunningWhileWaitingForRoomAbortsWithTheDecoderState)
{
    FlacFixtureShape shape;
    shape.samples = TaggedSamples(4096, 2);
    CDecodeHarness harness(8192);
    CConversionTask task = MakeDecodeTask(WriteFixture("wait.flac", shape), 2, 16);

    auto decoding = std::async(std::launch::async, [&] { return task.DecodeFlac(); });
    SleepMs(50);
    harness.RunState().m_bRunning.store(0);
    ASSERT_EQ(decoding.wait_for(seconds(10)), std::future_status::ready);

    EXPECT_EQ(decoding.get(), 0);
    EXPECT_THAT(harness.TakeLogs(), ElementsAre(kAbortedState));
    EXPECT_EQ(harness.Ring().Readable(0), 0u);
}

TEST_F(DecodeFlacTest, MissingSourceIsReported)
{
    CDecodeHarness harness;
    const std::string strPath = (m_folder / "absent.flac").string();
    CConversionTask task = MakeDecodeTask(strPath, 2, 16);

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    EXPECT_EQ(outcome.nResult, 0);
    EXPECT_FALSE(outcome.bStillRunning);
    EXPECT_THAT(outcome.logs, ElementsAre(LogLine{LOG_ERROR, "Error opening file " + strPath}));
    EXPECT_EQ(task.m_pDecodeBuffer, nullptr);
}

TEST_F(DecodeFlacTest, CorruptFrameStopsWithTheErrorAndTheState)
{
    FlacFixtureShape shape;
    shape.samples = MakeSine(4 * 4096, 2, 16, 44100, 440.0, 0.5);
    const std::string strPath = WriteFixture("corrupt.flac", shape);
    {
        // Flip bits in the middle of the audio: the frame's checksum fails.
        std::fstream file(strPath, std::ios::in | std::ios::out | std::ios::binary);
        file.seekg(0, std::ios::end);
        const std::streamoff nMiddle = file.tellg() / 2;
        file.seekg(nMiddle);
        const char chOld = static_cast<char>(file.get());
        file.seekp(nMiddle);
        file.put(static_cast<char>(chOld ^ 0x5A));
    }
    CDecodeHarness harness;
    CConversionTask task = MakeDecodeTask(strPath, 2, 16);

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    EXPECT_EQ(outcome.nResult, 0);
    EXPECT_FALSE(outcome.bStillRunning);
    // libFLAC may report more than one error from data it already holds
    // before the next read aborts.
    ASSERT_GE(outcome.logs.size(), 2u);
    EXPECT_THAT(outcome.logs.front().strText,
                testing::StartsWith("Got error callback: FLAC__STREAM_DECODER_ERROR_STATUS_"));
    for (const LogLine& line : outcome.logs)
        EXPECT_EQ(line.nKind, LOG_ERROR);
    EXPECT_EQ(outcome.logs.back(), kAbortedState);
    // The frames before the damage arrive intact; nothing of the damaged one.
    const std::vector<int32_t> expected = Expected(shape.samples, 16);
    ASSERT_LT(outcome.samples.size(), expected.size());
    EXPECT_TRUE(std::equal(outcome.samples.begin(), outcome.samples.end(), expected.begin()));
}

struct MismatchCase
{
    int32_t taskChannels;
    uint8_t taskBits;
    const char* line;
};

class DecodeMismatchTest : public DecodeFlacTest, public testing::WithParamInterface<MismatchCase>
{
};

// The file is stereo 16-bit; the task says otherwise.
TEST_P(DecodeMismatchTest, FrameUnlikeTheTaskStopsBeforeAnythingIsWritten)
{
    const MismatchCase& c = GetParam();
    FlacFixtureShape shape;
    shape.samples = TaggedSamples(5000, 2);
    CDecodeHarness harness;
    CConversionTask task = MakeDecodeTask(WriteFixture("stereo.flac", shape), c.taskChannels, c.taskBits);

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    EXPECT_EQ(outcome.nResult, 0);
    EXPECT_FALSE(outcome.bStillRunning);
    EXPECT_THAT(outcome.logs, ElementsAre(LogLine{LOG_ERROR, c.line}, kAbortedState));
    EXPECT_THAT(outcome.samples, testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeMismatchTest,
                         testing::Values(MismatchCase{1, 16, "Frame has 2 channel(s), expected 1."},
                                         MismatchCase{6, 16, "Frame has 2 channel(s), expected 6."},
                                         MismatchCase{2, 24, "Frame has 16 bits per sample, expected 24."},
                                         MismatchCase{2, 8, "Frame has 16 bits per sample, expected 8."}));

// The bytes of a FLAC file after its metadata: its frames.
std::string FramesOf(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    std::string strBytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    size_t nPos = 4; // "fLaC"
    bool bLast = false;
    while (!bLast && nPos + 4 <= strBytes.size()) {
        const auto* p = reinterpret_cast<const unsigned char*>(strBytes.data() + nPos);
        bLast = (p[0] & 0x80) != 0;
        nPos += 4 + ((size_t{p[1]} << 16) | (size_t{p[2]} << 8) | p[3]);
    }
    return strBytes.substr(std::min(nPos, strBytes.size()));
}

TEST_F(DecodeFlacTest, ChannelCountChangingMidStreamStopsAtTheChange)
{
    FlacFixtureShape mono;
    mono.channels = 1;
    mono.blockSize = 1000;
    mono.samples = TaggedSamples(2000, 1);
    FlacFixtureShape stereo;
    stereo.samples = TaggedSamples(1000, 2);
    const std::string strPath = WriteFixture("mono.flac", mono);
    const std::string strStereoFrames = FramesOf(WriteFixture("stereo.flac", stereo));
    std::ofstream(strPath, std::ios::binary | std::ios::app) << strStereoFrames;
    CDecodeHarness harness;
    CConversionTask task = MakeDecodeTask(strPath, 1, 16);

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    EXPECT_EQ(outcome.nResult, 0);
    EXPECT_THAT(outcome.logs, ElementsAre(LogLine{LOG_ERROR, "Frame has 2 channel(s), expected 1."}, kAbortedState));
    EXPECT_EQ(outcome.samples, Expected(mono.samples, 16));
}

struct LargeBlockCase
{
    uint32_t channels;
    uint32_t bitsPerSample;
    uint32_t blockSize;
};

class DecodeLargeBlockTest : public DecodeFlacTest, public testing::WithParamInterface<LargeBlockCase>
{
};

TEST_P(DecodeLargeBlockTest, IsDecodedExactly)
{
    const LargeBlockCase& c = GetParam();
    FlacFixtureShape shape;
    shape.channels = c.channels;
    shape.bitsPerSample = c.bitsPerSample;
    shape.blockSize = c.blockSize;
    // Two whole blocks and a short last one.
    shape.samples = MakeSine(2 * c.blockSize + 1000, c.channels, c.bitsPerSample, 44100, 997.0, 0.9);
    CDecodeHarness harness;
    CConversionTask task =
        MakeDecodeTask(WriteFixture("large.flac", shape), static_cast<int32_t>(c.channels), c.bitsPerSample);

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    EXPECT_EQ(outcome.nResult, 1);
    EXPECT_THAT(outcome.logs, testing::IsEmpty());
    EXPECT_TRUE(outcome.samples == Expected(shape.samples, c.bitsPerSample)) << "decoded samples differ";
}

INSTANTIATE_TEST_SUITE_P(Sizes, DecodeLargeBlockTest,
                         testing::Values(LargeBlockCase{2, 16, 32768}, LargeBlockCase{2, 16, 65535},
                                         LargeBlockCase{8, 24, 65535}));

struct BadTaskCase
{
    int32_t channels;
    uint8_t bitsPerSample;
    const char* line;
};

class DecodeBadTaskTest : public DecodeFlacTest, public testing::WithParamInterface<BadTaskCase>
{
};

TEST_P(DecodeBadTaskTest, IsRefusedWithAnErrorLine)
{
    const BadTaskCase& c = GetParam();
    FlacFixtureShape shape;
    shape.samples = TaggedSamples(100, 2);
    CDecodeHarness harness;
    CConversionTask task = MakeDecodeTask(WriteFixture("any.flac", shape), c.channels, c.bitsPerSample);

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    EXPECT_EQ(outcome.nResult, 0);
    EXPECT_FALSE(outcome.bStillRunning);
    EXPECT_THAT(outcome.logs, ElementsAre(LogLine{LOG_ERROR, c.line}));
    EXPECT_THAT(outcome.samples, testing::IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, DecodeBadTaskTest,
                         testing::Values(BadTaskCase{-1, 0, "Cannot decode -1 channels of 0 bits per sample."},
                                         BadTaskCase{0, 16, "Cannot decode 0 channels of 16 bits per sample."},
                                         BadTaskCase{9, 16, "Cannot decode 9 channels of 16 bits per sample."},
                                         BadTaskCase{2, 0, "Cannot decode 2 channels of 0 bits per sample."},
                                         BadTaskCase{2, 33, "Cannot decode 2 channels of 33 bits per sample."}));

} // namespace
