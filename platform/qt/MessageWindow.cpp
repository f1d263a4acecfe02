#include "platform/qt/MessageWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <QTimerEvent>
#include <map>
#include <mutex>

namespace {

// A call queued for the window's thread; handled by the receiver itself, never
// shown to OnMessage.
struct CCallPayload : CMessagePayload
{
    explicit CCallPayload(std::function<void()> fnCall) : fn(std::move(fnCall)) {}
    std::function<void()> fn;
};

constexpr uint32_t kCallMessage = 0;

const QEvent::Type kMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

// Deleting the event (handled, or dropped with its receiver) frees the message
// and completes a Send.
class CMessageEvent : public QEvent
{
public:
    explicit CMessageEvent(CMessage msg) : QEvent(kMessageEventType), m_msg(std::move(msg)) {}
    CMessage& Message() { return m_msg; }

private:
    CMessage m_msg;
};

}  // namespace

// Lives on the window's thread and receives its events; destroying it drops
// every event still queued for it.
class CMessageReceiver : public QObject
{
public:
    explicit CMessageReceiver(CMessageWindow& window) : m_window(window) {}

    std::map<int, int> m_mapTimers;  // our id -> Qt timer id

protected:
    bool event(QEvent* pEvent) override
    {
        if (pEvent->type() != kMessageEventType)
            return QObject::event(pEvent);
        CMessage& msg = static_cast<CMessageEvent*>(pEvent)->Message();
        if (auto* pCall = msg.Payload<CCallPayload>(); pCall && msg.Id() == kCallMessage)
            pCall->fn();
        else
            m_window.OnMessage(msg);
        return true;
    }

    void timerEvent(QTimerEvent* pEvent) override
    {
        for (const auto& [nId, nQtId] : m_mapTimers) {
            if (nQtId == pEvent->timerId()) {
                m_window.OnTimer(nId);
                return;
            }
        }
    }

private:
    CMessageWindow& m_window;
};

// The window's target as workers see it. Close and Post exclude each other, so
// no post can reach a receiver that is being destroyed.
class CWindowMessageTarget : public CMessageTarget
{
public:
    explicit CWindowMessageTarget(QObject* pReceiver) : m_pReceiver(pReceiver) {}

    void Post(CMessage msg) override
    {
        std::lock_guard lock(m_mutex);
        if (m_pReceiver)
            QCoreApplication::postEvent(m_pReceiver, new CMessageEvent(std::move(msg)));
        // otherwise msg is freed on leaving
    }

    void Close()
    {
        std::lock_guard lock(m_mutex);
        m_pReceiver = nullptr;
    }

private:
    std::mutex m_mutex;
    QObject* m_pReceiver;
};

CMessageWindow::CMessageWindow()
    : m_pThread(QThread::currentThread()),
      m_pReceiver(std::make_unique<CMessageReceiver>(*this)),
      m_pTarget(std::make_shared<CWindowMessageTarget>(m_pReceiver.get()))
{
}

CMessageWindow::~CMessageWindow()
{
    m_pTarget->Close();
    m_pReceiver.reset();  // frees the messages still queued
}

std::shared_ptr<CMessageTarget> CMessageWindow::MessageTarget() const
{
    return m_pTarget;
}

bool CMessageWindow::IsWindowThread() const
{
    return QThread::currentThread() == m_pThread;
}

void CMessageWindow::SetTimer(int nId, uint32_t nElapse)
{
    if (IsWindowThread())
        StartTimerHere(nId, nElapse);
    else
        PostCall([this, nId, nElapse] { StartTimerHere(nId, nElapse); });
}

void CMessageWindow::KillTimer(int nId)
{
    if (IsWindowThread())
        StopTimerHere(nId);
    else
        PostCall([this, nId] { StopTimerHere(nId); });
}

void CMessageWindow::StartTimerHere(int nId, uint32_t nElapse)
{
    StopTimerHere(nId);
    const int nQtId = m_pReceiver->startTimer(static_cast<int>(nElapse));
    if (nQtId != 0)
        m_pReceiver->m_mapTimers[nId] = nQtId;
}

void CMessageWindow::StopTimerHere(int nId)
{
    const auto it = m_pReceiver->m_mapTimers.find(nId);
    if (it == m_pReceiver->m_mapTimers.end())
        return;
    m_pReceiver->killTimer(it->second);
    m_pReceiver->m_mapTimers.erase(it);
}

void CMessageWindow::PostCall(std::function<void()> fn)
{
    m_pTarget->Post(CMessage(kCallMessage, std::make_unique<CCallPayload>(std::move(fn))));
}

bool CMessageWindow::RunOnWindowThread(std::function<void()> fn, const std::atomic<int32_t>* pbKeepWaiting)
{
    if (IsWindowThread()) {
        fn();
        return true;
    }
    return m_pTarget->Send(CMessage(kCallMessage, std::make_unique<CCallPayload>(std::move(fn))), pbKeepWaiting);
}
