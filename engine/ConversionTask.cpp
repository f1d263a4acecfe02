#include "engine/ConversionTask.h"

CConversionTask* g_pCurrentTask = nullptr;

CConversionTask::CConversionTask(const CConversionTask& other)
{
    *this = other;
}

CConversionTask& CConversionTask::operator=(const CConversionTask& other)
{
    if (this == &other)
        return *this;
    m_strSource = other.m_strSource;
    m_nEntryMark = other.m_nEntryMark;
    m_nInRate = other.m_nInRate;
    m_nInChannels = other.m_nInChannels;
    m_strDest = other.m_strDest;
    m_nOutSampleBytes = other.m_nOutSampleBytes;
    m_nOutRate = other.m_nOutRate;
    m_nOutChannels = other.m_nOutChannels;
    m_nTotalSamples = other.m_nTotalSamples;
    m_dRateRatio = other.m_dRateRatio;
    m_bUseEffects = other.m_bUseEffects;
    m_bDecoding.store(other.m_bDecoding.load());
    m_bEncoding.store(other.m_bEncoding.load());
    m_bEffecting.store(other.m_bEffecting.load());
    m_pEncoderInput = other.m_pEncoderInput;
    m_pDecodeBuffer = other.m_pDecodeBuffer;
    m_pSourceFile = other.m_pSourceFile;
    m_nBitsPerSample = other.m_nBitsPerSample;
    return *this;
}

float CConversionTask::SamplesToSeconds(uint64_t nSamples) const
{
    return static_cast<float>(static_cast<double>(nSamples) / (static_cast<double>(m_nOutChannels) * m_nOutRate));
}
