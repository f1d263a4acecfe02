#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

// Window message numbers shared by the engine, the batch runner and the windows.
enum : uint32_t
{
    WM_USER_BASE = 0x0400,
    WM_CONV_PROGRESS = 1124,
    WM_CONV_LOG = 1125,
    WM_FILELIST_APPEND = 1125,  // same number, different receiver (the main window)
    WM_CONV_FINISHED = 1129,
    WM_REPORT_CHECKSELECT = 0xA710,
    WM_REPORT_SORTED = 0xA711,
    WM_REPORT_EDITED = 0xA712,
};

// Base of every typed payload; a message owns its payload, so a message that is
// dropped (its receiver gone) frees it.
struct CMessagePayload
{
    virtual ~CMessagePayload() = default;
};

// Completion of a sent message: set when the message is destroyed, that is
// after its handler ran or when it was dropped unhandled.
struct CSendCompletion
{
    std::atomic<bool> bDone{false};
};

class CMessage
{
public:
    CMessage() = default;
    CMessage(uint32_t nId, std::unique_ptr<CMessagePayload> pPayload = nullptr)
        : m_nId(nId), m_pPayload(std::move(pPayload))
    {
    }
    CMessage(CMessage&&) noexcept = default;
    CMessage& operator=(CMessage&& other) noexcept;
    ~CMessage();

    uint32_t Id() const { return m_nId; }

    template <class T>
    T* Payload() const
    {
        return dynamic_cast<T*>(m_pPayload.get());
    }

    void AttachCompletion(std::shared_ptr<CSendCompletion> pCompletion) { m_pCompletion = std::move(pCompletion); }

private:
    void Complete();

    uint32_t m_nId = 0;
    std::unique_ptr<CMessagePayload> m_pPayload;
    std::shared_ptr<CSendCompletion> m_pCompletion;
};

// Somewhere messages can be delivered to, running on another thread.
class CMessageTarget
{
public:
    virtual ~CMessageTarget() = default;

    // Queues the message for the target's thread and returns at once. When
    // the target is gone the message is freed here.
    virtual void Post(CMessage msg) = 0;

    // Queues the message and waits until it was handled (or dropped). Gives up
    // waiting, returning false, when *pbKeepWaiting becomes 0 (the batch was
    // stopped), so a worker never deadlocks with a window that is waiting for it.
    bool Send(CMessage msg, const std::atomic<int32_t>* pbKeepWaiting = nullptr);
};

// A plain queue target for code without a window: tests and the terminal
// front end pump it from their own thread.
class CMessageQueue : public CMessageTarget
{
public:
    using Handler = std::function<void(CMessage&)>;

    void Post(CMessage msg) override;

    // Handles every queued message; returns how many.
    size_t DispatchPending(const Handler& fnHandler);

    // Waits at most nMilliseconds for a message and handles everything queued.
    size_t WaitAndDispatch(const Handler& fnHandler, uint32_t nMilliseconds);

    // Drops queued messages (freeing their payloads) and every later one.
    void Close();

private:
    std::mutex m_mutex;
    std::condition_variable m_cvPosted;
    std::deque<CMessage> m_queue;
    bool m_bClosed = false;
};
