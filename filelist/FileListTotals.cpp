#include "filelist/FileListTotals.h"

#include "platform/Format.h"

#include <cstdint>

std::string FormatHms(double dSeconds)
{
    // Truncated toward zero; a running total that rounding left a hair below
    // zero reads as zero.
    unsigned long long nSeconds = 0;
    if (dSeconds >= 1.8e19)
        nSeconds = UINT64_MAX;
    else if (dSeconds > 0.0)
        nSeconds = static_cast<unsigned long long>(dSeconds);
    return StringFormat("%02llu:%02llu:%02llu", nSeconds / 3600, nSeconds % 3600 / 60, nSeconds % 60);
}

void FileListTotals::Add(const AudioFileInfo& info)
{
    ++fileCount;
    sizeMB += info.sizeMB;
    seconds += info.durationSeconds;
}

void FileListTotals::Remove(const AudioFileInfo& info)
{
    --fileCount;
    sizeMB -= info.sizeMB;
    seconds -= info.durationSeconds;
}

std::string FileListTotals::ListText() const
{
    if (fileCount == 0)
        return "No file";
    return StringFormat("%d file(s)   %.2f MB   ", fileCount, sizeMB) + FormatHms(seconds);
}

std::string FileListTotals::SelectionText() const
{
    if (fileCount == 0)
        return "No file selected";
    return StringFormat("%d file(s) selected, %.2f MB   ", fileCount, sizeMB) + FormatHms(seconds);
}
