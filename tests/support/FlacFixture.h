#pragma once
#include <cstdint>
#include <string>
#include <vector>

// FLAC files made by the tests with libFLAC's encoder, so every sample value,
// depth, channel count, rate and block size is known exactly.
struct FlacFixtureShape
{
    uint32_t sampleRate = 44100;
    uint32_t channels = 2;
    uint32_t bitsPerSample = 16;
    uint32_t blockSize = 4096;
    // Interleaved, right-justified at bitsPerSample.
    std::vector<int32_t> samples;
};

// Writes the file; returns false (and leaves no file) when libFLAC refuses.
bool WriteFlacFixture(const std::string& strPath, const FlacFixtureShape& shape);

// A sine of the given frequency and peak (fraction of full scale) on every
// channel, nFrames frames long, right-justified at bitsPerSample.
std::vector<int32_t> MakeSine(uint32_t nFrames, uint32_t nChannels, uint32_t nBitsPerSample, uint32_t nSampleRate,
                              double dFrequency, double dPeak);
