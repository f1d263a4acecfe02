#pragma once
#include <string>

#include "engine/ConversionTask.h"
#include "platform/WorkerThread.h"

// Thread procedures of the two stage threads; each runs its stage on the
// task it is given and returns 0.
unsigned int EffectsThreadProc(CConversionTask* pTask);
unsigned int EncoderThreadProc(CConversionTask* pTask);

// Starts a stage thread so that waiters can find it: created suspended,
// stored in its slot, then resumed.
void StartStageThread(CThreadSlot& slot, CWorkerThread::ThreadProc fnProc);

// Test hook: load the encoder library from strPath instead of the program's
// folder (empty: the program's own again).
void SetEncoderLibraryPath(const std::string& strPath);
