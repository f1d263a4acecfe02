#pragma once
#include <QtGlobal>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Messages.h"

QT_BEGIN_NAMESPACE
class QThread;
QT_END_NAMESPACE

class CMessageReceiver;
class CWindowMessageTarget;

// Gives a window (any QWidget, through inheritance) the window-message side of
// the platform: a CMessageTarget that worker threads post and send to, timers
// by id, and calls run on the window's thread.
//
// Construct and destroy it on the window's (user-interface) thread. Messages
// and timers are delivered by that thread's event loop, posted messages in the
// order they were posted. When the window is destroyed its target is closed:
// queued messages are freed unhandled, later posts free their payloads at once,
// and a worker waiting in Send returns. The target is a shared_ptr, so workers
// may keep it (and post to it) after the window has gone.
class CMessageWindow
{
public:
    CMessageWindow();
    virtual ~CMessageWindow();
    CMessageWindow(const CMessageWindow&) = delete;
    CMessageWindow& operator=(const CMessageWindow&) = delete;

    // Where other threads post and send. Sending from the window's own thread
    // would wait for itself: call the handler directly there instead.
    std::shared_ptr<CMessageTarget> MessageTarget() const;

    // Starts (or restarts) timer nId firing every nElapse ms; OnTimer(nId)
    // runs on the window's thread until KillTimer(nId). Callable from any
    // thread: from another thread the change is queued for the window.
    void SetTimer(int nId, uint32_t nElapse);
    void KillTimer(int nId);

    // Runs fn on the window's thread: directly when called there, otherwise
    // queued, waiting until it ran. Returns false when the wait was given up
    // because *pbKeepWaiting became 0; fn may then still run later (or never,
    // if the window goes first), so it must capture by value what it uses.
    // Never call it from the window's own thread while that thread is blocked.
    bool RunOnWindowThread(std::function<void()> fn, const std::atomic<int32_t>* pbKeepWaiting = nullptr);

    bool IsWindowThread() const;

protected:
    // A message posted or sent to MessageTarget(). The message (and its
    // payload) is freed when the handler returns.
    virtual void OnMessage(CMessage& msg) {}
    virtual void OnTimer(int nId) {}

private:
    friend class CMessageReceiver;

    void StartTimerHere(int nId, uint32_t nElapse);
    void StopTimerHere(int nId);
    void PostCall(std::function<void()> fn);

    QThread* const m_pThread;
    std::unique_ptr<CMessageReceiver> m_pReceiver;
    std::shared_ptr<CWindowMessageTarget> m_pTarget;
};
