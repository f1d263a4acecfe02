#include "platform/WorkerThread.h"

#include <chrono>

std::shared_ptr<CWorkerThread> CWorkerThread::CreateSuspended(ThreadProc fnProc)
{
    return std::shared_ptr<CWorkerThread>(new CWorkerThread(std::move(fnProc)));
}

CWorkerThread::CWorkerThread(ThreadProc fnProc) : m_fnProc(std::move(fnProc)) {}

CWorkerThread::~CWorkerThread() = default;

void CWorkerThread::Resume()
{
    if (m_bStarted.exchange(true))
        return;
    // The thread keeps its own object alive until it has ended.
    std::thread([self = shared_from_this()] {
        self->m_fnProc();
        self->m_fnProc = nullptr;  // release what the procedure captured
        {
            std::lock_guard lock(self->m_mutex);
            self->m_bEnded = true;
        }
        self->m_cvEnded.notify_all();
    }).detach();
}

bool CWorkerThread::Wait(uint32_t nMilliseconds)
{
    if (!m_bStarted.load())
        return true;
    std::unique_lock lock(m_mutex);
    return m_cvEnded.wait_for(lock, std::chrono::milliseconds(nMilliseconds), [this] { return m_bEnded; });
}

bool CWorkerThread::HasEnded() const
{
    std::lock_guard lock(m_mutex);
    return m_bEnded;
}

void CThreadSlot::Set(std::shared_ptr<CWorkerThread> pThread)
{
    std::lock_guard lock(m_mutex);
    m_pThread = std::move(pThread);
}

std::shared_ptr<CWorkerThread> CThreadSlot::Get() const
{
    std::lock_guard lock(m_mutex);
    return m_pThread;
}
