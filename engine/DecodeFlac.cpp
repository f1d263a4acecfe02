#include <FLAC/stream_decoder.h>
#include <cstdarg>
#include <cstdio>

#include "engine/ConvRunState.h"
#include "engine/ConversionTask.h"
#include "platform/Format.h"
#include "platform/Tick.h"

namespace {

// The frame header can describe one sample more per channel than STREAMINFO
// (65,536), and libFLAC delivers such blocks; a buffer of that size per
// channel takes every block without a size check per frame.
constexpr uint32_t kMaxBlockSamples = FLAC__MAX_BLOCK_SIZE + 1;

// The largest block must fit the ring, or the decoder would wait for room forever.
static_assert(kMaxBlockSamples * FLAC__MAX_CHANNELS < kSampleRingCapacity);

bool IsRunning()
{
    return g_pConvProg->m_bRunning.load(std::memory_order_acquire) != 0;
}

// Posts an error line and stops the batch. Called from libFLAC's callbacks,
// so nothing may escape it.
__attribute__((format(printf, 1, 2))) void StopWithError(const char* pszFormat, ...) noexcept
{
    va_list args;
    va_start(args, pszFormat);
    try {
        const std::string strLine = StringFormatV(pszFormat, args);
        g_pConvProg->PostLog(LOG_ERROR, "%s", strLine.c_str());
    } catch (...) {
        // Out of memory for the line: the stop below still ends the batch.
    }
    va_end(args);
    g_pConvProg->m_bRunning.store(0, std::memory_order_release);
}

// Releases what one decoding call holds, on every way out of it.
class CDecodeResources
{
public:
    CDecodeResources(CConversionTask& task, FLAC__StreamDecoder* pDecoder) : m_task(task), m_pDecoder(pDecoder) {}
    ~CDecodeResources()
    {
        if (m_task.m_pSourceFile) {
            std::fclose(m_task.m_pSourceFile);
            m_task.m_pSourceFile = nullptr;
        }
        FLAC__stream_decoder_delete(m_pDecoder);
        delete[] m_task.m_pDecodeBuffer;
        m_task.m_pDecodeBuffer = nullptr;
    }
    CDecodeResources(const CDecodeResources&) = delete;
    CDecodeResources& operator=(const CDecodeResources&) = delete;

private:
    CConversionTask& m_task;
    FLAC__StreamDecoder* m_pDecoder;
};

FLAC__StreamDecoderReadStatus FlacReadCallback(const FLAC__StreamDecoder*, FLAC__byte buffer[], size_t* pnBytes,
                                               void* pClientData) noexcept
{
    auto* pTask = static_cast<CConversionTask*>(pClientData);
    if (*pnBytes == 0)
        return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    *pnBytes = std::fread(buffer, 1, *pnBytes, pTask->m_pSourceFile);
    if (std::ferror(pTask->m_pSourceFile) || !IsRunning())
        return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    return *pnBytes == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
}

// The stage scales and interleaves by the task's format, so a frame of any
// other layout (a stream that changes mid-way, or a STREAMINFO that lies)
// would be mis-scaled or overrun the buffer.
bool FrameMatchesTask(const FLAC__FrameHeader& header, const CConversionTask& task)
{
    if (header.channels != static_cast<uint32_t>(task.m_nInChannels)) {
        StopWithError("Frame has %u channel(s), expected %d.", header.channels, task.m_nInChannels);
        return false;
    }
    if (header.bits_per_sample != task.m_nBitsPerSample) {
        StopWithError("Frame has %u bits per sample, expected %u.", header.bits_per_sample,
                      static_cast<unsigned>(task.m_nBitsPerSample));
        return false;
    }
    return true;
}

FLAC__StreamDecoderWriteStatus FlacWriteCallback(const FLAC__StreamDecoder*, const FLAC__Frame* pFrame,
                                                 const FLAC__int32* const ppChannels[], void* pClientData) noexcept
{
    auto* pTask = static_cast<CConversionTask*>(pClientData);
    if (!IsRunning() || !FrameMatchesTask(pFrame->header, *pTask))
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;

    const uint32_t nBlock = pFrame->header.blocksize;
    const uint32_t nChannels = pFrame->header.channels;
    const uint32_t nSamples = nBlock * nChannels;
    // A block goes into the ring whole, so the next stage never sees part of a frame.
    while (g_pDecodedRing->Writable() < nSamples) {
        SleepMs(1);
        if (!IsRunning())
            return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    }

    // Left-justify in unsigned arithmetic: negative samples shift without overflow.
    const uint32_t nShift = 32u - pTask->m_nBitsPerSample;
    int32_t* pOut = pTask->m_pDecodeBuffer;
    for (uint32_t i = 0; i < nBlock; ++i)
        for (uint32_t c = 0; c < nChannels; ++c)
            *pOut++ = static_cast<int32_t>((static_cast<uint32_t>(ppChannels[c][i]) << nShift) & g_nSampleMask);
    g_pDecodedRing->Write(pTask->m_pDecodeBuffer, nSamples);
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void FlacErrorCallback(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus nStatus, void*) noexcept
{
    StopWithError("Got error callback: %s.", FLAC__StreamDecoderErrorStatusString[nStatus]);
}

} // namespace

int CConversionTask::DecodeFlac()
{
    // The probe fills these in; a task made otherwise must not size or
    // shift by nonsense.
    if (m_nInChannels < 1 || m_nInChannels > static_cast<int32_t>(FLAC__MAX_CHANNELS) || m_nBitsPerSample < 1 ||
        m_nBitsPerSample > 32) {
        StopWithError("Cannot decode %d channels of %u bits per sample.", m_nInChannels,
                      static_cast<unsigned>(m_nBitsPerSample));
        return 0;
    }

    FLAC__StreamDecoder* pDecoder = FLAC__stream_decoder_new();
    if (!pDecoder) {
        StopWithError("ERROR: allocating decoder.");
        return 0;
    }
    CDecodeResources resources(*this, pDecoder);

    FLAC__stream_decoder_set_metadata_ignore_all(pDecoder);
    FLAC__stream_decoder_set_md5_checking(pDecoder, false);
    const FLAC__StreamDecoderInitStatus nInitStatus =
        FLAC__stream_decoder_init_stream(pDecoder, FlacReadCallback, nullptr, nullptr, nullptr, nullptr,
                                         FlacWriteCallback, nullptr, FlacErrorCallback, this);

    m_pDecodeBuffer = new int32_t[static_cast<size_t>(kMaxBlockSamples) * m_nInChannels]();

    if (nInitStatus != FLAC__STREAM_DECODER_INIT_STATUS_OK) {
        StopWithError("ERROR: initializing decoder: %s", FLAC__StreamDecoderInitStatusString[nInitStatus]);
        return 0;
    }

    m_pSourceFile = std::fopen(m_strSource.c_str(), "rb");
    if (!m_pSourceFile) {
        StopWithError("Error opening file %s", m_strSource.c_str());
        return 0;
    }

    if (!FLAC__stream_decoder_process_until_end_of_stream(pDecoder)) {
        StopWithError("state: %s", FLAC__StreamDecoderStateString[FLAC__stream_decoder_get_state(pDecoder)]);
        return 0;
    }
    if (!FLAC__stream_decoder_finish(pDecoder)) {
        StopWithError("Fail to finish flac file!");
        return 0;
    }
    return 1;
}
