#include <cmath>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "lame_enc/BladeEncoder.h"
#include "tests/support/Mp3Check.h"

namespace fs = std::filesystem;

namespace {

EncoderConfig MakeConfig(uint32_t nRate, int32_t nMode, uint32_t nKbps)
{
    EncoderConfig config{};
    config.configKind = kEncoderConfigKind;
    config.recordVersion = kEncoderConfigVersion;
    config.recordSize = kEncoderConfigSize;
    config.sampleRate = nRate;
    config.mode = nMode;
    config.bitrate = nKbps;
    config.preset = kEncoderNoPreset;
    config.mpegVersion = 1;
    config.writeVbrHeader = 1;
    config.disableReservoir = 1;
    config.quality = EncoderQualityWord(9);
    return config;
}

uint32_t InitStream(const EncoderConfig& config, uint32_t& nChunk, uint32_t& nOutput, EncoderStream& hStream)
{
    return beInitStream(&config, &nChunk, &nOutput, &hStream, 0, 0, "", "", "", "", "", "", "", 0, 0, 30, 5, 16000,
                        2400);
}

std::vector<char> ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class LameEncTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("lame_enc_test_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Encodes nFrames sample frames of a 440 Hz sine through an opened stream
    // in full chunks and one short last chunk, then flushes; the stream is
    // left open.
    void EncodeSine(EncoderStream hStream, uint32_t nRate, int nChannels, uint32_t nChunk, uint32_t nOutput,
                    uint32_t nFrames, const fs::path& path)
    {
        std::vector<float> left(nChunk), right(nChunk);
        std::vector<uint8_t> output(nOutput);
        std::FILE* pFile = std::fopen(path.c_str(), "wb");
        ASSERT_NE(pFile, nullptr);
        const uint32_t nPerCall = nChunk / static_cast<uint32_t>(nChannels);
        for (uint32_t nDone = 0; nDone < nFrames;) {
            const uint32_t n = std::min(nPerCall, nFrames - nDone);
            for (uint32_t i = 0; i < n; ++i) {
                const double t = static_cast<double>(nDone + i) / nRate;
                left[i] = static_cast<float>(16000.0 * std::sin(2 * M_PI * 440.0 * t));
                right[i] = -left[i];
            }
            uint32_t nWritten = 0;
            ASSERT_EQ(beEncodeChunkFloatS16NI(hStream, n, left.data(), nChannels == 2 ? right.data() : nullptr,
                                              output.data(), &nWritten),
                      kEncoderOk);
            ASSERT_LE(nWritten, nOutput);
            std::fwrite(output.data(), 1, nWritten, pFile);
            nDone += n;
        }
        uint32_t nWritten = 0;
        ASSERT_EQ(beDeinitStream(hStream, output.data(), &nWritten), kEncoderOk);
        std::fwrite(output.data(), 1, nWritten, pFile);
        ASSERT_EQ(std::fclose(pFile), 0);
    }

    fs::path m_dir;
};

TEST(EncoderConfigTest, FieldsSitAtTheirOffsets)
{
    struct Field
    {
        size_t nOffset;
        size_t nExpected;
    };
    const Field fields[] = {
        {offsetof(EncoderConfig, configKind), 0},        {offsetof(EncoderConfig, recordVersion), 4},
        {offsetof(EncoderConfig, recordSize), 8},        {offsetof(EncoderConfig, sampleRate), 12},
        {offsetof(EncoderConfig, outputRate), 16},       {offsetof(EncoderConfig, mode), 20},
        {offsetof(EncoderConfig, bitrate), 24},          {offsetof(EncoderConfig, maxBitrate), 28},
        {offsetof(EncoderConfig, preset), 32},           {offsetof(EncoderConfig, mpegVersion), 36},
        {offsetof(EncoderConfig, psyModel), 40},         {offsetof(EncoderConfig, emphasis), 44},
        {offsetof(EncoderConfig, privateBit), 48},       {offsetof(EncoderConfig, crc), 52},
        {offsetof(EncoderConfig, copyright), 56},        {offsetof(EncoderConfig, original), 60},
        {offsetof(EncoderConfig, writeVbrHeader), 64},   {offsetof(EncoderConfig, enableVbr), 68},
        {offsetof(EncoderConfig, vbrQuality), 72},       {offsetof(EncoderConfig, averageBitrate), 76},
        {offsetof(EncoderConfig, vbrMethod), 80},        {offsetof(EncoderConfig, disableReservoir), 84},
        {offsetof(EncoderConfig, strictIso), 88},        {offsetof(EncoderConfig, quality), 92},
        {offsetof(EncoderConfig, reserved), 94},
    };
    for (const Field& field : fields)
        EXPECT_EQ(field.nOffset, field.nExpected);
    EXPECT_EQ(sizeof(EncoderConfig), 331u);
    EXPECT_EQ(EncoderQualityWord(9), 0xF609);

    // Little-endian bytes as a caller lays them out.
    const EncoderConfig config = MakeConfig(44100, kEncoderModeMono, 128);
    const auto* pBytes = reinterpret_cast<const unsigned char*>(&config);
    EXPECT_EQ(pBytes[1], 1);     // kind 256
    EXPECT_EQ(pBytes[8], 0x4B);  // size 331 = 0x014B
    EXPECT_EQ(pBytes[9], 0x01);
    EXPECT_EQ(pBytes[20], 3);
    EXPECT_EQ(pBytes[32], 0xFF);  // preset -1
    EXPECT_EQ(pBytes[92], 0x09);
    EXPECT_EQ(pBytes[93], 0xF6);
}

// One bitrate at one input rate, and the MP3 rate it must come out at: the
// input rate where that MPEG version has the bitrate, else the same position
// in the nearest version that has it. bTag: a frame of that bitrate and rate
// is big enough for the Info tag (LAME leaves the tag out otherwise).
struct BitrateCase
{
    uint32_t nKbps;
    uint32_t nInputRate;
    long nExpectedRate;
    bool bTag;
};

class LameEncBitrateTest : public LameEncTest, public ::testing::WithParamInterface<BitrateCase>
{
};

TEST_P(LameEncBitrateTest, EncodesConstantBitrateWithTagFirst)
{
    const BitrateCase& row = GetParam();
    for (const int nChannels : {1, 2}) {
        SCOPED_TRACE(nChannels == 1 ? "mono" : "stereo");
        const EncoderConfig config =
            MakeConfig(row.nInputRate, nChannels == 1 ? kEncoderModeMono : kEncoderModeStereo, row.nKbps);
        uint32_t nChunk = 0, nOutput = 0;
        EncoderStream hStream = 0;
        ASSERT_EQ(InitStream(config, nChunk, nOutput, hStream), kEncoderOk);
        ASSERT_NE(hStream, 0u);
        const uint32_t nFrameSize = row.nExpectedRate >= 32000 ? 1152 : 576;
        EXPECT_EQ(nChunk, nFrameSize * nChannels);
        EXPECT_GE(nOutput, 7200u);

        const uint32_t nFrames = row.nInputRate / 3 + 123;  // not a whole number of chunks
        const fs::path path = m_dir / ("out" + std::to_string(row.nKbps) + "_" + std::to_string(nChannels) + ".mp3");
        EncodeSine(hStream, row.nInputRate, nChannels, nChunk, nOutput, nFrames, path);
        ASSERT_EQ(beCloseStream(hStream), kEncoderOk);
        EXPECT_EQ(beWriteInfoTag(hStream, path.c_str()), row.bTag ? kEncoderOk : kEncoderNoTag);

        const Mp3Facts facts = InspectMp3(path.string());
        ASSERT_TRUE(facts.opened);
        EXPECT_EQ(facts.rate, row.nExpectedRate);
        EXPECT_EQ(facts.channels, nChannels);
        ASSERT_FALSE(facts.frameBitrates.empty());
        for (const int nFrameKbps : facts.frameBitrates)
            ASSERT_EQ(nFrameKbps, static_cast<int>(row.nKbps));
        const int64_t nExpected = static_cast<int64_t>(nFrames) * row.nExpectedRate / row.nInputRate;
        if (row.bTag) {
            EXPECT_TRUE(facts.infoTagFirst);
            EXPECT_EQ(facts.tagFrames, facts.frameBitrates.size());
            // The tag's delay and padding trim the decoded length to the input's.
            if (row.nExpectedRate == static_cast<long>(row.nInputRate))
                EXPECT_EQ(facts.samplesPerChannel, nExpected);
            else
                EXPECT_NEAR(facts.samplesPerChannel, nExpected, nFrameSize);
        } else {
            EXPECT_FALSE(facts.infoTagFirst);
            // Untrimmed: encoder delay and padding stay in.
            EXPECT_GE(facts.samplesPerChannel, nExpected);
            EXPECT_LE(facts.samplesPerChannel, nExpected + 3 * nFrameSize);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryBitrate, LameEncBitrateTest,
                         ::testing::Values(BitrateCase{8, 8000, 8000, false}, BitrateCase{8, 44100, 22050, false},
                                           BitrateCase{16, 8000, 8000, false}, BitrateCase{24, 8000, 8000, true},
                                           BitrateCase{32, 11025, 11025, true}, BitrateCase{40, 12000, 12000, true},
                                           BitrateCase{48, 16000, 16000, true}, BitrateCase{56, 22050, 22050, true},
                                           BitrateCase{64, 32000, 32000, true}, BitrateCase{80, 8000, 16000, true},
                                           BitrateCase{96, 22050, 22050, true}, BitrateCase{112, 44100, 44100, true},
                                           BitrateCase{128, 44100, 44100, true}, BitrateCase{160, 24000, 24000, true},
                                           BitrateCase{192, 8000, 32000, true}, BitrateCase{224, 22050, 44100, true},
                                           BitrateCase{256, 12000, 48000, true}, BitrateCase{320, 44100, 44100, true}),
                         [](const ::testing::TestParamInfo<BitrateCase>& info) {
                             return std::to_string(info.param.nKbps) + "kbps_" +
                                    std::to_string(info.param.nInputRate) + "Hz";
                         });

TEST_F(LameEncTest, TagsAreKeptPerHandleAfterCloseAndForTheLastClosedStream)
{
    struct Stream
    {
        EncoderConfig config;
        int nChannels;
        fs::path path;
        uint32_t nChunk = 0, nOutput = 0;
        EncoderStream hStream = 0;
    };
    Stream streams[] = {{MakeConfig(8000, kEncoderModeMono, 32), 1, m_dir / "mono8k.mp3"},
                        {MakeConfig(44100, kEncoderModeStereo, 192), 2, m_dir / "stereo44k.mp3"},
                        {MakeConfig(22050, kEncoderModeStereo, 64), 2, m_dir / "stereo22k.mp3"}};
    for (Stream& s : streams) {
        ASSERT_EQ(InitStream(s.config, s.nChunk, s.nOutput, s.hStream), kEncoderOk);
        EncodeSine(s.hStream, s.config.sampleRate, s.nChannels, s.nChunk, s.nOutput, s.config.sampleRate / 2,
                   s.path);
    }
    // Closed in order, tagged out of order, each with its own tag.
    for (const Stream& s : streams)
        ASSERT_EQ(beCloseStream(s.hStream), kEncoderOk);
    ASSERT_EQ(beWriteInfoTag(streams[0].hStream, streams[0].path.c_str()), kEncoderOk);
    ASSERT_EQ(beWriteInfoTag(streams[1].hStream, streams[1].path.c_str()), kEncoderOk);
    // A spent handle has nothing left to write.
    EXPECT_EQ(beWriteInfoTag(streams[0].hStream, streams[0].path.c_str()), kEncoderNoTag);
    // The path-only call writes the last closed stream's tag.
    ASSERT_EQ(beWriteVBRHeader(streams[2].path.c_str()), kEncoderOk);

    for (const Stream& s : streams) {
        const Mp3Facts facts = InspectMp3(s.path.string());
        EXPECT_TRUE(facts.infoTagFirst) << s.path;
        EXPECT_EQ(facts.tagFrames, facts.frameBitrates.size()) << s.path;
        EXPECT_EQ(facts.samplesPerChannel, s.config.sampleRate / 2) << s.path;
    }
}

TEST_F(LameEncTest, RejectsRecordsAndValuesItDoesNotSupport)
{
    struct Case
    {
        const char* pszWhat;
        void (*fnSpoil)(EncoderConfig&);
        uint32_t nExpected;
    };
    const Case cases[] = {
        {"kind", [](EncoderConfig& c) { c.configKind = 0; }, kEncoderBadRecord},
        {"version", [](EncoderConfig& c) { c.recordVersion = 2; }, kEncoderBadRecord},
        {"size", [](EncoderConfig& c) { c.recordSize = 330; }, kEncoderBadRecord},
        {"bitrate 0", [](EncoderConfig& c) { c.bitrate = 0; }, kEncoderBadParameter},
        {"bitrate 33", [](EncoderConfig& c) { c.bitrate = 33; }, kEncoderBadParameter},
        {"bitrate 384", [](EncoderConfig& c) { c.bitrate = 384; }, kEncoderBadParameter},
        {"bitrate huge", [](EncoderConfig& c) { c.bitrate = 0xFFFFFFFF; }, kEncoderBadParameter},
        {"rate 0", [](EncoderConfig& c) { c.sampleRate = 0; }, kEncoderBadParameter},
        {"rate 44000", [](EncoderConfig& c) { c.sampleRate = 44000; }, kEncoderBadParameter},
        {"rate 96000", [](EncoderConfig& c) { c.sampleRate = 96000; }, kEncoderBadParameter},
        {"output rate 44000", [](EncoderConfig& c) { c.outputRate = 44000; }, kEncoderBadParameter},
        {"320 kbit/s at 8 kHz out", [](EncoderConfig& c) { c.outputRate = 8000; c.bitrate = 320; },
         kEncoderBadParameter},
        {"mode 2", [](EncoderConfig& c) { c.mode = 2; }, kEncoderBadParameter},
        {"mode -1", [](EncoderConfig& c) { c.mode = -1; }, kEncoderBadParameter},
        {"VBR", [](EncoderConfig& c) { c.enableVbr = 1; }, kEncoderBadParameter},
        {"preset", [](EncoderConfig& c) { c.preset = 1001; }, kEncoderBadParameter},
        {"quality 10", [](EncoderConfig& c) { c.quality = EncoderQualityWord(10); }, kEncoderBadParameter},
        {"emphasis", [](EncoderConfig& c) { c.emphasis = 4; }, kEncoderBadParameter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        EncoderConfig config = MakeConfig(44100, kEncoderModeStereo, 128);
        c.fnSpoil(config);
        uint32_t nChunk = 7, nOutput = 7;
        EncoderStream hStream = 7;
        EXPECT_EQ(InitStream(config, nChunk, nOutput, hStream), c.nExpected);
        EXPECT_EQ(hStream, 7u);  // outputs untouched
    }

    // A quality word that fails its check means the default quality.
    EncoderConfig config = MakeConfig(44100, kEncoderModeStereo, 128);
    config.quality = 0;
    uint32_t nChunk = 0, nOutput = 0;
    EncoderStream hStream = 0;
    ASSERT_EQ(InitStream(config, nChunk, nOutput, hStream), kEncoderOk);
    EXPECT_EQ(beCloseStream(hStream), kEncoderOk);
}

TEST_F(LameEncTest, RejectsNullPointersBadHandlesAndOversizedChunks)
{
    const EncoderConfig config = MakeConfig(44100, kEncoderModeStereo, 128);
    uint32_t nChunk = 0, nOutput = 0;
    EncoderStream hStream = 0;
    EXPECT_EQ(beInitStream(nullptr, &nChunk, &nOutput, &hStream, 0, 0, "", "", "", "", "", "", "", 0, 0, 30, 5,
                           16000, 2400),
              kEncoderBadArgument);
    EXPECT_EQ(beInitStream(&config, nullptr, &nOutput, &hStream, 0, 0, "", "", "", "", "", "", "", 0, 0, 30, 5,
                           16000, 2400),
              kEncoderBadArgument);
    EXPECT_EQ(beInitStream(&config, &nChunk, nullptr, &hStream, 0, 0, "", "", "", "", "", "", "", 0, 0, 30, 5,
                           16000, 2400),
              kEncoderBadArgument);
    EXPECT_EQ(beInitStream(&config, &nChunk, &nOutput, nullptr, 0, 0, "", "", "", "", "", "", "", 0, 0, 30, 5,
                           16000, 2400),
              kEncoderBadArgument);

    ASSERT_EQ(InitStream(config, nChunk, nOutput, hStream), kEncoderOk);
    std::vector<float> samples(nChunk);
    std::vector<uint8_t> output(nOutput);
    uint32_t nWritten = 0;
    const uint32_t nPerChannel = nChunk / 2;
    EXPECT_EQ(beEncodeChunkFloatS16NI(hStream, nPerChannel, samples.data(), nullptr, output.data(), &nWritten),
              kEncoderBadArgument);  // stereo without a right channel
    EXPECT_EQ(beEncodeChunkFloatS16NI(hStream, nPerChannel, nullptr, samples.data(), output.data(), &nWritten),
              kEncoderBadArgument);
    EXPECT_EQ(beEncodeChunkFloatS16NI(hStream, nPerChannel, samples.data(), samples.data(), nullptr, &nWritten),
              kEncoderBadArgument);
    EXPECT_EQ(beEncodeChunkFloatS16NI(hStream, nPerChannel, samples.data(), samples.data(), output.data(), nullptr),
              kEncoderBadArgument);
    EXPECT_EQ(beEncodeChunkFloatS16NI(hStream, nPerChannel + 1, samples.data(), samples.data(), output.data(),
                                      &nWritten),
              kEncoderBadArgument);  // more than the output buffer is sized for
    EXPECT_EQ(beDeinitStream(hStream, nullptr, &nWritten), kEncoderBadArgument);
    EXPECT_EQ(beDeinitStream(hStream, output.data(), nullptr), kEncoderBadArgument);
    EXPECT_EQ(beWriteInfoTag(hStream, nullptr), kEncoderBadArgument);
    EXPECT_EQ(beWriteVBRHeader(nullptr), kEncoderBadArgument);
    ASSERT_EQ(beCloseStream(hStream), kEncoderOk);

    for (const EncoderStream hBad : {EncoderStream{0}, hStream, hStream + 64, EncoderStream{12345}}) {
        EXPECT_EQ(beEncodeChunkFloatS16NI(hBad, 1, samples.data(), samples.data(), output.data(), &nWritten),
                  kEncoderBadHandle);
        EXPECT_EQ(beDeinitStream(hBad, output.data(), &nWritten), kEncoderBadHandle);
        EXPECT_EQ(beCloseStream(hBad), kEncoderBadHandle);
    }
}

TEST_F(LameEncTest, TagIsNotWrittenOverAFileThatDoesNotStartWithItsFrame)
{
    const EncoderConfig config = MakeConfig(44100, kEncoderModeStereo, 128);
    uint32_t nChunk = 0, nOutput = 0;
    EncoderStream hStream = 0;
    ASSERT_EQ(InitStream(config, nChunk, nOutput, hStream), kEncoderOk);
    const fs::path mp3 = m_dir / "real.mp3";
    EncodeSine(hStream, 44100, 2, nChunk, nOutput, 4410, mp3);
    ASSERT_EQ(beCloseStream(hStream), kEncoderOk);

    const fs::path text = m_dir / "text.txt";
    std::ofstream(text) << std::string(5000, 'x');
    const std::vector<char> before = ReadBytes(text);
    EXPECT_NE(beWriteInfoTag(hStream, text.c_str()), kEncoderOk);
    EXPECT_EQ(ReadBytes(text), before);
    EXPECT_EQ(beWriteVBRHeader((m_dir / "missing.mp3").c_str()), kEncoderFileError);
    EXPECT_FALSE(fs::exists(m_dir / "missing.mp3"));
}

}  // namespace
