// The six exported functions over libmp3lame.
#include "lame_enc/BladeEncoder.h"

#include <memory>
#include <vector>

#include "lame_enc/EncoderSetup.h"
#include "lame_enc/InfoTagWriter.h"
#include "lame_enc/StreamTable.h"

namespace {

// libmp3lame's bound for one call: 1.25 bytes per sample and channel plus
// 7200 bytes, which also covers the final flush.
uint32_t OutputBytesFor(int nFrameSize)
{
    return static_cast<uint32_t>(nFrameSize) * 5 / 4 + 7200;
}

std::vector<uint8_t> ReadTagFrame(lame_t pLame)
{
    std::vector<uint8_t> tagFrame(lame_get_lametag_frame(pLame, nullptr, 0));
    if (!tagFrame.empty() && lame_get_lametag_frame(pLame, tagFrame.data(), tagFrame.size()) != tagFrame.size())
        tagFrame.clear();
    return tagFrame;
}

}  // namespace

extern "C" {

uint32_t beInitStream(const EncoderConfig* pConfig, uint32_t* pnChunkSamples, uint32_t* pnOutputBytes,
                      EncoderStream* phStream, int32_t, int32_t, const char*, const char*, const char*, const char*,
                      const char*, const char*, const char*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    if (!pConfig || !pnChunkSamples || !pnOutputBytes || !phStream)
        return kEncoderBadArgument;
    EncoderSetup setup;
    if (const uint32_t nError = ReadEncoderConfig(*pConfig, setup); nError != kEncoderOk)
        return nError;

    auto pStream = std::make_unique<EncoderStreamState>();
    pStream->pLame.reset(lame_init());
    if (!pStream->pLame || !ApplyEncoderSetup(setup, *pConfig, pStream->pLame.get()))
        return kEncoderFailed;
    const int nFrameSize = lame_get_framesize(pStream->pLame.get());
    pStream->channels = setup.channels;
    pStream->chunkSamples = static_cast<uint32_t>(nFrameSize * setup.channels);
    pStream->outputBytes = OutputBytesFor(nFrameSize);

    const uint32_t nChunkSamples = pStream->chunkSamples;
    const uint32_t nOutputBytes = pStream->outputBytes;
    const EncoderStream hStream = CStreamTable::Instance().Open(std::move(pStream));
    if (hStream == 0)
        return kEncoderNoMoreStreams;
    *pnChunkSamples = nChunkSamples;
    *pnOutputBytes = nOutputBytes;
    *phStream = hStream;
    return kEncoderOk;
}

uint32_t beEncodeChunkFloatS16NI(EncoderStream hStream, uint32_t nSamplesPerChannel, const float* pLeft,
                                 const float* pRight, uint8_t* pOutput, uint32_t* pnWritten)
{
    EncoderStreamState* pStream = CStreamTable::Instance().Find(hStream);
    if (!pStream)
        return kEncoderBadHandle;
    if (!pLeft || !pOutput || !pnWritten || (pStream->channels == 2 && !pRight) ||
        nSamplesPerChannel > pStream->chunkSamples / static_cast<uint32_t>(pStream->channels))
        return kEncoderBadArgument;
    if (pStream->flushed)
        return kEncoderFailed;
    const int nBytes = lame_encode_buffer_float(pStream->pLame.get(), pLeft, pStream->channels == 2 ? pRight : pLeft,
                                                static_cast<int>(nSamplesPerChannel), pOutput,
                                                static_cast<int>(pStream->outputBytes));
    if (nBytes < 0)
        return kEncoderFailed;
    *pnWritten = static_cast<uint32_t>(nBytes);
    return kEncoderOk;
}

uint32_t beDeinitStream(EncoderStream hStream, uint8_t* pOutput, uint32_t* pnWritten)
{
    EncoderStreamState* pStream = CStreamTable::Instance().Find(hStream);
    if (!pStream)
        return kEncoderBadHandle;
    if (!pOutput || !pnWritten)
        return kEncoderBadArgument;
    if (pStream->flushed)
        return kEncoderFailed;
    const int nBytes = lame_encode_flush(pStream->pLame.get(), pOutput, static_cast<int>(pStream->outputBytes));
    if (nBytes < 0)
        return kEncoderFailed;
    pStream->flushed = true;
    pStream->tagFrame = ReadTagFrame(pStream->pLame.get());
    *pnWritten = static_cast<uint32_t>(nBytes);
    return kEncoderOk;
}

uint32_t beCloseStream(EncoderStream hStream)
{
    return CStreamTable::Instance().Close(hStream) ? kEncoderOk : kEncoderBadHandle;
}

uint32_t beWriteVBRHeader(const char* pszPath)
{
    if (!pszPath)
        return kEncoderBadArgument;
    std::vector<uint8_t> tagFrame;
    if (!CStreamTable::Instance().LastTag(tagFrame))
        return kEncoderNoTag;
    return WriteInfoTag(pszPath, tagFrame);
}

uint32_t beWriteInfoTag(EncoderStream hStream, const char* pszPath)
{
    if (!pszPath)
        return kEncoderBadArgument;
    std::vector<uint8_t> tagFrame;
    if (!CStreamTable::Instance().TakeTag(hStream, tagFrame))
        return kEncoderNoTag;
    return WriteInfoTag(pszPath, tagFrame);
}

}  // extern "C"
