#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "filelist/AudioFileInfo.h"
#include "platform/Messages.h"

// The loading thread's messages to the main window, besides
// WM_FILELIST_APPEND. Posted, never sent: the thread does not wait for them.
enum : uint32_t
{
    WM_FILELIST_READING = WM_USER_BASE + 102,  // the file being read (wait window caption)
    WM_FILELIST_LOADED = WM_USER_BASE + 103,   // the load has ended
};

// One load: the files chosen, and the request to stop it. Each load has its
// own, so a load that was stopped (and may still be finishing its current
// file) can never be mistaken for the next one.
struct CFileListLoadJob
{
    CFileListLoadJob(uint64_t nLoadId, std::vector<std::string> chosenPaths)
        : nId(nLoadId), paths(std::move(chosenPaths))
    {
    }

    const uint64_t nId;
    const std::vector<std::string> paths;
    // Cleared by the window to stop the load before its next file.
    std::atomic<int32_t> bContinue{1};
};

// One described and probed file.
struct CLoadedFile
{
    AudioFileInfo info;
    FileRowTexts row;
};

// WM_FILELIST_APPEND: files described and probed by the loading thread,
// handed to the window's thread, which appends them as rows and counts them
// into the totals. Several files travel together: every send waits for the
// window, and one wait per file would cost more than the probe itself.
struct CFileListRowsPayload : CMessagePayload
{
    uint64_t nLoadId = 0;
    std::vector<CLoadedFile> files;
};

struct CFileReadingPayload : CMessagePayload
{
    CFileReadingPayload(uint64_t nLoadId, std::string strFullPath) : nId(nLoadId), strPath(std::move(strFullPath)) {}
    uint64_t nId;
    std::string strPath;
};

struct CFileListLoadedPayload : CMessagePayload
{
    explicit CFileListLoadedPayload(uint64_t nLoadId) : nId(nLoadId) {}
    uint64_t nId;
};

// Most files sent in one WM_FILELIST_APPEND, and the longest a probed file
// waits for its send.
inline constexpr size_t kMaxFilesPerAppend = 64;
inline constexpr uint32_t kMaxAppendDelayMs = 25;

// The loading thread: describes and probes each chosen file on this thread
// (the probe's message boxes are answered on the window's thread meanwhile)
// and sends the finished rows to pWindow. The list itself, its records and
// its totals are only ever touched by the window's thread. Stops before the
// next file once the job's bContinue is cleared; always ends with
// WM_FILELIST_LOADED.
void LoadFilesThreadProc(const std::shared_ptr<CFileListLoadJob>& pJob, const std::shared_ptr<CMessageTarget>& pWindow);
