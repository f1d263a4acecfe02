#include <atomic>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "engine/ConvRunState.h"
#include "engine/ConversionTask.h"
#include "engine/RingBuffer.h"
#include "engine/Stages.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/SharedLibrary.h"
#include "platform/Tick.h"
#include "platform/WorkerThread.h"
#include "settings/ConversionSettings.h"
#include "tests/engine_encode/FakeEncoder.h"
#include "tests/support/Mp3Check.h"

namespace fs = std::filesystem;

namespace {

struct LogLine
{
    int nKind;
    std::string strText;
};

struct Progress
{
    float fCurrent;
    float fOverall;
};

struct Box
{
    std::string strText;
    unsigned nType;
};

class EncodeStreamTest : public ::testing::Test
{
public:
    void SetUp() override { Prepare(); }
    void TearDown() override { Release(); }

    // A fresh ring, run state, destination and task, with the real library.
    void Prepare()
    {
        static int s_nCounter = 0;
        m_dir = fs::temp_directory_path() /
                ("engine_encode_" + std::to_string(::getpid()) + "_" + std::to_string(++s_nCounter));
        fs::create_directories(m_dir);

        m_pRing = std::make_unique<SampleRing>(kSampleRingCapacity);
        g_pProcessedRing = m_pRing.get();
        m_pQueue = std::make_shared<CMessageQueue>();
        m_run.SetMessageTarget(m_pQueue);
        m_run.m_bRunning = 1;
        m_run.m_bPaused = 0;
        m_run.m_nCurrentDone = 0;
        m_run.m_nOverallDone = 0;
        m_run.m_fCurrentSeconds = 0.0f;
        m_run.m_fOverallSeconds = 0.0f;
        g_pConvProg = &m_run;
        m_logs.clear();
        m_progress.clear();
        m_boxes.clear();
        m_nResult = -1;
        g_settings.bitrateIndex = 11;
        m_fnOldHandler = SetMessageBoxHandler([this](const std::string& strText, const std::string&, unsigned nType) {
            std::lock_guard lock(m_boxMutex);
            m_boxes.push_back({strText, nType});
            return IDOK;
        });

        m_task.m_strDest = (m_dir / "out.mp3").string();
        m_task.m_nOutRate = 44100;
        m_task.m_nOutChannels = 2;
        m_task.m_pEncoderInput = m_pRing.get();
        m_task.m_bDecoding = 0;
        m_task.m_bEffecting = 0;
    }

    void Release()
    {
        m_fakeLibrary.Unload();
        SetEncoderLibraryPath("");
        SetMessageBoxHandler(m_fnOldHandler);
        m_pQueue->Close();
        g_pConvProg = nullptr;
        g_pProcessedRing = nullptr;
        fs::remove_all(m_dir);
    }

    // Puts nSamples interleaved samples into the ring and makes them the
    // task's and the batch's expected totals.
    void FillRing(uint32_t nSamples, const std::function<int32_t(uint32_t)>& fnSample)
    {
        std::vector<int32_t> samples(nSamples);
        for (uint32_t i = 0; i < nSamples; ++i)
            samples[i] = fnSample(i);
        ASSERT_EQ(m_pRing->Write(samples.data(), nSamples), nSamples);
        m_task.m_nTotalSamples = nSamples;
        m_run.m_nOverallTotal = nSamples;
    }

    // A 440 Hz sine at half of 32-bit full scale, the same on every channel.
    void FillSine(uint32_t nFrames)
    {
        const int nChannels = m_task.m_nOutChannels;
        const double dRate = m_task.m_nOutRate;
        FillRing(nFrames * nChannels, [&](uint32_t i) {
            return static_cast<int32_t>(std::sin(2 * M_PI * 440.0 * (i / nChannels) / dRate) * 0x40000000);
        });
    }

    void Start()
    {
        m_pThread = CWorkerThread::CreateSuspended([this] { m_nResult = m_task.Encode(); });
        m_pThread->Resume();
    }

    void Pump(uint32_t nMilliseconds)
    {
        m_pQueue->WaitAndDispatch([this](CMessage& msg) { Collect(msg); }, nMilliseconds);
    }

    // Handles messages until the stage has ended (it sends its last report).
    void PumpUntilEnded()
    {
        const uint32_t dwStart = GetTickCount();
        while (!m_pThread->Wait(0)) {
            ASSERT_LT(GetTickCount() - dwStart, 30000u) << "the stage did not end";
            Pump(10);
        }
        m_pQueue->DispatchPending([this](CMessage& msg) { Collect(msg); });
    }

