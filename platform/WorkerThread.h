#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// A worker thread started in two steps, as the conversion stages need: create
// it suspended, store the handle where others can wait on it, then Resume().
// The handle stays valid for as long as anyone holds it; the running thread
// holds its own reference, so a thread that outlives a bounded wait keeps its
// object alive until it ends on its own.
class CWorkerThread : public std::enable_shared_from_this<CWorkerThread>
{
public:
    using ThreadProc = std::function<void()>;

    static std::shared_ptr<CWorkerThread> CreateSuspended(ThreadProc fnProc);

    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts the thread; only the first call has an effect.
    void Resume();

    // Waits at most nMilliseconds for the thread to end; true when it has
    // ended (or was never resumed). A thread that is still running is left to
    // finish by itself: every stage loop polls the stop flag.
    bool Wait(uint32_t nMilliseconds);

    bool HasEnded() const;

private:
    explicit CWorkerThread(ThreadProc fnProc);

    ThreadProc m_fnProc;
    std::atomic<bool> m_bStarted{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_cvEnded;
    bool m_bEnded = false;
};

// A slot holding the thread of a stage, written by one thread and waited on
// by others (batch runner, Cancel).
class CThreadSlot
{
public:
    void Set(std::shared_ptr<CWorkerThread> pThread);
    std::shared_ptr<CWorkerThread> Get() const;
    void Reset() { Set(nullptr); }

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<CWorkerThread> m_pThread;
};
