#include "ProbeTestSupport.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <fcntl.h>
#include <sys/stat.h>

#include "tests/support/FlacFixture.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

// STREAMINFO starts at byte 8 (after "fLaC" and the block header); its
// rate / channels / depth / total-samples bit field at byte 18 of the file.
constexpr size_t kStreamFieldsOffset = 18;

void PatchFile(const fs::path& path, size_t nOffset, const std::vector<uint8_t>& bytes)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(nOffset));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadBytes(const fs::path& path, size_t nOffset, size_t nCount)
{
    std::ifstream file(path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(nOffset));
    std::vector<uint8_t> bytes(nCount);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(nCount));
    return bytes;
}

void ForgeTotalSamples(const fs::path& path, uint64_t nTotal)
{
    std::vector<uint8_t> fields = ReadBytes(path, kStreamFieldsOffset, 8);
    fields[3] = static_cast<uint8_t>((fields[3] & 0xF0) | ((nTotal >> 32) & 0x0F));
    for (int i = 0; i < 4; ++i)
        fields[4 + i] = static_cast<uint8_t>(nTotal >> (24 - 8 * i));
    PatchFile(path, kStreamFieldsOffset, fields);
}

void ForgeZeroSampleRate(const fs::path& path)
{
    std::vector<uint8_t> fields = ReadBytes(path, kStreamFieldsOffset, 3);
    fields[0] = 0;
    fields[1] = 0;
    fields[2] &= 0x0F;
    PatchFile(path, kStreamFieldsOffset, fields);
}

struct FlacShape
{
    uint32_t bits = 16, channels = 2, rate = 44100;
    double seconds = 1.5;
};

// "" when libFLAC's encoder refuses the shape.
std::string MakeFlac(const fs::path& dir, const std::string& strName, const FlacShape& shape)
{
    FlacFixtureShape fixture;
    fixture.bitsPerSample = shape.bits;
    fixture.channels = shape.channels;
    fixture.sampleRate = shape.rate;
    const auto nFrames = static_cast<uint32_t>(std::lround(shape.seconds * shape.rate));
    fixture.samples = MakeSine(nFrames, shape.channels, shape.bits, shape.rate, 440.0, 0.5);
    const fs::path path = dir / strName;
    return WriteFlacFixture(path.string(), fixture) ? path.string() : std::string();
}

struct ProbeCase
{
    const char* name;
    std::function<std::string(const fs::path&)> make;  // the file's full path
    const char* message;                               // "" none; %s stands for the full path
    // Cells Type, Duration, Frequency, Channel.
    std::array<const char*, 4> cells;
};

