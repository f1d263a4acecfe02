#include "cli/TerminalBatch.h"

#include <ctime>

#include "batch/ProgressText.h"
#include "platform/Format.h"
#include "platform/Tick.h"

namespace {

const char* ColourOf(int nKind)
{
    switch (nKind) {
    case LOG_INFO:
        return "\033[34m";
    case LOG_WARNING:
        return "\033[33m";
    case LOG_ERROR:
        return "\033[31m";
    default:
        return "";
    }
}

}  // namespace

CTerminalBatch::CTerminalBatch(std::FILE* pOut, bool bIsTerminal) : m_pOut(pOut), m_bIsTerminal(bIsTerminal) {}

void CTerminalBatch::PrintLine(const std::string& strText, int nKind)
{
    ClearProgressLine();
    const std::string strPrefix =
        FormatLogNumber(++m_nLogLine) + " " + FormatLogTime(std::time(nullptr)) + " ";
    if (m_bIsTerminal)
        std::fprintf(m_pOut, "%s%s%s\033[0m\n", strPrefix.c_str(), ColourOf(nKind), strText.c_str());
    else
        std::fprintf(m_pOut, "%s%s\n", strPrefix.c_str(), strText.c_str());
    if (!m_strProgressLine.empty())
        std::fprintf(m_pOut, "%s", m_strProgressLine.c_str());
    std::fflush(m_pOut);
}

void CTerminalBatch::ClearProgressLine()
{
    if (m_bIsTerminal && !m_strProgressLine.empty())
        std::fprintf(m_pOut, "\r\033[K");
}

void CTerminalBatch::ShowProgress(const CProgressPayload& progress)
{
    if (!m_bIsTerminal)
        return;
    const uint32_t dwNow = GetTickCount();
    const double dBatch = static_cast<uint32_t>(dwNow - m_dwBatchStart.load(std::memory_order_acquire)) / 1000.0;
    m_strProgressLine = StringFormat(
        "file %s  batch %s  speed%s  elapsed %s  remaining %s", FormatPercent(progress.fCurrent).c_str(),
        FormatPercent(progress.fOverall).c_str(),
        FormatSpeed(m_fOverallSeconds.load(std::memory_order_acquire), dBatch).c_str(), FormatHms(dBatch).c_str(),
        FormatHms(RemainingSeconds(dBatch, progress.fOverall)).c_str());
    std::fprintf(m_pOut, "\r\033[K%s", m_strProgressLine.c_str());
    std::fflush(m_pOut);
}

void CTerminalBatch::HandleMessage(CMessage& msg)
{
    switch (msg.Id()) {
    case WM_CONV_LOG:
        if (const auto* pLine = msg.Payload<CLogPayload>())
            PrintLine(pLine->strText, pLine->nKind);
        break;
    case WM_CONV_PROGRESS:
        if (const auto* pProgress = msg.Payload<CProgressPayload>())
            ShowProgress(*pProgress);
        break;
    case WM_CONV_FINISHED:
        m_bFinished = true;
        break;
    default:
        break;
    }
}

bool CTerminalBatch::Run()
{
    RunWithMessageQueue([this](CMessage& msg) { HandleMessage(msg); });
    ClearProgressLine();
    m_strProgressLine.clear();
    std::fflush(m_pOut);
    return m_bFinished;
}
