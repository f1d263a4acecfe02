// The MP3 encoding stage: processed samples from the task's ring into the
// MP3 file through our encoder library, loaded at run time.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/ConvRunState.h"
#include "engine/ConversionTask.h"
#include "engine/Stages.h"
#include "lame_enc/BladeEncoder.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/MessageBox.h"
#include "platform/SharedLibrary.h"
#include "platform/Tick.h"
#include "settings/ConversionSettings.h"

namespace {

constexpr char kLibraryFileName[] = "liblame_enc.so";
constexpr uint8_t kEncoderQuality = 9;
constexpr uint32_t kProgressPeriodMs = 100;
constexpr uint32_t kPausePollMs = 100;
constexpr float kSampleScale = 1.0f / 65536.0f;  // 32-bit full scale to the 16-bit range

std::string g_strLibraryOverride;

bool LoadEncoderLibrary(CSharedLibrary& library)
{
    if (!g_strLibraryOverride.empty())
        return library.Load(g_strLibraryOverride);
    // Next to the program in the build tree; ../lib/kestrune once installed.
    const std::string strFolder = ExecutableFolder();
    return library.Load(strFolder + kLibraryFileName) ||
           library.Load(strFolder + "../lib/kestrune/" + kLibraryFileName);
}

// The library's entry points; beWriteInfoTag is optional.
struct EncoderApi
{
    BeInitStreamFn* pInitStream = nullptr;
    BeEncodeChunkFloatS16NIFn* pEncodeChunk = nullptr;
    BeDeinitStreamFn* pDeinitStream = nullptr;
    BeCloseStreamFn* pCloseStream = nullptr;
    BeWriteVBRHeaderFn* pWriteVbrHeader = nullptr;
    BeWriteInfoTagFn* pWriteInfoTag = nullptr;

    bool Resolve(const CSharedLibrary& library)
    {
        pInitStream = library.Function<BeInitStreamFn>("beInitStream");
        pEncodeChunk = library.Function<BeEncodeChunkFloatS16NIFn>("beEncodeChunkFloatS16NI");
        pDeinitStream = library.Function<BeDeinitStreamFn>("beDeinitStream");
        pCloseStream = library.Function<BeCloseStreamFn>("beCloseStream");
        pWriteVbrHeader = library.Function<BeWriteVBRHeaderFn>("beWriteVBRHeader");
        pWriteInfoTag = library.Function<BeWriteInfoTagFn>("beWriteInfoTag");
        return pInitStream && pEncodeChunk && pDeinitStream && pCloseStream && pWriteVbrHeader;
    }
};

EncoderConfig MakeEncoderConfig(const CConversionTask& task)
{
    EncoderConfig config{};
    config.configKind = kEncoderConfigKind;
    config.recordVersion = kEncoderConfigVersion;
    config.recordSize = kEncoderConfigSize;
    config.sampleRate = static_cast<uint32_t>(task.m_nOutRate);
    config.outputRate = 0;
    config.mode = task.m_nOutChannels == 1 ? kEncoderModeMono : kEncoderModeStereo;
    config.bitrate = static_cast<uint32_t>(CurrentBitrateKbps());
    config.preset = kEncoderNoPreset;
    config.mpegVersion = 1;
    config.writeVbrHeader = 1;
    config.disableReservoir = 1;
    config.quality = EncoderQualityWord(kEncoderQuality);
    return config;
}

// A task without an expected count shows 0 while it runs and 100 when done.
float Percent(uint64_t nDone, uint64_t nTotal, bool bFinished)
{
    if (nTotal == 0)
        return bFinished ? 100.0f : 0.0f;
    return static_cast<float>(static_cast<double>(nDone) * 100.0 / static_cast<double>(nTotal));
}

struct FileCloser
{
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// One file's encoding with a loaded library: the open stream, the output
// file and the work buffers, all made once per file.
class CStreamEncoder
{
public:
    CStreamEncoder(CConversionTask& task, const EncoderApi& api)
        : m_task(task), m_api(api), m_run(*g_pConvProg), m_bStereo(task.m_nOutChannels != 1)
    {
    }
    ~CStreamEncoder() { CloseStream(); }
    CStreamEncoder(const CStreamEncoder&) = delete;
    CStreamEncoder& operator=(const CStreamEncoder&) = delete;