const ProbeCase kProbeCases[] = {
    {"Stereo16", [](const fs::path& d) { return MakeFlac(d, "a.flac", {16, 2, 44100, 2.5}); }, "",
     {"FLAC", "00:00:02", "44100 Hz", "2 (Stereo)"}},
    {"Mono8", [](const fs::path& d) { return MakeFlac(d, "b.flac", {8, 1, 8000, 3.0}); }, "",
     {"FLAC", "00:00:03", "8000 Hz", "1 (Mono)"}},
    {"SixChannels24", [](const fs::path& d) { return MakeFlac(d, "c.flac", {24, 6, 48000, 1.0}); }, "",
     {"FLAC", "00:00:01", "48000 Hz", "6"}},
    {"Depth12", [](const fs::path& d) { return MakeFlac(d, "d.flac", {12, 2, 44100, 1.0}); },
     "Bitdepth 12 is not supposed to be supported!", {"Unknown", "", "", ""}},
    {"Depth20", [](const fs::path& d) { return MakeFlac(d, "e.flac", {20, 2, 44100, 1.0}); },
     "Bitdepth 20 is not supposed to be supported!", {"Unknown", "", "", ""}},
    {"Depth32", [](const fs::path& d) { return MakeFlac(d, "f.flac", {32, 2, 44100, 1.0}); },
     "Bitdepth 32 is not supposed to be supported!", {"Unknown", "", "", ""}},
    {"ShorterThanASecond", [](const fs::path& d) { return MakeFlac(d, "g.flac", {16, 2, 22050, 0.5}); }, "",
     {"FLAC", "", "22050 Hz", "2 (Stereo)"}},
    {"NoSamples", [](const fs::path& d) { return MakeFlac(d, "h.flac", {16, 2, 44100, 0.0}); }, "",
     {"Unknown", "", "", ""}},
    {"NoExtension", [](const fs::path& d) { return MakeFlac(d, "track", {16, 2, 44100, 1.0}); }, "",
     {"TRACK", "00:00:01", "44100 Hz", "2 (Stereo)"}},
    {"MixedCaseExtension", [](const fs::path& d) { return MakeFlac(d, "Song.Flac", {16, 1, 32000, 1.0}); }, "",
     {"FLAC", "00:00:01", "32000 Hz", "1 (Mono)"}},
    {"UnicodeName", [](const fs::path& d) { return MakeFlac(d, "Ünïcødé – 音楽.flac", {16, 2, 44100, 1.0}); }, "",
     {"FLAC", "00:00:01", "44100 Hz", "2 (Stereo)"}},
    {"HundredHours",
     [](const fs::path& d) {
         const std::string strPath = MakeFlac(d, "long.flac", {16, 1, 44100, 0.2});
         ForgeTotalSamples(strPath, 44100ull * 360000);
         return strPath;
     },
     "", {"FLAC", "100:00:00", "44100 Hz", "1 (Mono)"}},
    {"ZeroSampleRate",
     [](const fs::path& d) {
         const std::string strPath = MakeFlac(d, "norate.flac", {16, 2, 44100, 1.0});
         ForgeZeroSampleRate(strPath);
         return strPath;
     },
     "", {"Unknown", "", "", ""}},
    {"TextFile",
     [](const fs::path& d) {
         std::ofstream(d / "notes.flac") << "not a FLAC stream\n";
         return (d / "notes.flac").string();
     },
     "Invalid Flac File: %s!", {"Unknown", "", "", ""}},
    {"EmptyFile",
     [](const fs::path& d) {
         std::ofstream(d / "empty.flac").flush();
         return (d / "empty.flac").string();
     },
     "Invalid Flac File: %s!", {"Unknown", "", "", ""}},
    // A pipe would block a plain open; it is silently unusable instead.
    {"Pipe",
     [](const fs::path& d) {
         const fs::path path = d / "pipe.flac";
         return ::mkfifo(path.c_str(), 0600) == 0 ? path.string() : std::string();
     },
     "", {"Unknown", "", "", ""}},
};

class ProbeCases : public ProbeTest, public ::testing::WithParamInterface<ProbeCase>
{
protected:
    CTempHome m_home;
};

