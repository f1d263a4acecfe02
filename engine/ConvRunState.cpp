#include "engine/ConvRunState.h"

#include <cstdarg>

#include "platform/Format.h"

CConvRunState* g_pConvProg = nullptr;

void CConvRunState::PostProgress(float fCurrent, float fOverall, bool bSend)
{
    if (!m_pMessageTarget)
        return;
    CMessage msg(WM_CONV_PROGRESS, std::make_unique<CProgressPayload>(fCurrent, fOverall));
    if (bSend)
        m_pMessageTarget->Send(std::move(msg), &m_bRunning);
    else
        m_pMessageTarget->Post(std::move(msg));
}

void CConvRunState::PostLog(int nKind, const char* pszFormat, ...)
{
    if (!m_pMessageTarget)
        return;
    va_list args;
    va_start(args, pszFormat);
    std::string strLine = StringFormatV(pszFormat, args);
    va_end(args);
    m_pMessageTarget->Post(CMessage(WM_CONV_LOG, std::make_unique<CLogPayload>(std::move(strLine), nKind)));
}

void CConvRunState::PostPlain(uint32_t nMessage)
{
    if (m_pMessageTarget)
        m_pMessageTarget->Post(CMessage(nMessage));
}

bool CConvRunState::WaitForThreads(uint32_t nEachMs)
{
    bool bAllEnded = true;
    for (CThreadSlot* pSlot : {&m_pEffectsThread, &m_pEncoderThread, &m_pBatchThread})
        if (const std::shared_ptr<CWorkerThread> pThread = pSlot->Get())
            bAllEnded = pThread->Wait(nEachMs) && bAllEnded;
    return bAllEnded;
}
