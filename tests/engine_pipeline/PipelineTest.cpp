// End-to-end conversions through the three stage threads, each MP3 checked
// with an independent decoder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <thread>

#include "engine/Stages.h"
#include "platform/MessageBox.h"
#include "platform/Tick.h"
#include "settings/ConversionSettings.h"
#include "tests/engine_pipeline/Mp3Pcm.h"
#include "tests/engine_pipeline/PipelineHarness.h"
#include "tests/support/Mp3Check.h"

namespace fs = std::filesystem;

namespace
{

constexpr uint32_t kStageWaitMs = 10000;
constexpr size_t kMp3FrameSamples = 1152;

FlacFixtureShape ToneSpec(uint32_t nRate, uint32_t nChannels, uint32_t nBits, uint32_t nFrames, double dFrequency)
{
    FlacFixtureShape fixture;
    fixture.sampleRate = nRate;
    fixture.channels = nChannels;
    fixture.bitsPerSample = nBits;
    fixture.samples = MakeSine(nFrames, nChannels, nBits, nRate, dFrequency, 0.5);
    return fixture;
}

struct ConversionCase
{
    const char* pszName;
    uint32_t nRate;
    uint32_t nChannels;
    uint32_t nBits;
    uint32_t nFrames;
    int16_t nFrequencyIndex;  // into FrequencyTable; 0 is Automatic
    int16_t nChannelMode;
    int16_t nBitrateIndex;
    uint32_t nExpectedRate;
    int nExpectedChannels;
    int nExpectedKbps;
};

const ConversionCase kConversionCases[] = {
    {"stereo_44100_16bit", 44100, 2, 16, 2 * 44100, 0, CHANNEL_AUTOMATIC, 11, 44100, 2, 128},
    {"stereo_48000_24bit_to_44100", 48000, 2, 24, 2 * 48000, 0, CHANNEL_AUTOMATIC, 11, 44100, 2, 128},
    {"mono_to_stereo", 44100, 1, 16, 44100, 0, CHANNEL_STEREO, 11, 44100, 2, 128},
    {"six_channels_to_two", 48000, 6, 16, 48000, 0, CHANNEL_AUTOMATIC, 11, 44100, 2, 128},
    {"mono_8bit_22050", 22050, 1, 8, 22050, 0, CHANNEL_AUTOMATIC, 11, 22050, 1, 128},
    // Below twice the low-pass cut-off the rate conversion cuts instead; a
    // bitrate that MPEG 2.5 offers keeps the encoder at this rate.
    {"stereo_to_mono_11025", 44100, 2, 16, 44100, 2, CHANNEL_MONO, 3, 11025, 1, 32},
    {"empty", 44100, 2, 16, 0, 0, CHANNEL_AUTOMATIC, 11, 44100, 2, 128},
    // Neither a multiple of a FLAC block nor of an encoder chunk.
    {"odd_length", 44100, 2, 16, 44100 + 777, 0, CHANNEL_AUTOMATIC, 11, 44100, 2, 128},
};

class PipelineConversion : public testing::TestWithParam<ConversionCase>
{
protected:
    void SetUp() override { m_saved = g_settings; }
    void TearDown() override { g_settings = m_saved; }

private:
    ConversionSettings m_saved;
};

TEST_P(PipelineConversion, ProducesConstantBitrateMp3OfTheResolvedFormat)
{
    const ConversionCase& c = GetParam();
    g_settings.bitrateIndex = c.nBitrateIndex;
    g_settings.frequencyIndex = c.nFrequencyIndex;
    g_settings.channelMode = c.nChannelMode;
    const int nOutRate = static_cast<int>(ResolveOutputRate(c.nRate));
    const int nOutChannels = ResolveOutputChannels(static_cast<int>(c.nChannels));
    ASSERT_EQ(nOutRate, static_cast<int>(c.nExpectedRate));
    ASSERT_EQ(nOutChannels, c.nExpectedChannels);

    CPipelineHarness harness;
    harness.PrepareTask(c.pszName, ToneSpec(c.nRate, c.nChannels, c.nBits, c.nFrames, 1000.0), nOutRate,
                        nOutChannels);
    EXPECT_EQ(harness.Convert(), 1);
    ASSERT_TRUE(harness.WaitStages(kStageWaitMs));
    EXPECT_EQ(harness.State().m_bRunning.load(), 1);
    EXPECT_TRUE(harness.ErrorLines().empty()) << harness.ErrorLines().front();
    EXPECT_EQ(harness.Task().m_bDecoding.load() | harness.Task().m_bEffecting.load() |
                  harness.Task().m_bEncoding.load(),
              0);

    const Mp3Facts mp3 = InspectMp3(harness.Task().m_strDest);
    ASSERT_TRUE(mp3.opened);
    EXPECT_EQ(mp3.rate, nOutRate);
    EXPECT_EQ(mp3.channels, nOutChannels);
    EXPECT_TRUE(mp3.infoTagFirst);
    for (int nBitrate : mp3.frameBitrates)
        EXPECT_EQ(nBitrate, c.nExpectedKbps);
    const double dExpectedFrames = static_cast<double>(c.nFrames) * nOutRate / c.nRate;
    EXPECT_NEAR(static_cast<double>(mp3.samplesPerChannel), dExpectedFrames, kMp3FrameSamples);
    // The encoder counts every sample it took from its ring.
    EXPECT_NEAR(static_cast<double>(harness.State().m_nCurrentDone.load()), dExpectedFrames * nOutChannels,
                2.0 * nOutChannels);
}

INSTANTIATE_TEST_SUITE_P(Cases, PipelineConversion, testing::ValuesIn(kConversionCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

struct FilterCase
{
    const char* pszName;
    double dFrequency;
    double dMinGainDb;
    double dMaxGainDb;
};

// A 7 kHz low-pass and a 100 Hz high-pass shape every file.
const FilterCase kFilterCases[] = {
    {"passband_1kHz", 1000.0, -1.0, 1.0},
    {"above_lowpass_10kHz", 10000.0, -100.0, -6.0},
    {"below_highpass_50Hz", 50.0, -100.0, -10.0},
};

class PipelineFilter : public testing::TestWithParam<FilterCase>
{
};

TEST_P(PipelineFilter, ShapesTheToneLevel)
{
    const FilterCase& c = GetParam();
    CPipelineHarness harness;
    harness.PrepareTask(c.pszName, ToneSpec(44100, 2, 16, 3 * 44100, c.dFrequency), 44100, 2);
    EXPECT_EQ(harness.Convert(), 1);
    ASSERT_TRUE(harness.WaitStages(kStageWaitMs));

    const Mp3Pcm pcm = DecodeMp3Pcm(harness.Task().m_strDest);
    ASSERT_EQ(pcm.nChannels, 2);
    const double dSourceRms = 0.5 / std::sqrt(2.0);
    for (int nChannel = 0; nChannel < 2; ++nChannel) {
        const double dGainDb = 20.0 * std::log10(MiddleRms(pcm, nChannel) / dSourceRms);
        EXPECT_GE(dGainDb, c.dMinGainDb) << "channel " << nChannel;
        EXPECT_LE(dGainDb, c.dMaxGainDb) << "channel " << nChannel;
    }
}

INSTANTIATE_TEST_SUITE_P(Tones, PipelineFilter, testing::ValuesIn(kFilterCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

// Long enough that the two rings cannot hold it: the decoder can only finish
// when the encoder keeps up.
FlacFixtureShape LongSpec()
{
    return ToneSpec(44100, 2, 16, 60 * 44100, 1000.0);
}

void ExpectNoStageRunning(CPipelineHarness& harness)
{
    EXPECT_EQ(harness.Task().m_bDecoding.load(), 0);
    EXPECT_EQ(harness.Task().m_bEffecting.load(), 0);
    EXPECT_EQ(harness.Task().m_bEncoding.load(), 0);
}

struct MissingSourceCase
{
    const char* pszName;
    std::string (*fnPath)(const fs::path& folder, const std::string& strExisting);
    const char* pszCause;  // %1 stands for the path
};

std::string PathNotThere(const fs::path& folder, const std::string&)
{
    return (folder / "absent.flac").string();
}

std::string PathThroughAFile(const fs::path&, const std::string& strExisting)
{
    return strExisting + "/inner.flac";
}

std::string PathTooLong(const fs::path& folder, const std::string&)
{
    return (folder / (std::string(300, 'n') + ".flac")).string();
}

const MissingSourceCase kMissingSourceCases[] = {
    {"not_found", PathNotThere, "%1 was not found."},
    {"through_a_file", PathThroughAFile, "%1 contains an incorrect path."},
    {"name_too_long", PathTooLong, "%1 contains an incorrect path."},
};

class PipelineMissingSource : public testing::TestWithParam<MissingSourceCase>
{
};

TEST_P(PipelineMissingSource, LogsOneFileErrorAndStartsNoThread)
{
    const MissingSourceCase& c = GetParam();
    CPipelineHarness harness;
    CConversionTask& task = harness.PrepareTask("real", ToneSpec(44100, 2, 16, 4410, 1000.0), 44100, 2);
    task.m_strSource = c.fnPath(harness.Folder(), task.m_strSource);

    EXPECT_EQ(harness.Convert(), 0);
    EXPECT_EQ(harness.State().m_pEffectsThread.Get(), nullptr);
    EXPECT_EQ(harness.State().m_pEncoderThread.Get(), nullptr);
    EXPECT_EQ(harness.State().m_bRunning.load(), 0);
    ExpectNoStageRunning(harness);
    std::string strCause = c.pszCause;
    strCause.replace(strCause.find("%1"), 2, task.m_strSource);
    ASSERT_EQ(harness.Log().size(), 1u);
    EXPECT_EQ(harness.Log()[0].nKind, LOG_ERROR);
    EXPECT_EQ(harness.Log()[0].strText, "File Error: " + strCause);
    EXPECT_FALSE(fs::exists(task.m_strDest));
}

INSTANTIATE_TEST_SUITE_P(Paths, PipelineMissingSource, testing::ValuesIn(kMissingSourceCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

TEST(PipelineFailure, FileErrorTextIsCutTo1024Characters)
{
    CPipelineHarness harness;
    CConversionTask& task = harness.PrepareTask("real", ToneSpec(44100, 2, 16, 4410, 1000.0), 44100, 2);
    // Missing folders, then a name whose first "é" (two bytes) is the
    // 1,024th character of the text and whose second one is cut off.
    fs::path folder = harness.Folder();
    for (int i = 0; i < 3; ++i)
        folder /= std::string(250, 'd');
    const std::string strPrefix = folder.string() + "/";
    ASSERT_LT(strPrefix.size(), 1023u - 10);
    task.m_strSource = strPrefix + std::string(1023 - strPrefix.size(), 'f') + "\xC3\xA9\xC3\xA9.flac";

    EXPECT_EQ(harness.Convert(), 0);
    ASSERT_EQ(harness.Log().size(), 1u);
    EXPECT_EQ(harness.Log()[0].strText, "File Error: " + task.m_strSource.substr(0, 1023 + 2));
}

TEST(PipelineFailure, AccessDeniedNamesTheFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    CPipelineHarness harness;
    CConversionTask& task = harness.PrepareTask("locked", ToneSpec(44100, 2, 16, 4410, 1000.0), 44100, 2);
    ASSERT_EQ(chmod(task.m_strSource.c_str(), 0), 0);
    EXPECT_EQ(harness.Convert(), 0);
    ASSERT_EQ(harness.Log().size(), 1u);
    EXPECT_EQ(harness.Log()[0].strText, "File Error: Access to " + task.m_strSource + " was denied.");
}

TEST(PipelineFailure, UnwritableDestinationStopsDecoderAndEffectsEarly)
{
    CPipelineHarness harness;
    CConversionTask& task = harness.PrepareTask("long", LongSpec(), 44100, 2);
    task.m_strDest = (harness.Folder() / "no-such-folder" / "long.mp3").string();

    // Decoding ends only when the source is used up or the batch stopped.
    EXPECT_EQ(harness.Convert(), 0);
    ASSERT_TRUE(harness.WaitStages(kStageWaitMs));
    EXPECT_EQ(harness.State().m_bRunning.load(), 0);
    EXPECT_EQ(harness.State().m_nCurrentDone.load(), 0u);
    ExpectNoStageRunning(harness);
    const auto errors = harness.ErrorLines();
    EXPECT_NE(std::find(errors.begin(), errors.end(), "Error creating file " + task.m_strDest), errors.end());
    EXPECT_FALSE(fs::exists(task.m_strDest));
}

TEST(PipelineFailure, EffectsChainThatCannotBeBuiltStartsNoEncoder)
{
    CPipelineHarness harness;
    // libsox refuses a target rate of 0.
    CConversionTask& task = harness.PrepareTask("norate", ToneSpec(44100, 2, 16, 4410, 1000.0), 0, 2);
    harness.Convert();
    ASSERT_TRUE(harness.WaitStages(kStageWaitMs));
    EXPECT_EQ(harness.State().m_bRunning.load(), 0);
    EXPECT_EQ(harness.State().m_pEncoderThread.Get(), nullptr);
    ExpectNoStageRunning(harness);
    const auto errors = harness.ErrorLines();
    EXPECT_NE(std::find(errors.begin(), errors.end(), "An error occurred while processing audio data"), errors.end());
    EXPECT_FALSE(fs::exists(task.m_strDest));
}

TEST(PipelineFailure, MissingEncoderLibraryStopsTheConversion)
{
    std::vector<std::string> boxes;
    const MessageBoxHandler fnPrevious = SetMessageBoxHandler([&](const std::string& strText, const std::string&, unsigned) {
        boxes.push_back(strText);
        return IDOK;
    });
    CPipelineHarness harness;
    SetEncoderLibraryPath((harness.Folder() / "liblame_enc.so").string());
    CConversionTask& task = harness.PrepareTask("long", LongSpec(), 44100, 2);

    EXPECT_EQ(harness.Convert(), 0);
    const bool bEnded = harness.WaitStages(kStageWaitMs);
    SetEncoderLibraryPath("");
    SetMessageBoxHandler(fnPrevious);
    ASSERT_TRUE(bEnded);
    EXPECT_EQ(harness.State().m_bRunning.load(), 0);
    ExpectNoStageRunning(harness);
    const auto errors = harness.ErrorLines();
    EXPECT_NE(std::find(errors.begin(), errors.end(), "Error loading liblame_enc.so"), errors.end());
    EXPECT_EQ(boxes, std::vector<std::string>{"Error Loading liblame_enc.so"});
    EXPECT_FALSE(fs::exists(task.m_strDest));
}

// Moments at which Cancel clears the stop flag.
struct CancelCase
{
    const char* pszName;
    bool bPaused;
    bool (*fnReached)(CPipelineHarness& harness);
};

const CancelCase kCancelCases[] = {
    {"effects_started", false, [](CPipelineHarness& h) { return h.Task().m_bEffecting.load() != 0; }},
    {"encoding", false, [](CPipelineHarness& h) { return h.State().m_nCurrentDone.load() > 0; }},
    // Paused: the encoder takes nothing, so the rings fill and the decoder
    // and the effects stage wait for room.
    {"rings_full_while_paused", true,
     [](CPipelineHarness&) {
         return g_pDecodedRing->Writable() < kSampleRingCapacity / 8 &&
                g_pProcessedRing->Writable() < kSampleRingCapacity / 8;
     }},
};

class PipelineCancel : public testing::TestWithParam<CancelCase>
{
};

TEST_P(PipelineCancel, EndsAllThreeStagesPromptly)
{
    const CancelCase& c = GetParam();
    CPipelineHarness harness;
    harness.PrepareTask("long", LongSpec(), 44100, 2);
    harness.State().m_bPaused.store(c.bPaused ? 1 : 0);

    std::atomic<bool> bReached{false};
    std::thread canceller([&] {
        const uint32_t dwStart = GetTickCount();
        while (!c.fnReached(harness) && GetTickCount() - dwStart < 30000)
            SleepMs(1);
        bReached = c.fnReached(harness);
        harness.State().m_bRunning.store(0);
    });
    const int nResult = harness.Convert();
    canceller.join();

    EXPECT_TRUE(bReached);
    EXPECT_EQ(nResult, 0);
    ASSERT_TRUE(harness.WaitStages(5000));
    ExpectNoStageRunning(harness);
}

INSTANTIATE_TEST_SUITE_P(Moments, PipelineCancel, testing::ValuesIn(kCancelCases),
                         [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