TEST_P(ProbeCases, CellsMessagesAndRecord)
{
    const ProbeCase& c = GetParam();
    const std::string strPath = c.make(m_home.MakeDir("files"));
    if (strPath.empty())
        GTEST_SKIP() << "fixture could not be made here";

    FileRowTexts row;
    const AudioFileInfo info = Load(strPath, row);

    const bool bInvalid = std::string(c.cells[0]) == "Unknown";
    EXPECT_EQ(info.invalid, bInvalid ? 1 : 0);
    EXPECT_EQ(row.typeInRed, bInvalid);
    EXPECT_EQ(row.texts[COLUMN_TYPE], c.cells[0]);
    EXPECT_EQ(row.texts[COLUMN_DURATION], c.cells[1]);
    EXPECT_EQ(row.texts[COLUMN_FREQUENCY], c.cells[2]);
    EXPECT_EQ(row.texts[COLUMN_CHANNEL], c.cells[3]);
    EXPECT_EQ(row.texts[COLUMN_PATH] + row.texts[COLUMN_NAME], strPath);
    EXPECT_TRUE(std::isfinite(info.durationSeconds));

    std::string strMessage = c.message;
    if (const size_t nAt = strMessage.find("%s"); nAt != std::string::npos)
        strMessage.replace(nAt, 2, strPath);
    if (strMessage.empty()) {
        EXPECT_TRUE(m_boxes.empty()) << m_boxes.front().text;
    } else {
        ASSERT_EQ(m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes[0].text, strMessage);
        EXPECT_EQ(m_boxes[0].type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ProbeCases, ::testing::ValuesIn(kProbeCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(ProbeTest, RecordHoldsTheStreamInfo)
{
    CTempHome home;
    const std::string strPath = MakeFlac(home.MakeDir("f"), "six.flac", {24, 6, 48000, 2.0});
    FileRowTexts row;
    const AudioFileInfo info = Load(strPath, row);

    EXPECT_EQ(info.invalid, 0);
    EXPECT_EQ(info.typeCode, 1);
    EXPECT_EQ(info.sampleRate, 48000u);
    EXPECT_EQ(info.channels, 6u);
    EXPECT_EQ(info.bitsPerSample, 24u);
    EXPECT_EQ(info.interleavedSamples, 6u * 96000u);
    EXPECT_DOUBLE_EQ(info.durationSeconds, 2.0);
}

TEST_F(ProbeTest, RejectedDepthKeepsOnlyTheDepth)
{
    CTempHome home;
    const std::string strPath = MakeFlac(home.MakeDir("f"), "d12.flac", {12, 2, 44100, 1.0});
    ASSERT_FALSE(strPath.empty());
    FileRowTexts row;
    const AudioFileInfo info = Load(strPath, row);

    EXPECT_EQ(info.bitsPerSample, 12u);
    EXPECT_EQ(info.sampleRate, 0u);
    EXPECT_EQ(info.channels, 0u);
    EXPECT_EQ(info.interleavedSamples, 0u);
    EXPECT_EQ(info.durationSeconds, 0.0);
}

TEST_F(ProbeTest, FileGoneBeforeTheProbeIsSilentlyInvalid)
{
    CTempHome home;
    const std::string strPath = MakeFlac(home.MakeDir("f"), "gone.flac", {16, 2, 44100, 1.0});
    const std::optional<FoundFile> found = FindFoundFile(strPath);
    ASSERT_TRUE(found);
    AudioFileInfo info;
    FileRowTexts row;
    DescribeFoundFile(*found, info, row);
    fs::remove(strPath);

    ProbeAudioFile(strPath, info, row);

    EXPECT_EQ(info.invalid, 1);
    EXPECT_EQ(row.texts[COLUMN_TYPE], "Unknown");
    EXPECT_GT(info.sizeMB, 0.0) << "the size of the directory entry stays";
    EXPECT_TRUE(m_boxes.empty());
}

TEST(DescribeFoundFile, NameFolderTypeAndSize)
{
    g_sourceTypeTable = {{"FLAC", 1}};
    struct
    {
        std::string name;
        uint64_t size;
        const char* type;
        uint8_t code;
        const char* sizeText;
    } cases[] = {
        {"a.flac", 1048576, "FLAC", 1, "1.00"},
        {"b.Flac", 0, "FLAC", 1, "0.00"},
        {"noext", 5242, "NOEXT", 0, "0.00"},
        {"x.mp3.flac", 3 * 1048576 + 524288, "FLAC", 1, "3.50"},
        {".flac", 10485, "FLAC", 1, "0.01"},
        {"dot.", 1, "", 0, "0.00"},
        {"chanson.flác", 1, "FLÁC", 0, "0.00"},
        {"back\\slash.wav", 8ull << 40, "WAV", 0, "8388608.00"},
    };
    for (const auto& c : cases) {
        FoundFile found{c.name, "/music/in/" + c.name, c.size, std::nullopt};
        AudioFileInfo info;
        FileRowTexts row;
        DescribeFoundFile(found, info, row);
        EXPECT_EQ(row.texts[COLUMN_NAME], c.name);
        EXPECT_EQ(row.texts[COLUMN_PATH], "/music/in/");
        EXPECT_EQ(row.texts[COLUMN_TYPE], c.type) << c.name;
        EXPECT_EQ(info.typeCode, c.code) << c.name;
        EXPECT_EQ(row.texts[COLUMN_SIZE], c.sizeText) << c.name;
        EXPECT_EQ(row.texts[COLUMN_MODIFIED], "");
    }
}

TEST(DescribeFoundFile, LastWriteInLocalTime)
{
    CTempHome home;
    const fs::path path = home.MakeDir("t") / "x.flac";
    std::ofstream(path) << "x";
    const struct timespec times[2] = {{1614834367, 0}, {1614834367, 0}};  // 2021-03-04 05:06:07 UTC
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    const char* pszOldTz = std::getenv("TZ");
    const std::string strOldTz = pszOldTz ? pszOldTz : "";

    std::string strText[2];
    const char* zones[2] = {"UTC0", "CET-1"};
    for (int i = 0; i < 2; ++i) {
        ::setenv("TZ", zones[i], 1);
        ::tzset();
        AudioFileInfo info;
        FileRowTexts row;
        DescribeFoundFile(*FindFoundFile(path.string()), info, row);
        strText[i] = row.texts[COLUMN_MODIFIED];
    }
    pszOldTz ? ::setenv("TZ", strOldTz.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();

    EXPECT_EQ(strText[0], "2021/03/04 05:06:07");
    EXPECT_EQ(strText[1], "2021/03/04 06:06:07");
}

}  // namespace
