#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>

// What the probe learnt about one list entry; owned by the entry's row.
struct AudioFileInfo
{
    // First member: the list control reads it through the row's item data to
    // colour unusable rows.
    int32_t invalid = 0;
    uint8_t typeCode = 0;
    uint32_t sampleRate = 0;
    uint32_t channels = 0;
    uint32_t bitsPerSample = 0;
    // Total samples per channel times channels.
    uint64_t interleavedSamples = 0;
    double sizeMB = 0.0;
    double durationSeconds = 0.0;
};

// Upper-case extension -> source type code; filled once ("FLAC" -> 1) by the
// main window before any file is probed, only read afterwards.
using SourceTypeTable = std::map<std::string, uint8_t>;
extern SourceTypeTable g_sourceTypeTable;

// The file list's columns, always in this order.
enum FileListColumn : int
{
    COLUMN_NAME = 0,
    COLUMN_PATH,
    COLUMN_TYPE,
    COLUMN_SIZE,
    COLUMN_MODIFIED,
    COLUMN_DURATION,
    COLUMN_FREQUENCY,
    COLUMN_CHANNEL,
    kFileListColumnCount
};

inline constexpr std::array<const char*, kFileListColumnCount> kFileListColumnTitles = {
    "Name", "Path", "Type", "Size(MB)", "Last Modified", "Duration", "Frequency", "Channel"};

// The cell texts of one row. The full path of an entry is always
// texts[COLUMN_PATH] + texts[COLUMN_NAME].
struct FileRowTexts
{
    std::array<std::string, kFileListColumnCount> texts;
    // The Type cell says "Unknown" and is drawn in red.
    bool typeInRed = false;
};
