#pragma once
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "filelist/AudioFileInfo.h"

// One directory entry, as a file search reports it.
struct FoundFile
{
    std::string name;      // file name with extension
    std::string fullPath;  // folder + "/" + name
    uint64_t sizeBytes = 0;
    std::optional<std::time_t> lastWrite;
};

// The directory entry of strPath; nullopt when there is none.
std::optional<FoundFile> FindFoundFile(const std::string& strPath);

// Columns 0 to 4, sizeMB and typeCode from the directory entry.
void DescribeFoundFile(const FoundFile& found, AudioFileInfo& info, FileRowTexts& row);

// The rest of the record and columns 5 to 7; an unusable file is marked
// invalid with a red "Unknown" type. May show one message box.
void ProbeAudioFile(const std::string& strFullPath, AudioFileInfo& info, FileRowTexts& row);

// Reads the STREAMINFO of strFullPath into info and checks it; false (with
// info.invalid set, and the message box shown where one is due) when the
// stream cannot be converted.
bool ReadStreamInfo(const std::string& strFullPath, AudioFileInfo& info);