    // Creates the file and opens the stream; false after posting the failure.
    bool Open()
    {
        m_pFile.reset(std::fopen(m_task.m_strDest.c_str(), "w+b"));
        if (!m_pFile) {
            Fail(StringFormat("Error creating file %s", m_task.m_strDest.c_str()));
            return false;
        }
        const EncoderConfig config = MakeEncoderConfig(m_task);
        const uint32_t nError = m_api.pInitStream(&config, &m_nChunkSamples, &m_nOutputBytes, &m_hStream, 0, 0, "",
                                                  "", "", "", "", "", "", 0, 0, 30, 5, 16000, 2400);
        m_bStreamOpen = true;
        if (nError != kEncoderOk) {
            Fail(StringFormat("Error opening encoding stream (%lu)", static_cast<unsigned long>(nError)));
            CloseStream();
            return false;
        }
        m_input.resize(m_nChunkSamples);
        m_left.resize(m_bStereo ? m_nChunkSamples / 2 : m_nChunkSamples);
        m_right.resize(m_bStereo ? m_nChunkSamples / 2 : 0);
        m_output.resize(m_nOutputBytes);
        return true;
    }

    // Encodes chunks until the last one or until the batch stops; false when
    // the library failed and the stream was given up.
    bool EncodeChunks()
    {
        SampleRing& ring = *m_task.m_pEncoderInput;
        uint32_t dwLastReport = GetTickCount();
        while (m_run.m_bRunning.load(std::memory_order_acquire)) {
            if (m_run.m_bPaused.load(std::memory_order_acquire)) {
                SleepMs(kPausePollMs);
                continue;
            }
            if (GetTickCount() - dwLastReport > kProgressPeriodMs) {
                dwLastReport = GetTickCount();
                ReportProgress(false);
            }
            // The flags first: once both are clear, every sample is in the ring.
            const bool bUpstreamDone = !m_task.m_bDecoding.load(std::memory_order_acquire) &&
                                       !m_task.m_bEffecting.load(std::memory_order_acquire);
            const uint32_t nAvailable = ring.Readable(0);
            uint32_t nSamples = m_nChunkSamples;
            if (nAvailable < m_nChunkSamples) {
                if (!bUpstreamDone) {
                    SleepMs(1);
                    continue;
                }
                nSamples = nAvailable;
            }
            ring.Read(m_input.data(), nSamples, 0);
            if (!EncodeChunk(nSamples))
                return false;
            CountEncoded(nSamples);
            if (nSamples < m_nChunkSamples)
                break;  // the last, short chunk
        }
        return true;
    }

    // Flushes and closes the stream, closes the file and has the library tag it.
    void Finish()
    {
        uint32_t nWritten = 0;
        const uint32_t nError = m_api.pDeinitStream(m_hStream, m_output.data(), &nWritten);
        if (nError != kEncoderOk) {
            CloseStream();
            Fail(StringFormat("beExitStream failed (%lu)", static_cast<unsigned long>(nError)));
        }
        WriteOutput(nWritten);
        CloseStream();
        FreeBuffers();
        // Buffered bytes reach the disk only here: a failing close is a write error.
        if (std::fclose(m_pFile.release()) != 0)
            Fail("Output file write error");
        if (m_api.pWriteInfoTag)
            m_api.pWriteInfoTag(m_hStream, m_task.m_strDest.c_str());
        else
            m_api.pWriteVbrHeader(m_task.m_strDest.c_str());
    }

    void ReportProgress(bool bFinished)
    {
        m_run.PostProgress(Percent(m_run.m_nCurrentDone.load(), m_task.m_nTotalSamples, bFinished),
                           Percent(m_run.m_nOverallDone.load(), m_run.m_nOverallTotal.load(), bFinished), bFinished);
    }

private:
    bool EncodeChunk(uint32_t nSamples)
    {
        uint32_t nPerChannel = nSamples;
        if (m_bStereo) {
            nPerChannel = nSamples / 2;
            for (uint32_t i = 0; i < nPerChannel; ++i) {
                m_left[i] = static_cast<float>(m_input[2 * i]) * kSampleScale;
                m_right[i] = static_cast<float>(m_input[2 * i + 1]) * kSampleScale;
            }
        } else {
            for (uint32_t i = 0; i < nSamples; ++i)
                m_left[i] = static_cast<float>(m_input[i]) * kSampleScale;
        }
        uint32_t nWritten = 0;
        const uint32_t nError = m_api.pEncodeChunk(m_hStream, nPerChannel, m_left.data(),
                                                   m_bStereo ? m_right.data() : nullptr, m_output.data(), &nWritten);
        if (nError != kEncoderOk) {
            CloseStream();
            Fail(StringFormat("beEncodeChunk() failed (%lu)", static_cast<unsigned long>(nError)));
            return false;
        }
        WriteOutput(nWritten);
        return true;
    }

