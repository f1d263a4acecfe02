#include "tests/engine_pipeline/Mp3Pcm.h"

#include <mpg123.h>

#include <cmath>

Mp3Pcm DecodeMp3Pcm(const std::string& strPath)
{
    Mp3Pcm pcm;
    mpg123_handle* pHandle = mpg123_new(nullptr, nullptr);
    if (!pHandle)
        return pcm;
    mpg123_param(pHandle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(pHandle);
    const long* pRates = nullptr;
    size_t nRates = 0;
    mpg123_rates(&pRates, &nRates);
    for (size_t i = 0; i < nRates; ++i)
        mpg123_format(pHandle, pRates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(pHandle, strPath.c_str()) == MPG123_OK) {
        for (;;) {
            unsigned char buffer[16384];
            size_t nBytes = 0;
            const int nResult = mpg123_read(pHandle, buffer, sizeof buffer, &nBytes);
            const auto* pSamples = reinterpret_cast<const int16_t*>(buffer);
            pcm.samples.insert(pcm.samples.end(), pSamples, pSamples + nBytes / sizeof(int16_t));
            if (nResult == MPG123_NEW_FORMAT) {
                long nRate = 0;
                int nEncoding = 0;
                mpg123_getformat(pHandle, &nRate, &pcm.nChannels, &nEncoding);
            } else if (nResult != MPG123_OK) {
                break;
            }
        }
        mpg123_close(pHandle);
    }
    mpg123_delete(pHandle);
    return pcm;
}

double MiddleRms(const Mp3Pcm& pcm, int nChannel)
{
    const size_t nFrames = pcm.nChannels ? pcm.samples.size() / pcm.nChannels : 0;
    double dSum = 0.0;
    size_t nCount = 0;
    for (size_t i = nFrames / 4; i < nFrames * 3 / 4; ++i, ++nCount) {
        const double dValue = pcm.samples[i * pcm.nChannels + nChannel] / 32768.0;
        dSum += dValue * dValue;
    }
    return nCount ? std::sqrt(dSum / nCount) : 0.0;
}
