// Conversion of one file on three threads: decoding here, effects and
// encoding on the stage threads.
#include <cerrno>
#include <cstdio>
#include <string>

#include "engine/ConvRunState.h"
#include "engine/ConversionTask.h"
#include "engine/Stages.h"
#include "platform/Format.h"

namespace
{

constexpr size_t kMaxFileErrorChars = 1024;

// The first nMaxChars characters, never splitting one.
// What went wrong opening a file, in one line naming it.
std::string DescribeFileError(int nErrno, const std::string& strPath)
{
    const char* pszCause;
    switch (nErrno) {
    case ENOENT:
        pszCause = "%1 was not found.";
        break;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        pszCause = "%1 contains an incorrect path.";
        break;
    case EMFILE:
    case ENFILE:
        pszCause = "Could not open %1 because there are too many open files.";
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        pszCause = "Access to %1 was denied.";
        break;
    case EBUSY:
    case ETXTBSY:
        pszCause = "Encountered a sharing violation while accessing %1.";
        break;
    case EDEADLK:
    case ENOLCK:
        pszCause = "Encountered a locking violation while accessing %1.";
        break;
    case EIO:
        pszCause = "Encountered a hardware I/O error while accessing %1.";
        break;
    default:
        pszCause = "An unknown error occurred while accessing %1.";
        break;
    }
    std::string strText = pszCause;
    strText.replace(strText.find("%1"), 2, strPath);
    return TruncateUtf8(strText, kMaxFileErrorChars);
}

}  // namespace

void StartStageThread(CThreadSlot& slot, CWorkerThread::ThreadProc fnProc)
{
    auto pThread = CWorkerThread::CreateSuspended(std::move(fnProc));
    slot.Set(pThread);
    pThread->Resume();
}

int CConversionTask::Convert()
{
    g_pCurrentTask = this;
    m_bDecoding.store(1, std::memory_order_release);
    // Waiters must never find a thread of an earlier task here.
    g_pConvProg->m_pEffectsThread.Reset();
    g_pConvProg->m_pEncoderThread.Reset();

    std::FILE* pProbe = std::fopen(m_strSource.c_str(), "rb");
    if (!pProbe) {
        const int nErrno = errno;
        g_pConvProg->PostLog(LOG_ERROR, "File Error: %s", DescribeFileError(nErrno, m_strSource).c_str());
        g_pConvProg->m_bRunning.store(0, std::memory_order_release);
        m_bDecoding.store(0, std::memory_order_release);
        return 0;
    }
    std::fclose(pProbe);

    int nResult = 0;
    try {
        m_pEncoderInput = g_pProcessedRing;
        StartStageThread(g_pConvProg->m_pEffectsThread, [this] { EffectsThreadProc(this); });
        nResult = DecodeFlac();
    } catch (...) {
        g_pConvProg->m_bRunning.store(0, std::memory_order_release);
        g_pConvProg->PostLog(LOG_ERROR, "An error occurred while decoding %s", m_strSource.c_str());
        nResult = 0;
    }
    m_bDecoding.store(0, std::memory_order_release);
    return nResult;
}
