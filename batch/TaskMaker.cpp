#include "batch/TaskMaker.h"

std::string DestinationFileName(const std::string& strName)
{
    const size_t nDot = strName.rfind('.');
    // A name without extension keeps its name rather than becoming just "mp3".
    if (nDot == std::string::npos)
        return strName + ".mp3";
    return strName.substr(0, nDot + 1) + "mp3";
}

CConversionTask MakeConversionTask(const std::string& strFolder, const std::string& strName,
                                   const AudioFileInfo& info)
{
    CConversionTask task;
    task.m_strSource = strFolder + strName;
    task.m_strDest = g_settings.outputFolder + DestinationFileName(strName);
    task.m_nEntryMark = info.typeCode;
    task.m_nInRate = static_cast<int32_t>(info.sampleRate);
    task.m_nInChannels = static_cast<int32_t>(info.channels);
    task.m_nBitsPerSample = static_cast<uint8_t>(info.bitsPerSample);
    task.m_nOutSampleBytes = 2;
    task.m_bUseEffects = 1;
    task.m_nOutChannels = ResolveOutputChannels(static_cast<int>(info.channels));
    task.m_nOutRate = static_cast<int32_t>(ResolveOutputRate(info.sampleRate));

    const double dSource = static_cast<double>(info.sampleRate) * static_cast<double>(info.channels);
    task.m_dRateRatio = dSource > 0.0 ? static_cast<double>(static_cast<uint32_t>(task.m_nOutRate)) *
                                            static_cast<uint32_t>(task.m_nOutChannels) / dSource
                                      : 0.0;
    uint64_t nTotal = static_cast<uint64_t>(static_cast<double>(info.interleavedSamples) * task.m_dRateRatio);
    if (task.m_nOutChannels > 0)
        nTotal -= nTotal % static_cast<uint64_t>(task.m_nOutChannels);
    task.m_nTotalSamples = nTotal;
    return task;
}

void AddConversionTask(CConvRunState& runState, CConversionTask task)
{
    runState.m_nOverallTotal.fetch_add(task.m_nTotalSamples, std::memory_order_acq_rel);
    runState.m_arrTasks.push_back(std::move(task));
}
