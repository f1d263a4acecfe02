#include "tests/support/FlacFixture.h"

#include <FLAC/stream_encoder.h>

#include <cmath>
#include <cstdio>

bool WriteFlacFixture(const std::string& strPath, const FlacFixtureShape& shape)
{
    FLAC__StreamEncoder* pEncoder = FLAC__stream_encoder_new();
    if (!pEncoder)
        return false;
    FLAC__stream_encoder_set_channels(pEncoder, shape.channels);
    FLAC__stream_encoder_set_bits_per_sample(pEncoder, shape.bitsPerSample);
    FLAC__stream_encoder_set_sample_rate(pEncoder, shape.sampleRate);
    FLAC__stream_encoder_set_blocksize(pEncoder, shape.blockSize);
    FLAC__stream_encoder_set_compression_level(pEncoder, 0);
    FLAC__stream_encoder_set_streamable_subset(pEncoder, false);
    FLAC__stream_encoder_set_total_samples_estimate(pEncoder, shape.samples.size() / shape.channels);
    bool bOk = FLAC__stream_encoder_init_file(pEncoder, strPath.c_str(), nullptr, nullptr) ==
               FLAC__STREAM_ENCODER_INIT_STATUS_OK;
    if (bOk && !shape.samples.empty())
        bOk = FLAC__stream_encoder_process_interleaved(pEncoder, shape.samples.data(),
                                                       static_cast<uint32_t>(shape.samples.size() / shape.channels));
    bOk = FLAC__stream_encoder_finish(pEncoder) && bOk;
    FLAC__stream_encoder_delete(pEncoder);
    if (!bOk)
        std::remove(strPath.c_str());
    return bOk;
}

std::vector<int32_t> MakeSine(uint32_t nFrames, uint32_t nChannels, uint32_t nBitsPerSample, uint32_t nSampleRate,
                              double dFrequency, double dPeak)
{
    const double dFullScale = std::ldexp(1.0, static_cast<int>(nBitsPerSample) - 1) - 1.0;
    std::vector<int32_t> samples(static_cast<size_t>(nFrames) * nChannels);
    for (uint32_t i = 0; i < nFrames; ++i) {
        const double dValue = dPeak * dFullScale * std::sin(2.0 * M_PI * dFrequency * i / nSampleRate);
        for (uint32_t c = 0; c < nChannels; ++c)
            samples[static_cast<size_t>(i) * nChannels + c] = static_cast<int32_t>(std::lround(dValue));
    }
    return samples;
}
