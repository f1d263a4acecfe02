#include "platform/Messages.h"

#include <chrono>

#include "platform/Tick.h"

CMessage& CMessage::operator=(CMessage&& other) noexcept
{
    if (this != &other) {
        Complete();
        m_nId = other.m_nId;
        m_pPayload = std::move(other.m_pPayload);
        m_pCompletion = std::move(other.m_pCompletion);
    }
    return *this;
}

CMessage::~CMessage()
{
    Complete();
}

void CMessage::Complete()
{
    m_pPayload.reset();
    if (m_pCompletion) {
        m_pCompletion->bDone.store(true, std::memory_order_release);
        m_pCompletion.reset();
    }
}

bool CMessageTarget::Send(CMessage msg, const std::atomic<int32_t>* pbKeepWaiting)
{
    auto pCompletion = std::make_shared<CSendCompletion>();
    msg.AttachCompletion(pCompletion);
    Post(std::move(msg));
    while (!pCompletion->bDone.load(std::memory_order_acquire)) {
        if (pbKeepWaiting && pbKeepWaiting->load(std::memory_order_acquire) == 0)
            return false;
        SleepMs(1);
    }
    return true;
}

void CMessageQueue::Post(CMessage msg)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_bClosed)
            return;  // msg is freed on leaving
        m_queue.push_back(std::move(msg));
    }
    m_cvPosted.notify_one();
}

size_t CMessageQueue::DispatchPending(const Handler& fnHandler)
{
    size_t nHandled = 0;
    for (;;) {
        CMessage msg;
        {
            std::lock_guard lock(m_mutex);
            if (m_queue.empty())
                return nHandled;
            msg = std::move(m_queue.front());
            m_queue.pop_front();
        }
        fnHandler(msg);
        ++nHandled;
    }
}

size_t CMessageQueue::WaitAndDispatch(const Handler& fnHandler, uint32_t nMilliseconds)
{
    {
        std::unique_lock lock(m_mutex);
        m_cvPosted.wait_for(lock, std::chrono::milliseconds(nMilliseconds),
                            [this] { return !m_queue.empty() || m_bClosed; });
    }
    return DispatchPending(fnHandler);
}

void CMessageQueue::Close()
{
    std::deque<CMessage> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_bClosed = true;
        dropped.swap(m_queue);
    }
}
