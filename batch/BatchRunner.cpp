#include "batch/BatchRunner.h"

#include "batch/ProgressText.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/Tick.h"
#include "settings/ConversionSettings.h"

namespace {

const std::string kSeparator(99, '-');

double SecondsSince(uint32_t dwStart)
{
    return static_cast<uint32_t>(GetTickCount() - dwStart) / 1000.0;
}

std::string FolderOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash);
}

}  // namespace

std::string CBatchRunner::MakeUniquePath(const std::string& strPath)
{
    // Only a dot in the file name itself starts the extension.
    const size_t nSlash = strPath.rfind('/');
    size_t nDot = strPath.rfind('.');
    if (nDot == std::string::npos || (nSlash != std::string::npos && nDot < nSlash))
        nDot = strPath.size();
    const std::string strStem = strPath.substr(0, nDot);
    const std::string strExt = strPath.substr(nDot);
    for (int n = 2;; ++n) {
        std::string strCandidate = StringFormat("%s (%d)%s", strStem.c_str(), n, strExt.c_str());
        if (!PathExists(strCandidate))
            return strCandidate;
    }
}

CBatchRunner::~CBatchRunner()
{
    m_bRunning.store(0, std::memory_order_release);
    for (const LingeringTask& lingering : m_lingeringTasks)
        for (const auto& pThread : lingering.threads)
            while (!pThread->Wait(kStageWaitMs)) {
            }
    if (g_pConvProg == this)
        g_pConvProg = nullptr;
}

void CBatchRunner::StartBatchThread()
{
    auto pThread = CWorkerThread::CreateSuspended([this] { RunBatch(); });
    m_pBatchThread.Set(pThread);
    pThread->Resume();
}

void CBatchRunner::RunWithMessageQueue(const CMessageQueue::Handler& fnHandle)
{
    auto pQueue = std::make_shared<CMessageQueue>();
    SetMessageTarget(pQueue);
    g_pConvProg = this;
    m_bRunning.store(1, std::memory_order_release);
    StartBatchThread();
    const std::shared_ptr<CWorkerThread> pBatch = m_pBatchThread.Get();
    while (!pBatch->HasEnded())
        pQueue->WaitAndDispatch(fnHandle, 50);
    pQueue->DispatchPending(fnHandle);
}

bool CBatchRunner::WaitForStage(CThreadSlot& slot)
{
    const std::shared_ptr<CWorkerThread> pThread = slot.Get();
    return !pThread || pThread->Wait(kStageWaitMs);
}

bool CBatchRunner::ConvertOne(const CConversionTask& task, uint32_t dwTaskStart)
{
    // Everything below works on a copy: a unique name stays out of the batch's tasks.
    auto pWork = std::make_unique<CConversionTask>(task);

    const std::string strFolder = FolderOf(pWork->m_strDest);
    if (!strFolder.empty() && !IsDirectory(strFolder) && !CreateFolderPath(strFolder)) {
        PostLog(LOG_ERROR, "Fail to create folder %s !", strFolder.c_str());
        m_bRunning.store(0, std::memory_order_release);
        return false;
    }
    if (PathExists(pWork->m_strDest))
        pWork->m_strDest = MakeUniquePath(pWork->m_strDest);

    SetDlgItemText(IDC_SOURCE_TEXT, pWork->m_strSource);
    SetDlgItemText(IDC_DEST_TEXT, pWork->m_strDest);
    PostLog(LOG_INFO, "Start a new converting task.");
    PostLog(LOG_INFO, "Source:  %s.", pWork->m_strSource.c_str());
    PostLog(LOG_INFO, "Destination: %s.", pWork->m_strDest.c_str());

    m_nCurrentDone.store(0, std::memory_order_release);
    m_fCurrentSeconds.store(0.0f, std::memory_order_release);
    m_dwFileStart.store(GetTickCount(), std::memory_order_release);
    g_pDecodedRing->Reset();
    g_pProcessedRing->Reset();

    if (!pWork->Convert())
        m_bRunning.store(0, std::memory_order_release);

    bool bStagesEnded = true;
    if (pWork->m_bUseEffects)
        bStagesEnded = WaitForStage(m_pEffectsThread);
    bStagesEnded = WaitForStage(m_pEncoderThread) && bStagesEnded;
    if (!bStagesEnded) {
        // A stage still running has not finished its file: that file failed.
        m_bRunning.store(0, std::memory_order_release);
        LingeringTask lingering{std::move(pWork), {}};
        for (CThreadSlot* pSlot : {&m_pEffectsThread, &m_pEncoderThread})
            if (auto pThread = pSlot->Get())
                lingering.threads.push_back(std::move(pThread));
        m_lingeringTasks.push_back(std::move(lingering));
    }

    if (m_bRunning.load(std::memory_order_acquire)) {
        const double dSeconds = SecondsSince(dwTaskStart);
        PostLog(LOG_INFO, "Time elapsed %.2f secs, speed %.2fx.", dSeconds,
                SpeedRatio(m_fCurrentSeconds.load(std::memory_order_acquire), dSeconds));
        PostLog(LOG_INFO, "Converting status: OK.");
    } else {
        PostLog(LOG_ERROR, "Converting status: ERROR.");
    }
    return true;
}

void CBatchRunner::RunBatch()
{
    SleepMs(500);
    SetTimer(1, 1000);
    m_dwBatchStart.store(GetTickCount(), std::memory_order_release);
    m_nCurrentTask.store(0, std::memory_order_release);

    const int nTasks = static_cast<int>(m_arrTasks.size());
    while (m_nCurrentTask.load(std::memory_order_acquire) < nTasks && m_bRunning.load(std::memory_order_acquire)) {
        const int nTask = m_nCurrentTask.load(std::memory_order_acquire);
        PostLog(LOG_INFO, "%s", kSeparator.c_str());
        const uint32_t dwTaskStart = GetTickCount();
        SetWindowText(StringFormat("Converting %d/%d", nTask + 1, nTasks));
        if (!ConvertOne(m_arrTasks[static_cast<size_t>(nTask)], dwTaskStart))
            break;  // the destination folder could not be made: no status line
        m_nCurrentTask.store(nTask + 1, std::memory_order_release);
    }

    if (!m_bRunning.load(std::memory_order_acquire))
        return;
    if (nTasks > 1) {
        const double dSeconds = SecondsSince(m_dwBatchStart.load(std::memory_order_acquire));
        PostLog(LOG_INFO, "%s", kSeparator.c_str());
        PostLog(LOG_INFO, "Total time elapsed %.2f secs, overall speed %.2fx.", dSeconds,
                SpeedRatio(m_fOverallSeconds.load(std::memory_order_acquire), dSeconds));
    }
    PostPlain(WM_CONV_FINISHED);
}