    void WriteOutput(uint32_t nBytes)
    {
        if (nBytes > 0 && std::fwrite(m_output.data(), 1, nBytes, m_pFile.get()) != nBytes)
            Fail("Output file write error");
    }

    void CountEncoded(uint32_t nSamples)
    {
        m_run.m_nCurrentDone.fetch_add(nSamples, std::memory_order_release);
        m_run.m_nOverallDone.fetch_add(nSamples, std::memory_order_release);
        const float fSeconds = m_task.SamplesToSeconds(nSamples);
        m_run.m_fOverallSeconds.fetch_add(fSeconds, std::memory_order_release);
        m_run.m_fCurrentSeconds.fetch_add(fSeconds, std::memory_order_release);
    }

    void FreeBuffers()
    {
        m_input = {};
        m_left = {};
        m_right = {};
        m_output = {};
    }

    // Releases the stream once, also when an exception ends the stage.
    void CloseStream()
    {
        if (m_bStreamOpen) {
            m_bStreamOpen = false;
            m_api.pCloseStream(m_hStream);
        }
    }

    void Fail(const std::string& strLine)
    {
        m_run.PostLog(LOG_ERROR, "%s", strLine.c_str());
        m_run.m_bRunning.store(0, std::memory_order_release);
    }

    CConversionTask& m_task;
    const EncoderApi& m_api;
    CConvRunState& m_run;
    const bool m_bStereo;
    FilePtr m_pFile;
    EncoderStream m_hStream = 0;
    bool m_bStreamOpen = false;
    uint32_t m_nChunkSamples = 0;
    uint32_t m_nOutputBytes = 0;
    std::vector<int32_t> m_input;
    std::vector<float> m_left;
    std::vector<float> m_right;
    std::vector<uint8_t> m_output;
};

void FailWithBox(const char* pszLogLine, const char* pszBoxText)
{
    g_pConvProg->PostLog(LOG_ERROR, "%s", pszLogLine);
    ShowMessageBox(pszBoxText, kMessageBoxCaption, MB_OK | MB_ICONERROR);
    g_pConvProg->m_bRunning.store(0, std::memory_order_release);
}

}  // namespace

void SetEncoderLibraryPath(const std::string& strPath)
{
    g_strLibraryOverride = strPath;
}

unsigned int EncoderThreadProc(CConversionTask* pTask)
{
    pTask->Encode();
    return 0;
}

int CConversionTask::Encode()
{
    m_bEncoding.store(1, std::memory_order_release);
    int nResult = 0;
    try {
        nResult = EncodeStream();
    } catch (...) {
        g_pConvProg->PostLog(LOG_ERROR, "An error occurred while encoding %s", m_strDest.c_str());
        g_pConvProg->m_bRunning.store(0, std::memory_order_release);
        nResult = 0;
    }
    m_bEncoding.store(0, std::memory_order_release);
    return nResult;
}

int CConversionTask::EncodeStream()
{
    CSharedLibrary library;
    if (!LoadEncoderLibrary(library)) {
        FailWithBox("Error loading liblame_enc.so", "Error Loading liblame_enc.so");
        return 0;
    }
    EncoderApi api;
    if (!api.Resolve(library)) {
        FailWithBox("Unable to get LAME interfaces", "Unable to Get LAME Interfaces");
        return 0;
    }
    CStreamEncoder encoder(*this, api);
    if (!encoder.Open() || !encoder.EncodeChunks())
        return 0;
    encoder.Finish();
    encoder.ReportProgress(true);
    return 1;
}