    // Pumps until fnDone holds; false after 10 s.
    bool PumpUntil(const std::function<bool()>& fnDone)
    {
        const uint32_t dwStart = GetTickCount();
        while (!fnDone()) {
            if (GetTickCount() - dwStart > 10000)
                return false;
            Pump(5);
        }
        return true;
    }

    void RunToEnd()
    {
        Start();
        PumpUntilEnded();
    }

    std::vector<std::string> ErrorLines() const
    {
        std::vector<std::string> lines;
        for (const LogLine& line : m_logs)
            if (line.nKind == LOG_ERROR)
                lines.push_back(line.strText);
        return lines;
    }

    std::vector<Box> Boxes()
    {
        std::lock_guard lock(m_boxMutex);
        return m_boxes;
    }

    FakeEncoder& LoadFake(const char* pszVariant)
    {
        const std::string strPath = ExecutableFolder() + "libfake_lame_enc_" + pszVariant + ".so";
        // Held loaded here, so its state outlives the stage's own load.
        EXPECT_TRUE(m_fakeLibrary.Load(strPath)) << m_fakeLibrary.LastError();
        SetEncoderLibraryPath(strPath);
        FakeEncoder* pFake = m_fakeLibrary.Function<FakeEncoderStateFn>("FakeEncoderState")();
        pFake->Reset();
        return *pFake;
    }

    fs::path m_dir;
    std::unique_ptr<SampleRing> m_pRing;
    std::shared_ptr<CMessageQueue> m_pQueue;
    CConvRunState m_run;
    CConversionTask m_task;
    std::shared_ptr<CWorkerThread> m_pThread;
    int m_nResult = -1;
    std::vector<LogLine> m_logs;
    std::vector<Progress> m_progress;
    CSharedLibrary m_fakeLibrary;

private:
    void Collect(CMessage& msg)
    {
        if (auto* pLog = msg.Payload<CLogPayload>())
            m_logs.push_back({pLog->nKind, pLog->strText});
        else if (auto* pProgress = msg.Payload<CProgressPayload>())
            m_progress.push_back({pProgress->fCurrent, pProgress->fOverall});
    }

