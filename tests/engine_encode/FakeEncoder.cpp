#include "tests/engine_encode/FakeEncoder.h"

#include <cstring>

#include "lame_enc/BladeEncoder.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
FakeEncoder g_fake;
constexpr EncoderStream kHandle = 42;
}  // namespace

FAKE_EXPORT FakeEncoder* FakeEncoderState()
{
    return &g_fake;
}

#ifndef FAKE_WITHOUT_FUNCTIONS
FAKE_EXPORT uint32_t beInitStream(const EncoderConfig*, uint32_t* pnChunk, uint32_t* pnOutput, EncoderStream* phStream,
                                  int32_t, int32_t, const char*, const char*, const char*, const char*, const char*,
                                  const char*, const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    g_fake.events.push_back("init");
    if (g_fake.initResult != 0)
        return g_fake.initResult;
    *pnChunk = g_fake.chunkSamples;
    *pnOutput = 4096;
    *phStream = kHandle;
    return 0;
}

FAKE_EXPORT uint32_t beEncodeChunkFloatS16NI(EncoderStream, uint32_t nSamples, const float* pLeft, const float* pRight,
                                             uint8_t* pOutput, uint32_t* pnWritten)
{
    g_fake.events.push_back("encode");
    g_fake.encodeCalls.push_back(
        {nSamples, pRight == nullptr, nSamples ? pLeft[0] : 0.0f, nSamples && pRight ? pRight[0] : 0.0f});
    if (g_fake.encodeResult != 0)
        return g_fake.encodeResult;
    std::memset(pOutput, 'e', g_fake.bytesPerCall);
    *pnWritten = g_fake.bytesPerCall;
    return 0;
}

FAKE_EXPORT uint32_t beDeinitStream(EncoderStream, uint8_t* pOutput, uint32_t* pnWritten)
{
    g_fake.events.push_back("deinit");
    std::memset(pOutput, 'd', g_fake.bytesPerCall);
    *pnWritten = g_fake.bytesPerCall;
    return g_fake.deinitResult;
}

FAKE_EXPORT uint32_t beCloseStream(EncoderStream)
{
    g_fake.events.push_back("close");
    return 0;
}

FAKE_EXPORT uint32_t beWriteVBRHeader(const char* pszPath)
{
    g_fake.events.push_back("vbrheader");
    g_fake.taggedPath = pszPath;
    return 0;
}

#ifndef FAKE_WITHOUT_INFO_TAG
FAKE_EXPORT uint32_t beWriteInfoTag(EncoderStream, const char* pszPath)
{
    g_fake.events.push_back("infotag");
    g_fake.taggedPath = pszPath;
    return 0;
}
#endif
#endif
