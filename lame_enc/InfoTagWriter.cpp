#include "lame_enc/InfoTagWriter.h"

#include <cstdio>
#include <memory>

#include "lame_enc/BladeEncoder.h"

namespace {

struct FileCloser
{
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

// Where the audio starts: after an ID3v2 tag (10-byte header, syncsafe size,
// optional 10-byte footer).
long AudioStart(std::FILE* pFile)
{
    unsigned char header[10];
    if (std::fread(header, 1, sizeof(header), pFile) != sizeof(header) || header[0] != 'I' || header[1] != 'D' ||
        header[2] != '3')
        return 0;
    const long nSize = (long{header[6] & 0x7F} << 21) | (long{header[7] & 0x7F} << 14) |
                       (long{header[8] & 0x7F} << 7) | long{header[9] & 0x7F};
    const bool bFooter = (header[5] & 0x10) != 0;
    return 10 + nSize + (bFooter ? 10 : 0);
}

// Same sync, version, layer, protection, bitrate and sampling rate.
bool SameFrameFormat(const unsigned char* pFrame, const std::vector<uint8_t>& tagFrame)
{
    return pFrame[0] == 0xFF && (pFrame[1] & 0xE0) == 0xE0 && pFrame[1] == tagFrame[1] &&
           (pFrame[2] & 0xFC) == (tagFrame[2] & 0xFC);
}

}  // namespace

uint32_t WriteInfoTag(const char* pszPath, const std::vector<uint8_t>& tagFrame)
{
    if (tagFrame.size() < 4)
        return kEncoderNoTag;
    std::unique_ptr<std::FILE, FileCloser> pFile(std::fopen(pszPath, "r+b"));
    if (!pFile)
        return kEncoderFileError;
    const long nStart = AudioStart(pFile.get());
    unsigned char frameHeader[4];
    if (std::fseek(pFile.get(), nStart, SEEK_SET) != 0 ||
        std::fread(frameHeader, 1, sizeof(frameHeader), pFile.get()) != sizeof(frameHeader))
        return kEncoderFileError;
    if (!SameFrameFormat(frameHeader, tagFrame))
        return kEncoderNoTag;
    if (std::fseek(pFile.get(), nStart, SEEK_SET) != 0 ||
        std::fwrite(tagFrame.data(), 1, tagFrame.size(), pFile.get()) != tagFrame.size())
        return kEncoderFileError;
    return std::fclose(pFile.release()) == 0 ? kEncoderOk : kEncoderFileError;
}