    MessageBoxHandler m_fnOldHandler;
    std::mutex m_boxMutex;
    std::vector<Box> m_boxes;
};

// The real library, at a bitrate index, a channel count and an output rate.
// bTag: a frame is big enough for LAME's Info tag (never at 8 kbit/s).
struct RealCase
{
    int16_t nBitrateIndex;
    int nChannels;
    int nRate;
    int nKbps;
    bool bTag;
};

class EncodeStreamRealTest : public EncodeStreamTest, public ::testing::WithParamInterface<RealCase>
{
};

TEST_P(EncodeStreamRealTest, WritesConstantBitrateMp3OfTheWholeRing)
{
    const RealCase& row = GetParam();
    g_settings.bitrateIndex = row.nBitrateIndex;
    m_task.m_nOutChannels = row.nChannels;
    m_task.m_nOutRate = row.nRate;
    const uint32_t nFrames = static_cast<uint32_t>(row.nRate) + 777;  // ends in a short chunk
    FillSine(nFrames);

    RunToEnd();

    EXPECT_EQ(m_nResult, 1);
    EXPECT_TRUE(ErrorLines().empty());
    EXPECT_EQ(m_run.m_bRunning.load(), 1);
    EXPECT_EQ(m_task.m_bEncoding.load(), 0);
    const uint64_t nTotal = uint64_t{nFrames} * row.nChannels;
    EXPECT_EQ(m_run.m_nCurrentDone.load(), nTotal);
    EXPECT_EQ(m_run.m_nOverallDone.load(), nTotal);
    EXPECT_NEAR(m_run.m_fCurrentSeconds.load(), static_cast<double>(nFrames) / row.nRate, 1e-3);
    EXPECT_NEAR(m_run.m_fOverallSeconds.load(), static_cast<double>(nFrames) / row.nRate, 1e-3);
    ASSERT_FALSE(m_progress.empty());
    EXPECT_FLOAT_EQ(m_progress.back().fCurrent, 100.0f);
    EXPECT_FLOAT_EQ(m_progress.back().fOverall, 100.0f);

    const Mp3Facts facts = InspectMp3(m_task.m_strDest);
    ASSERT_TRUE(facts.opened);
    EXPECT_EQ(facts.rate, row.nRate);
    EXPECT_EQ(facts.channels, row.nChannels);
    ASSERT_FALSE(facts.frameBitrates.empty());
    for (const int nKbps : facts.frameBitrates)
        ASSERT_EQ(nKbps, row.nKbps);
    const int64_t nFrameSize = row.nRate >= 32000 ? 1152 : 576;
    EXPECT_EQ(facts.infoTagFirst, row.bTag);
    if (row.bTag)
        EXPECT_LE(std::abs(facts.samplesPerChannel - int64_t{nFrames}), nFrameSize);
    else  // no tag to trim the encoder's delay and padding
        EXPECT_LE(std::abs(facts.samplesPerChannel - int64_t{nFrames}), 3 * nFrameSize);
}

INSTANTIATE_TEST_SUITE_P(Bitrates, EncodeStreamRealTest,
                         ::testing::Values(RealCase{11, 2, 44100, 128, true}, RealCase{0, 1, 16000, 8, false},
                                           RealCase{16, 1, 32000, 320, true}),
                         [](const ::testing::TestParamInfo<RealCase>& info) {
                             return std::to_string(info.param.nKbps) + "kbps_" +
                                    std::to_string(info.param.nChannels) + "ch";
                         });

TEST_F(EncodeStreamTest, SplitsChannelsScalesSamplesAndEncodesTheShortLastChunk)
{
    struct Case
    {
        int nChannels;
        std::vector<uint32_t> perChannel;  // chunk of 1000 samples, 2500 in the ring
        bool bRightNull;
    };
    for (const Case& c : {Case{1, {1000, 1000, 500}, true}, Case{2, {500, 500, 250}, false}}) {
        SCOPED_TRACE(c.nChannels);
        Release();
        Prepare();
        FakeEncoder& fake = LoadFake("full");
        m_task.m_nOutChannels = c.nChannels;
        FillRing(2500, [](uint32_t i) { return static_cast<int32_t>((i + 1) * 3 * 65536); });

        RunToEnd();

        ASSERT_EQ(m_nResult, 1);
        ASSERT_EQ(fake.encodeCalls.size(), c.perChannel.size());
        for (size_t i = 0; i < c.perChannel.size(); ++i) {
            EXPECT_EQ(fake.encodeCalls[i].samplesPerChannel, c.perChannel[i]);
            EXPECT_EQ(fake.encodeCalls[i].rightNull, c.bRightNull);
        }
        EXPECT_FLOAT_EQ(fake.encodeCalls[0].firstLeft, 3.0f);
        if (c.nChannels == 2) {
            EXPECT_FLOAT_EQ(fake.encodeCalls[0].firstRight, 6.0f);
        }
        EXPECT_EQ(m_run.m_nCurrentDone.load(), 2500u);
        const std::vector<std::string> expected = {"init", "encode", "encode", "encode", "deinit", "close", "infotag"};
        EXPECT_EQ(fake.events, expected);
        EXPECT_EQ(fake.taggedPath, m_task.m_strDest);
        EXPECT_EQ(fs::file_size(m_task.m_strDest), 4 * fake.bytesPerCall);
    }
}

TEST_F(EncodeStreamTest, HoldsTheShortChunkUntilEarlierStagesEnd)
{
    LoadFake("full");
    m_task.m_bEffecting = 1;
    FillRing(2500, [](uint32_t i) { return static_cast<int32_t>(i); });
    Start();
    ASSERT_TRUE(PumpUntil([this] { return m_run.m_nCurrentDone.load() == 2000; }));
    const uint32_t dwStart = GetTickCount();
    while (GetTickCount() - dwStart < 150)
        Pump(10);
    EXPECT_EQ(m_run.m_nCurrentDone.load(), 2000u);
    EXPECT_FALSE(m_pThread->Wait(0));

    m_task.m_bEffecting = 0;
    PumpUntilEnded();
    EXPECT_EQ(m_run.m_nCurrentDone.load(), 2500u);
    EXPECT_EQ(m_nResult, 1);
}

TEST_F(EncodeStreamTest, ZeroExpectedTotalsReportZeroWhileRunningAndHundredAtTheEnd)
{
    LoadFake("full");
    m_task.m_bEffecting = 1;
    FillRing(2500, [](uint32_t i) { return static_cast<int32_t>(i); });
    m_task.m_nTotalSamples = 0;
    m_run.m_nOverallTotal = 0;
    Start();
    // Held by the running earlier stage long enough for a few reports.
    ASSERT_TRUE(PumpUntil([this] { return m_progress.size() >= 2; }));
    m_task.m_bEffecting = 0;
    PumpUntilEnded();

    ASSERT_GE(m_progress.size(), 3u);
    for (size_t i = 0; i + 1 < m_progress.size(); ++i) {
        EXPECT_EQ(m_progress[i].fCurrent, 0.0f);
        EXPECT_EQ(m_progress[i].fOverall, 0.0f);
    }
    EXPECT_EQ(m_progress.back().fCurrent, 100.0f);
    EXPECT_EQ(m_progress.back().fOverall, 100.0f);
}

TEST_F(EncodeStreamTest, PauseTakesNothingAndReportsNothingUntilResumed)
{
    m_run.m_bPaused = 1;
    FillSine(44100);
    Start();
    const uint32_t dwStart = GetTickCount();
    while (GetTickCount() - dwStart < 400)
        Pump(20);
    EXPECT_EQ(m_run.m_nCurrentDone.load(), 0u);
    EXPECT_EQ(m_pRing->Readable(0), 88200u);
    EXPECT_TRUE(m_progress.empty());
    EXPECT_FALSE(m_pThread->Wait(0));

    m_run.m_bPaused = 0;
    PumpUntilEnded();
    EXPECT_EQ(m_nResult, 1);
    EXPECT_EQ(m_run.m_nCurrentDone.load(), 88200u);
    ASSERT_FALSE(m_progress.empty());
    EXPECT_FLOAT_EQ(m_progress.back().fCurrent, 100.0f);
}

TEST_F(EncodeStreamTest, WritesTheHeaderByPathWhenTheLibraryHasNoInfoTagCall)
{
    FakeEncoder& fake = LoadFake("noinfotag");
    FillRing(10, [](uint32_t i) { return 0; });
    RunToEnd();
    EXPECT_EQ(m_nResult, 1);
    ASSERT_FALSE(fake.events.empty());
    EXPECT_EQ(fake.events.back(), "vbrheader");
    EXPECT_EQ(fake.taggedPath, m_task.m_strDest);
}

TEST_F(EncodeStreamTest, FailuresPostTheirLineStopTheBatchAndReleaseTheStream)
{
    struct Case
    {
        const char* pszName;
        std::function<void(EncodeStreamTest&)> fnSetUp;
        std::string strLine;         // the one error line; "%s" stands for the destination
        std::string strBox;          // empty: no box
        std::vector<std::string> events;  // calls reaching the fake library
        int nResult;
        bool bOutputFile;
    };
    const std::vector<Case> cases = {
        {"missing library",
         [](EncodeStreamTest& t) { SetEncoderLibraryPath((t.m_dir / "liblame_enc.so").string()); },
         "Error loading liblame_enc.so", "Error Loading liblame_enc.so", {}, 0, false},
        {"library without functions", [](EncodeStreamTest& t) { t.LoadFake("empty"); },
         "Unable to get LAME interfaces", "Unable to Get LAME Interfaces", {}, 0, false},
        {"destination folder missing",
         [](EncodeStreamTest& t) {
             t.LoadFake("full");
             t.m_task.m_strDest = (t.m_dir / "no such folder" / "out.mp3").string();
         },
         "Error creating file %s", "", {}, 0, false},
        {"stream refused", [](EncodeStreamTest& t) { t.LoadFake("full").initResult = 2; },
         "Error opening encoding stream (2)", "", {"init", "close"}, 0, true},
        {"encoding fails", [](EncodeStreamTest& t) { t.LoadFake("full").encodeResult = 6; },
         "beEncodeChunk() failed (6)", "", {"init", "encode", "close"}, 0, true},
        {"finishing fails", [](EncodeStreamTest& t) { t.LoadFake("full").deinitResult = 6; },
         "beExitStream failed (6)", "", {"init", "encode", "deinit", "close", "infotag"}, 1, true},
        {"disk full",
         [](EncodeStreamTest& t) {
             t.LoadFake("full");
             t.m_task.m_strDest = "/dev/full";
         },
         "Output file write error", "", {"init", "encode", "deinit", "close", "infotag"}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        Release();
        Prepare();
        c.fnSetUp(*this);
        FillRing(10, [](uint32_t i) { return static_cast<int32_t>(i); });

        RunToEnd();

        std::string strLine = c.strLine;
        if (const size_t nAt = strLine.find("%s"); nAt != std::string::npos)
            strLine.replace(nAt, 2, m_task.m_strDest);
        EXPECT_EQ(ErrorLines(), std::vector<std::string>{strLine});
        EXPECT_EQ(m_run.m_bRunning.load(), 0);
        EXPECT_EQ(m_task.m_bEncoding.load(), 0);
        EXPECT_EQ(m_nResult, c.nResult);
        const std::vector<Box> boxes = Boxes();
        if (c.strBox.empty()) {
            EXPECT_TRUE(boxes.empty());
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].strText, c.strBox);
            EXPECT_EQ(boxes[0].nType, MB_OK | MB_ICONERROR);
        }
        if (m_fakeLibrary.IsLoaded() && m_fakeLibrary.Symbol("beInitStream")) {
            EXPECT_EQ(m_fakeLibrary.Function<FakeEncoderStateFn>("FakeEncoderState")()->events, c.events);
        }
        EXPECT_EQ(fs::exists(m_task.m_strDest), c.bOutputFile);
    }
}

}  // namespace
