#include "tests/engine/DecodeHarness.h"

#include <algorithm>
#include <atomic>
#include <ostream>
#include <thread>

#include "platform/Tick.h"

void PrintTo(const LogLine& line, std::ostream* pOut)
{
    *pOut << "{kind " << line.nKind << ", \"" << line.strText << "\"}";
}

CDecodeHarness::CDecodeHarness(uint32_t nRingCapacity)
    : m_pQueue(std::make_shared<CMessageQueue>()), m_ring(nRingCapacity)
{
    m_runState.SetMessageTarget(m_pQueue);
    m_runState.m_bRunning.store(1);
    g_pConvProg = &m_runState;
    g_pDecodedRing = &m_ring;
}

CDecodeHarness::~CDecodeHarness()
{
    g_pConvProg = nullptr;
    g_pDecodedRing = nullptr;
}

std::vector<LogLine> CDecodeHarness::TakeLogs()
{
    std::vector<LogLine> lines;
    m_pQueue->DispatchPending([&](CMessage& msg) {
        if (const auto* pLog = msg.Payload<CLogPayload>())
            lines.push_back({pLog->nKind, pLog->strText});
    });
    return lines;
}

std::vector<int32_t> CDecodeHarness::DrainRing()
{
    std::vector<int32_t> samples(m_ring.Readable(0));
    m_ring.Read(samples.data(), static_cast<uint32_t>(samples.size()), 0);
    return samples;
}

DecodeOutcome CDecodeHarness::DecodeDrained(CConversionTask& task)
{
    DecodeOutcome outcome;
    std::atomic<bool> bDecoded{false};
    std::thread reader([&] {
        std::vector<int32_t> chunk(1 << 16);
        for (;;) {
            // Read the flag first: once it is set, every block is in the ring.
            const bool bLast = bDecoded.load(std::memory_order_acquire);
            while (const uint32_t n = std::min<uint32_t>(m_ring.Readable(0), static_cast<uint32_t>(chunk.size()))) {
                m_ring.Read(chunk.data(), n, 0);
                outcome.samples.insert(outcome.samples.end(), chunk.begin(), chunk.begin() + n);
            }
            if (bLast)
                return;
            SleepMs(1);
        }
    });
    const int nResult = task.DecodeFlac();
    bDecoded.store(true, std::memory_order_release);
    reader.join();
    outcome.nResult = nResult;
    outcome.logs = TakeLogs();
    outcome.bStillRunning = m_runState.m_bRunning.load() != 0;
    return outcome;
}

CConversionTask MakeDecodeTask(const std::string& strSource, int32_t nChannels, uint8_t nBitsPerSample)
{
    CConversionTask task;
    task.m_strSource = strSource;
    task.m_nInChannels = nChannels;
    task.m_nBitsPerSample = nBitsPerSample;
    return task;
}

int32_t LeftJustifiedMasked(int32_t nSample, uint32_t nBitsPerSample)
{
    return static_cast<int32_t>((static_cast<uint32_t>(nSample) << (32 - nBitsPerSample)) & 0xFFC00000u);
}
