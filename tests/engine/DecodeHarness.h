#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ConvRunState.h"
#include "engine/RingBuffer.h"

struct LogLine
{
    int nKind;
    std::string strText;
    bool operator==(const LogLine&) const = default;
};

void PrintTo(const LogLine& line, std::ostream* pOut);

// What one decoding call left behind.
struct DecodeOutcome
{
    int nResult = -1;
    std::vector<int32_t> samples;
    std::vector<LogLine> logs;
    bool bStillRunning = false;
};

// A running batch's state for the decoding stage: a run state whose log goes
// to a queue, and the decoded ring, set into the engine's globals for the
// harness's life.
class CDecodeHarness
{
public:
    explicit CDecodeHarness(uint32_t nRingCapacity = kSampleRingCapacity);
    ~CDecodeHarness();
    CDecodeHarness(const CDecodeHarness&) = delete;
    CDecodeHarness& operator=(const CDecodeHarness&) = delete;

    CConvRunState& RunState() { return m_runState; }
    SampleRing& Ring() { return m_ring; }

    // Log lines posted since the last call, in posting order.
    std::vector<LogLine> TakeLogs();

    // Decodes on the calling thread while a reader thread empties the ring.
    DecodeOutcome DecodeDrained(CConversionTask& task);

    // Everything the ring holds now.
    std::vector<int32_t> DrainRing();

private:
    CConvRunState m_runState;
    std::shared_ptr<CMessageQueue> m_pQueue;
    SampleRing m_ring;
};

// A task for the decoding stage only.
CConversionTask MakeDecodeTask(const std::string& strSource, int32_t nChannels, uint8_t nBitsPerSample);

// A right-justified sample as the decoder leaves it in the ring.
int32_t LeftJustifiedMasked(int32_t nSample, uint32_t nBitsPerSample);
