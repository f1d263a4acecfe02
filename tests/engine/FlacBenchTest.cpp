#include <FLAC/metadata.h>
#include <FLAC/stream_decoder.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

#include "engine/ConversionTask.h"
#include "tests/engine/DecodeHarness.h"

// Every file of the public FLAC decoder test bench (KESTRUNE_FLAC_BENCH) goes
// through the decoding stage: valid streams must come out exactly as libFLAC
// decodes them on its own, the others must fail with their log lines.

namespace {

namespace fs = std::filesystem;

fs::path BenchFolder()
{
    const char* psz = std::getenv("KESTRUNE_FLAC_BENCH");
    return psz ? fs::path(psz) : fs::path();
}

// Paths relative to the bench folder, "group/file.flac".
std::vector<std::string> ListBenchFiles()
{
    std::vector<std::string> files;
    const fs::path folder = BenchFolder();
    for (const char* pszGroup : {"subset", "uncommon", "faulty"}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder / pszGroup, ec))
            if (entry.path().extension() == ".flac")
                files.push_back(std::string(pszGroup) + "/" + entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Files the stage must refuse, with the first line it posts; the rest must
// decode exactly. Streams that change format mid-way, or whose STREAMINFO
// lies, are refused at the first frame unlike the task. Those without
// STREAMINFO get the stand-in task of stereo 16-bit.
const std::map<std::string, std::string> kRefused = {
    {"faulty/03 - wrong bit depth.flac", "Frame has 16 bits per sample, expected 24."},
    {"faulty/04 - wrong number of channels.flac", "Frame has 1 channel(s), expected 5."},
    {"faulty/06 - missing streaminfo metadata block.flac", "Frame has 1 channel(s), expected 2."},
    {"faulty/11 - incorrect metadata block length.flac", "state: FLAC__STREAM_DECODER_END_OF_STREAM"},
    {"uncommon/02 - increasing number of channels.flac", "Frame has 2 channel(s), expected 1."},
    {"uncommon/03 - decreasing number of channels.flac", "Frame has 2 channel(s), expected 4."},
    {"uncommon/04 - changing bitdepth.flac", "Frame has 8 bits per sample, expected 16."},
    {"uncommon/10 - file starting at frame header.flac", "Frame has 1 channel(s), expected 2."},
    {"uncommon/11 - file starting with unparsable data.flac",
     "Got error callback: FLAC__STREAM_DECODER_ERROR_STATUS_LOST_SYNC."},
};

// libFLAC's own decoding of a file, scaled as the stage scales, up to the
// first frame unlike the STREAMINFO.
struct ReferenceDecoding
{
    uint32_t nChannels = 0;
    uint32_t nBitsPerSample = 0;
    bool bError = false;
    bool bFramesMatch = true;
    std::vector<int32_t> samples;
};

FLAC__StreamDecoderWriteStatus ReferenceWrite(const FLAC__StreamDecoder*, const FLAC__Frame* pFrame,
                                              const FLAC__int32* const ppChannels[], void* pClientData)
{
    auto* pRef = static_cast<ReferenceDecoding*>(pClientData);
    const FLAC__FrameHeader& header = pFrame->header;
    if (header.channels != pRef->nChannels || header.bits_per_sample != pRef->nBitsPerSample)
        pRef->bFramesMatch = false;
    if (!pRef->bFramesMatch)
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    for (uint32_t i = 0; i < header.blocksize; ++i)
        for (uint32_t c = 0; c < header.channels; ++c)
            pRef->samples.push_back(LeftJustifiedMasked(ppChannels[c][i], pRef->nBitsPerSample));
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void ReferenceError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void* pClientData)
{
    static_cast<ReferenceDecoding*>(pClientData)->bError = true;
}

ReferenceDecoding DecodeWithLibFlac(const std::string& strPath, uint32_t nChannels, uint32_t nBitsPerSample)
{
    ReferenceDecoding ref;
    ref.nChannels = nChannels;
    ref.nBitsPerSample = nBitsPerSample;
    FLAC__StreamDecoder* pDecoder = FLAC__stream_decoder_new();
    const bool bInit = FLAC__stream_decoder_init_file(pDecoder, strPath.c_str(), ReferenceWrite, nullptr,
                                                      ReferenceError, &ref) == FLAC__STREAM_DECODER_INIT_STATUS_OK;
    if (!bInit || !FLAC__stream_decoder_process_until_end_of_stream(pDecoder))
        ref.bError = true;
    FLAC__stream_decoder_delete(pDecoder);
    return ref;
}

class FlacBenchTest : public testing::TestWithParam<std::string>
{
};

TEST_P(FlacBenchTest, DecodesExactlyOrFailsWithItsLogLines)
{
    const std::string strPath = (BenchFolder() / GetParam()).string();
    // Streams without STREAMINFO would never pass the probe; give them a
    // plausible task to see that nothing breaks.
    FLAC__StreamMetadata info;
    const bool bHasInfo = FLAC__metadata_get_streaminfo(strPath.c_str(), &info);
    const uint32_t nChannels = bHasInfo ? info.data.stream_info.channels : 2;
    const uint32_t nBitsPerSample = bHasInfo ? info.data.stream_info.bits_per_sample : 16;
    CDecodeHarness harness;
    CConversionTask task =
        MakeDecodeTask(strPath, static_cast<int32_t>(nChannels), static_cast<uint8_t>(nBitsPerSample));

    const DecodeOutcome outcome = harness.DecodeDrained(task);

    if (outcome.nResult == 1) {
        EXPECT_THAT(outcome.logs, testing::IsEmpty());
        EXPECT_TRUE(outcome.bStillRunning);
    } else {
        EXPECT_FALSE(outcome.bStillRunning);
        ASSERT_FALSE(outcome.logs.empty());
        for (const LogLine& line : outcome.logs)
            EXPECT_EQ(line.nKind, LOG_ERROR) << line.strText;
        EXPECT_THAT(outcome.logs.back().strText, testing::StartsWith("state: "));
    }

    const ReferenceDecoding ref = DecodeWithLibFlac(strPath, nChannels, nBitsPerSample);
    const auto refused = kRefused.find(GetParam());
    if (refused != kRefused.end()) {
        EXPECT_EQ(outcome.nResult, 0);
        ASSERT_FALSE(outcome.logs.empty());
        EXPECT_EQ(outcome.logs.front().strText, refused->second);
        // What arrived before the refusal is what libFLAC decodes there.
        ASSERT_LE(outcome.samples.size(), ref.samples.size());
        EXPECT_TRUE(std::equal(outcome.samples.begin(), outcome.samples.end(), ref.samples.begin()));
        if (!ref.bError) {
            EXPECT_EQ(outcome.samples.size(), ref.samples.size());
        }
        return;
    }
    // A valid stream: libFLAC agrees, and the stage delivers the same samples.
    ASSERT_TRUE(bHasInfo);
    ASSERT_FALSE(ref.bError);
    ASSERT_TRUE(ref.bFramesMatch);
    EXPECT_EQ(outcome.nResult, 1);
    EXPECT_EQ(outcome.samples.size(), ref.samples.size());
    EXPECT_TRUE(outcome.samples == ref.samples) << "decoded samples differ from libFLAC's";
}

std::string TestName(const testing::TestParamInfo<std::string>& info)
{
    // "subset/01 - blocksize 4096.flac" -> "subset_01"
    const std::string& strFile = info.param;
    const size_t nSlash = strFile.find('/');
    std::string strName = strFile.substr(0, nSlash) + "_";
    for (size_t i = nSlash + 1; i < strFile.size() && std::isdigit(static_cast<unsigned char>(strFile[i])); ++i)
        strName += strFile[i];
    return strName;
}

INSTANTIATE_TEST_SUITE_P(Files, FlacBenchTest, testing::ValuesIn(ListBenchFiles()), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FlacBenchTest);

// The table above runs only when the bench is there; say so when it is not.
TEST(FlacBench, IsPresent)
{
    if (BenchFolder().empty())
        GTEST_SKIP() << "KESTRUNE_FLAC_BENCH is not set";
    EXPECT_FALSE(ListBenchFiles().empty()) << "no FLAC files under " << BenchFolder();
}

} // namespace
