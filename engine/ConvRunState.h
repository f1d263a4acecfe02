#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/ConversionTask.h"
#include "platform/Messages.h"
#include "platform/WorkerThread.h"

enum LogKind : int
{
    LOG_INFO = 0,
    LOG_WARNING = 1,
    LOG_ERROR = 2,
};

// Payload of WM_CONV_PROGRESS: the current file's and the batch's percentage.
struct CProgressPayload : CMessagePayload
{
    CProgressPayload(float fCurrentValue, float fOverallValue) : fCurrent(fCurrentValue), fOverall(fOverallValue) {}
    float fCurrent;
    float fOverall;
};

// Payload of WM_CONV_LOG: one line of the log and its kind.
struct CLogPayload : CMessagePayload
{
    CLogPayload(std::string strLine, int nLogKind) : strText(std::move(strLine)), nKind(nLogKind) {}
    std::string strText;
    int nKind;
};

// The run state a batch shares between the window (or terminal) that shows
// it, the batch thread and the stage threads. The batch runner derives from
// it and the progress window from the batch runner; the engine reaches it
// through g_pConvProg and never includes a window header.
class CConvRunState
{
public:
    CConvRunState() = default;
    virtual ~CConvRunState() = default;
    CConvRunState(const CConvRunState&) = delete;
    CConvRunState& operator=(const CConvRunState&) = delete;

    // Where progress and log messages go: the progress window, or a queue.
    void SetMessageTarget(std::shared_ptr<CMessageTarget> pTarget) { m_pMessageTarget = std::move(pTarget); }
    const std::shared_ptr<CMessageTarget>& MessageTarget() const { return m_pMessageTarget; }

    // Posts WM_CONV_PROGRESS, or sends it (waiting until handled, or until
    // the batch is stopped) when bSend is true.
    void PostProgress(float fCurrent, float fOverall, bool bSend);

    // Posts WM_CONV_LOG with a printf-formatted line.
    void PostLog(int nKind, const char* pszFormat, ...) __attribute__((format(printf, 3, 4)));

    // Posts a message without payload (WM_CONV_FINISHED).
    void PostPlain(uint32_t nMessage);

    // Waits at most nEachMs for each of the effects, encoder and batch
    // threads; true when all have ended. One still running is left to end by
    // itself: every stage polls m_bRunning.
    bool WaitForThreads(uint32_t nEachMs);

    // Display operations the batch thread uses directly; each returns once
    // the display has applied it. A terminal has nothing to apply.
    virtual void SetWindowText(const std::string& strText) {}
    virtual void SetDlgItemText(int nId, const std::string& strText) {}
    virtual void SetTimer(int nId, uint32_t nElapse) {}

    std::atomic<int32_t> m_bRunning{0};
    std::atomic<int32_t> m_bPaused{0};
    std::atomic<uint64_t> m_nOverallDone{0};
    std::atomic<uint64_t> m_nCurrentDone{0};
    std::atomic<uint64_t> m_nOverallTotal{0};
    std::atomic<float> m_fOverallSeconds{0.0f};
    std::atomic<float> m_fCurrentSeconds{0.0f};
    std::atomic<int32_t> m_nCurrentTask{0};
    CThreadSlot m_pBatchThread;
    CThreadSlot m_pEncoderThread;
    CThreadSlot m_pEffectsThread;
    std::vector<CConversionTask> m_arrTasks;
    std::atomic<uint32_t> m_dwFileStart{0};
    std::atomic<uint32_t> m_dwBatchStart{0};

private:
    std::shared_ptr<CMessageTarget> m_pMessageTarget;
};

// The run state of the running (or last) batch.
extern CConvRunState* g_pConvProg;
