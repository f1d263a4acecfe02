#include "filelist/FileProbe.h"

#include "filelist/FileListTotals.h"
#include "filelist/TextCase.h"
#include "platform/Format.h"
#include "platform/MessageBox.h"

#include <FLAC/metadata.h>

#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SourceTypeTable g_sourceTypeTable;

namespace {

std::string FormatLastWrite(std::time_t tWrite)
{
    struct tm local;
    if (!::localtime_r(&tWrite, &local))
        return {};
    char szText[128];
    const size_t nLength = std::strftime(szText, sizeof(szText), "%Y/%m/%d %H:%M:%S", &local);
    return std::string(szText, nLength);
}

// Readers are welcome; a special file (a pipe named *.flac) counts as one
// that cannot be opened rather than blocking the load.
bool CanOpenForReading(const std::string& strPath)
{
    const int fd = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    const bool bRegular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return bRegular;
}

bool IsSupportedBitDepth(uint32_t nBits)
{
    return nBits == 8 || nBits == 16 || nBits == 24;
}

std::string ChannelText(uint32_t nChannels)
{
    switch (nChannels) {
    case 1:
        return "1 (Mono)";
    case 2:
        return "2 (Stereo)";
    default:
        return StringFormat("%u", nChannels);
    }
}

void ShowProbeError(const std::string& strText)
{
    ShowMessageBox(strText, kMessageBoxCaption, MB_OK | MB_ICONERROR);
}

}  // namespace

std::optional<FoundFile> FindFoundFile(const std::string& strPath)
{
    struct stat st;
    if (::stat(strPath.c_str(), &st) != 0)
        return std::nullopt;
    FoundFile found;
    found.fullPath = strPath;
    found.name = strPath.substr(strPath.rfind('/') + 1);
    found.sizeBytes = static_cast<uint64_t>(st.st_size);
    found.lastWrite = st.st_mtim.tv_sec;
    return found;
}

void DescribeFoundFile(const FoundFile& found, AudioFileInfo& info, FileRowTexts& row)
{
    row.texts[COLUMN_NAME] = found.name;
    row.texts[COLUMN_PATH] = found.fullPath.substr(0, found.fullPath.rfind('/') + 1);

    info.sizeMB = std::ldexp(static_cast<double>(found.sizeBytes), -20);
    row.texts[COLUMN_SIZE] = StringFormat("%.2f", info.sizeMB);

    const size_t nDot = found.name.rfind('.');
    const std::string strExtension = ToUpperUtf8(nDot == std::string::npos ? found.name : found.name.substr(nDot + 1));
    const auto itType = g_sourceTypeTable.find(strExtension);
    info.typeCode = itType == g_sourceTypeTable.end() ? 0 : itType->second;
    row.texts[COLUMN_TYPE] = strExtension;

    row.texts[COLUMN_MODIFIED] = found.lastWrite ? FormatLastWrite(*found.lastWrite) : std::string();
}

bool ReadStreamInfo(const std::string& strFullPath, AudioFileInfo& info)
{
    // File names are UTF-8 throughout, so every name reaches libFLAC intact.
    FLAC__StreamMetadata metadata;
    if (!FLAC__metadata_get_streaminfo(strFullPath.c_str(), &metadata)) {
        ShowProbeError(StringFormat("Invalid Flac File: %s!", strFullPath.c_str()));
        info.invalid = 1;
        return false;
    }
    const FLAC__StreamMetadata_StreamInfo& stream = metadata.data.stream_info;

    info.bitsPerSample = stream.bits_per_sample;
    if (!IsSupportedBitDepth(stream.bits_per_sample)) {
        ShowProbeError(StringFormat("Bitdepth %d is not supposed to be supported!", static_cast<int>(stream.bits_per_sample)));
        info.invalid = 1;
        return false;
    }

    info.channels = stream.channels;
    info.sampleRate = stream.sample_rate;
    info.interleavedSamples = static_cast<uint64_t>(stream.channels) * stream.total_samples;
    // A zero rate or channel count has no duration (and must not put a NaN
    // or an infinity into the list's totals).
    if (info.channels != 0 && info.sampleRate != 0)
        info.durationSeconds = static_cast<double>(info.interleavedSamples) / static_cast<double>(info.channels) /
                               static_cast<double>(info.sampleRate);

    if (info.channels == 0 || info.sampleRate == 0 || info.interleavedSamples == 0) {
        info.invalid = 1;
        return false;
    }
    return true;
}

void ProbeAudioFile(const std::string& strFullPath, AudioFileInfo& info, FileRowTexts& row)
{
    row.texts[COLUMN_DURATION].clear();
    row.texts[COLUMN_FREQUENCY].clear();
    row.texts[COLUMN_CHANNEL].clear();

    if (!CanOpenForReading(strFullPath))
        info.invalid = 1;
    else
        ReadStreamInfo(strFullPath, info);

    if (info.invalid) {
        row.texts[COLUMN_TYPE] = "Unknown";
        row.typeInRed = true;
        return;
    }
    const auto nWholeSeconds = static_cast<uint64_t>(info.durationSeconds);
    if (nWholeSeconds != 0)
        row.texts[COLUMN_DURATION] = FormatHms(info.durationSeconds);
    row.texts[COLUMN_CHANNEL] = ChannelText(info.channels);
    row.texts[COLUMN_FREQUENCY] = StringFormat("%u Hz", info.sampleRate);
}
