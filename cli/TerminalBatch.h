#pragma once
#include <cstdio>
#include <string>

#include "batch/BatchRunner.h"

// The batch runner shown on a terminal: numbered, time-stamped log lines
// (coloured by kind on a terminal) and a progress line redrawn in place.
class CTerminalBatch : public CBatchRunner
{
public:
    CTerminalBatch(std::FILE* pOut, bool bIsTerminal);

    // Runs the batch thread and shows its messages until it has ended (a
    // cleared m_bRunning ends it like the progress window's Cancel: the
    // runner waits for the stage threads). True when every task succeeded.
    bool Run();

    void PrintLine(const std::string& strText, int nKind);

private:
    void HandleMessage(CMessage& msg);
    void ShowProgress(const CProgressPayload& progress);
    void ClearProgressLine();

    std::FILE* m_pOut;
    bool m_bIsTerminal;
    bool m_bFinished = false;
    int m_nLogLine = 0;
    std::string m_strProgressLine;
};
