#include "tests/support/Mp3Check.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

#include <mpg123.h>

namespace {

struct HandleCloser
{
    void operator()(mpg123_handle* pHandle) const
    {
        mpg123_close(pHandle);
        mpg123_delete(pHandle);
    }
};
using HandlePtr = std::unique_ptr<mpg123_handle, HandleCloser>;

// bGapless: trim the decoded length by the tag's delay and padding (which
// also hides frames that hold padding only).
HandlePtr OpenQuiet(const std::string& strPath, bool bGapless)
{
    HandlePtr pHandle(mpg123_new(nullptr, nullptr));
    if (!pHandle)
        return nullptr;
    mpg123_param(pHandle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    mpg123_param(pHandle.get(), bGapless ? MPG123_ADD_FLAGS : MPG123_REMOVE_FLAGS, MPG123_GAPLESS, 0);
    if (mpg123_open(pHandle.get(), strPath.c_str()) != MPG123_OK)
        return nullptr;
    return pHandle;
}

uint32_t BigEndian32(const unsigned char* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

// Reads the tag of the first frame; the file carries no ID3v2 tag.
void ReadFirstFrameTag(const std::string& strPath, Mp3Facts& facts)
{
    std::ifstream file(strPath, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 200 || bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0)
        return;
    const bool bMpeg1 = ((bytes[1] >> 3) & 3) == 3;
    const bool bMono = (bytes[3] >> 6) == 3;
    const bool bCrc = (bytes[1] & 1) == 0;
    const size_t nSideInfo = bMpeg1 ? (bMono ? 17 : 32) : (bMono ? 9 : 17);
    const size_t nTag = 4 + (bCrc ? 2 : 0) + nSideInfo;
    const std::string strId(bytes.begin() + nTag, bytes.begin() + nTag + 4);
    if (strId != "Info" && strId != "Xing")
        return;
    const uint32_t nFlags = BigEndian32(&bytes[nTag + 4]);
    size_t nField = nTag + 8;
    if (nFlags & 1) {
        facts.tagFrames = BigEndian32(&bytes[nField]);
        nField += 4;
    }
    if (nFlags & 2)
        facts.tagBytes = BigEndian32(&bytes[nField]);
    const std::string strFrame(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 400));
    facts.infoTagFirst = strFrame.find("LAME") != std::string::npos && facts.tagFrames > 0 && facts.tagBytes > 0;
}

}  // namespace

Mp3Facts InspectMp3(const std::string& strPath)
{
    Mp3Facts facts;
    HandlePtr pDecoder = OpenQuiet(strPath, true);
    HandlePtr pFrames = OpenQuiet(strPath, false);
    if (!pDecoder || !pFrames)
        return facts;
    int nEncoding = 0;
    if (mpg123_getformat(pDecoder.get(), &facts.rate, &facts.channels, &nEncoding) != MPG123_OK)
        return facts;
    facts.opened = true;

    unsigned char buffer[16384];
    size_t nDone = 0;
    int64_t nBytes = 0;
    int nResult = MPG123_OK;
    while ((nResult = mpg123_read(pDecoder.get(), buffer, sizeof(buffer), &nDone)) == MPG123_OK ||
           nResult == MPG123_NEW_FORMAT)
        nBytes += static_cast<int64_t>(nDone);
    nBytes += static_cast<int64_t>(nDone);
    facts.samplesPerChannel = nBytes / (facts.channels * mpg123_encsize(nEncoding));

    while ((nResult = mpg123_framebyframe_next(pFrames.get())) == MPG123_OK || nResult == MPG123_NEW_FORMAT) {
        mpg123_frameinfo2 info{};
        mpg123_info2(pFrames.get(), &info);
        facts.frameBitrates.push_back(info.bitrate);
    }
    ReadFirstFrameTag(strPath, facts);
    return facts;
}
