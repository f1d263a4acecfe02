#pragma once
#include <string>

#include "filelist/AudioFileInfo.h"

// "%02d:%02d:%02d" of the whole seconds (hours not wrapped); never overflows.
std::string FormatHms(double dSeconds);

// Running totals over a set of entries (the whole list, or a selection),
// kept incrementally as entries come and go.
struct FileListTotals
{
    int fileCount = 0;
    double sizeMB = 0.0;
    double seconds = 0.0;

    // Every entry counts with its size; its duration is 0 unless the probe
    // could compute one.
    void Add(const AudioFileInfo& info);
    void Remove(const AudioFileInfo& info);

    // "%d file(s)   %.2f MB   hh:mm:ss", or "No file".
    std::string ListText() const;
    // "%d file(s) selected, %.2f MB   hh:mm:ss", or "No file selected".
    std::string SelectionText() const;
};
