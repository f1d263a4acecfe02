#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/ConvRunState.h"

// Control ids of the progress display's source and destination texts.
enum : int
{
    IDC_SOURCE_TEXT = 1092,
    IDC_DEST_TEXT = 1093,
};

// Runs a batch of conversion tasks one after another on the batch thread.
// The progress window and the terminal front end derive from it and show
// what it posts.
class CBatchRunner : public CConvRunState
{
public:
    // How long the runner waits for each stage thread of a file.
    static constexpr uint32_t kStageWaitMs = 10000;

    // Waits for stage threads that outlived their bounded wait: they still
    // use this run state and their task.
    ~CBatchRunner() override;

    // Converts m_arrTasks in order; stops at the first failure or when
    // m_bRunning is cleared. Posts WM_CONV_FINISHED only when every task
    // succeeded.
    void RunBatch();

    // Starts RunBatch on a new batch thread stored in m_pBatchThread.
    void StartBatchThread();

    // Runs the whole batch without a window: its messages go to a queue that
    // the calling thread hands to fnHandle until the batch thread has ended.
    void RunWithMessageQueue(const CMessageQueue::Handler& fnHandle);

    // The first "stem (n).ext" for n = 2, 3, ... that does not exist.
    static std::string MakeUniquePath(const std::string& strPath);

private:
    // Converts one task; false when its destination folder could not be made.
    bool ConvertOne(const CConversionTask& task, uint32_t dwTaskStart);
    bool WaitForStage(CThreadSlot& slot);

    // A working copy whose stage threads outlived their wait, kept alive
    // until they end.
    struct LingeringTask
    {
        std::unique_ptr<CConversionTask> pTask;
        std::vector<std::shared_ptr<CWorkerThread>> threads;
    };
    std::vector<LingeringTask> m_lingeringTasks;
};
