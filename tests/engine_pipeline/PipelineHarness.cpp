#include "tests/engine_pipeline/PipelineHarness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "platform/Tick.h"

namespace
{

std::filesystem::path MakeTempFolder()
{
    std::string strTemplate = (std::filesystem::temp_directory_path() / "kestrune-pipe-XXXXXX").string();
    return mkdtemp(strTemplate.data());
}

}  // namespace

CPipelineHarness::CPipelineHarness()
    : m_folder(MakeTempFolder()),
      m_pQueue(std::make_shared<CMessageQueue>()),
      m_pDecoded(std::make_unique<SampleRing>(kSampleRingCapacity)),
      m_pProcessed(std::make_unique<SampleRing>(kSampleRingCapacity))
{
    m_state.SetMessageTarget(m_pQueue);
    m_state.m_bRunning.store(1);
    g_pConvProg = &m_state;
    g_pDecodedRing = m_pDecoded.get();
    g_pProcessedRing = m_pProcessed.get();
    g_pDecodedRing->Reset();
    g_pProcessedRing->Reset();
}

CPipelineHarness::~CPipelineHarness()
{
    m_state.m_bRunning.store(0);
    if (!WaitStages(10000)) {
        // A stage still running would touch freed rings and run state.
        std::fprintf(stderr, "a stage thread outlived its wait\n");
        std::abort();
    }
    m_pQueue->Close();
    g_pConvProg = nullptr;
    g_pDecodedRing = nullptr;
    g_pProcessedRing = nullptr;
    g_pCurrentTask = nullptr;
    std::error_code error;
    std::filesystem::remove_all(m_folder, error);
}

CConversionTask& CPipelineHarness::PrepareTask(const std::string& strName, const FlacFixtureShape& shape,
                                               int nOutRate, int nOutChannels)
{
    m_task.m_strSource = (m_folder / (strName + ".flac")).string();
    m_task.m_strDest = (m_folder / (strName + ".mp3")).string();
    EXPECT_TRUE(WriteFlacFixture(m_task.m_strSource, shape));
    const uint64_t nFrames = shape.samples.size() / shape.channels;
    m_task.m_nInRate = static_cast<int32_t>(shape.sampleRate);
    m_task.m_nInChannels = static_cast<int32_t>(shape.channels);
    m_task.m_nBitsPerSample = static_cast<uint8_t>(shape.bitsPerSample);
    m_task.m_nOutRate = nOutRate;
    m_task.m_nOutChannels = nOutChannels;
    m_task.m_nOutSampleBytes = 2;
    m_task.m_nTotalSamples = nFrames * static_cast<uint64_t>(nOutRate) / shape.sampleRate * nOutChannels;
    m_task.m_dRateRatio =
        static_cast<double>(nOutRate) * nOutChannels / (static_cast<double>(shape.sampleRate) * shape.channels);
    m_task.m_bUseEffects = 1;
    m_state.m_nOverallTotal.store(m_task.m_nTotalSamples);
    return m_task;
}

int CPipelineHarness::Convert()
{
    m_bStagesEnded = false;
    return m_task.Convert();
}

bool CPipelineHarness::WaitStages(uint32_t nMilliseconds)
{
    if (m_bStagesEnded)
        return true;
    const uint32_t dwStart = GetTickCount();
    for (;;) {
        // The encoder sends its last progress report and waits for it.
        Pump(10);
        // Once the effects thread has ended, the encoder slot is final.
        const auto pEffects = m_state.m_pEffectsThread.Get();
        bool bEnded = !pEffects || pEffects->HasEnded();
        if (bEnded) {
            const auto pEncoder = m_state.m_pEncoderThread.Get();
            bEnded = !pEncoder || pEncoder->HasEnded();
        }
        if (bEnded) {
            m_bStagesEnded = true;
            return true;
        }
        if (GetTickCount() - dwStart > nMilliseconds)
            return false;
    }
}

void CPipelineHarness::Pump(uint32_t nMilliseconds)
{
    m_pQueue->WaitAndDispatch(
        [this](CMessage& msg) {
            if (const auto* pLine = msg.Payload<CLogPayload>())
                m_log.push_back({pLine->nKind, pLine->strText});
        },
        nMilliseconds);
}

const std::vector<LogLine>& CPipelineHarness::Log()
{
    Pump(0);
    return m_log;
}

std::vector<std::string> CPipelineHarness::ErrorLines()
{
    std::vector<std::string> lines;
    for (const LogLine& line : Log())
        if (line.nKind == LOG_ERROR)
            lines.push_back(line.strText);
    return lines;
}
