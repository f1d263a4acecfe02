#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/ConvRunState.h"
#include "tests/support/FlacFixture.h"

struct LogLine
{
    int nKind;
    std::string strText;
};

// One conversion driven as the batch runner drives it: a run state posting
// to a message queue, fresh rings, a filled task, Convert on this thread,
// then bounded waits on the two stage threads while the queue is pumped.
class CPipelineHarness
{
public:
    CPipelineHarness();
    ~CPipelineHarness();

    const std::filesystem::path& Folder() const { return m_folder; }

    // Writes the FLAC fixture and fills the task for it; outputs as given.
    CConversionTask& PrepareTask(const std::string& strName, const FlacFixtureShape& shape, int nOutRate,
                                 int nOutChannels);

    // Converts the prepared task; returns what Convert returned.
    int Convert();

    // Waits (pumping the queue) until both stage threads have ended; false
    // when one is still running after nMilliseconds.
    bool WaitStages(uint32_t nMilliseconds);

    CConvRunState& State() { return m_state; }
    CConversionTask& Task() { return m_task; }
    const std::vector<LogLine>& Log();
    std::vector<std::string> ErrorLines();

private:
    void Pump(uint32_t nMilliseconds);

    std::filesystem::path m_folder;
    CConvRunState m_state;
    std::shared_ptr<CMessageQueue> m_pQueue;
    std::unique_ptr<SampleRing> m_pDecoded;
    std::unique_ptr<SampleRing> m_pProcessed;
    CConversionTask m_task;
    std::vector<LogLine> m_log;
    bool m_bStagesEnded = true;
};
