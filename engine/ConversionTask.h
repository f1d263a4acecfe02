#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/RingBuffer.h"

// One FLAC file to convert into one MP3 file. The stage flags are read by
// other stages' threads, hence atomic; copying a task copies every member.
class CConversionTask
{
public:
    CConversionTask() = default;
    CConversionTask(const CConversionTask& other);
    CConversionTask& operator=(const CConversionTask& other);

    // Converts the file on three threads; decodes on the calling thread.
    // 1 when decoding ran to its end, 0 otherwise. Later stages report
    // failure only by clearing the run state's m_bRunning.
    int Convert();

    // The three stages.
    int DecodeFlac();
    int RunEffects();
    int Encode();
    int EncodeStream();

    float SamplesToSeconds(uint64_t nSamples) const;

    std::string m_strSource;
    int32_t m_nEntryMark = -1;
    int32_t m_nInRate = -1;
    int32_t m_nInChannels = -1;
    std::string m_strDest;
    int32_t m_nOutSampleBytes = -1;
    int32_t m_nOutRate = -1;
    int32_t m_nOutChannels = -1;
    uint64_t m_nTotalSamples = 0;
    double m_dRateRatio = 0.0;
    int32_t m_bUseEffects = 0;
    std::atomic<int32_t> m_bDecoding{0};
    std::atomic<int32_t> m_bEncoding{0};
    std::atomic<int32_t> m_bEffecting{0};
    SampleRing* m_pEncoderInput = nullptr;
    int32_t* m_pDecodeBuffer = nullptr;
    std::FILE* m_pSourceFile = nullptr;
    uint8_t m_nBitsPerSample = 0;
};

// The task being converted; the effects stage reads it through this pointer.
extern CConversionTask* g_pCurrentTask;

// Keeps the ten most significant bits of every left-justified sample.
inline constexpr uint32_t g_nSampleMask = 0xFFC00000u;
