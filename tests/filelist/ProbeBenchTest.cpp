#include "ProbeTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/Format.h"

namespace fs = std::filesystem;

namespace {

fs::path BenchFolder()
{
    const char* psz = std::getenv("KESTRUNE_FLAC_BENCH");
    return psz ? fs::path(psz) : fs::path();
}

bool IsSupportedDepth(uint32_t nBits)
{
    return nBits == 8 || nBits == 16 || nBits == 24;
}

// Every file of the public decoder test bench: no crash, at most one box, and
// the verdict follows from what the STREAMINFO says.
TEST_F(ProbeTest, EveryBenchFileIsJudgedByTheRules)
{
    const fs::path bench = BenchFolder();
    if (bench.empty() || !fs::is_directory(bench))
        GTEST_SKIP() << "KESTRUNE_FLAC_BENCH not available";

    int nFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(bench)) {
        if (entry.path().extension() != ".flac")
            continue;
        ++nFiles;
        const std::string strPath = entry.path().string();
        SCOPED_TRACE(strPath);
        m_boxes.clear();
        FileRowTexts row;
        const AudioFileInfo info = Load(strPath, row);

        ASSERT_LE(m_boxes.size(), 1u);
        const std::string strBox = m_boxes.empty() ? "" : m_boxes[0].text;
        if (strBox == StringFormat("Invalid Flac File: %s!", strPath.c_str())) {
            EXPECT_EQ(info.bitsPerSample, 0u);
        } else if (!strBox.empty()) {
            EXPECT_EQ(strBox, StringFormat("Bitdepth %u is not supposed to be supported!", info.bitsPerSample));
            EXPECT_FALSE(IsSupportedDepth(info.bitsPerSample));
        }
        const bool bUsable =
            strBox.empty() && info.channels != 0 && info.sampleRate != 0 && info.interleavedSamples != 0;
        EXPECT_EQ(info.invalid, bUsable ? 0 : 1);
        if (bUsable) {
            EXPECT_TRUE(IsSupportedDepth(info.bitsPerSample));
            EXPECT_EQ(row.texts[COLUMN_TYPE], "FLAC");
            EXPECT_EQ(row.texts[COLUMN_FREQUENCY], StringFormat("%u Hz", info.sampleRate));
            EXPECT_FALSE(row.texts[COLUMN_CHANNEL].empty());
        } else {
            EXPECT_EQ(row.texts[COLUMN_TYPE], "Unknown");
            EXPECT_EQ(row.texts[COLUMN_DURATION] + row.texts[COLUMN_FREQUENCY] + row.texts[COLUMN_CHANNEL], "");
        }
    }
    EXPECT_GT(nFiles, 50);
}

// Files whose verdict the bench's own notes make plain.
TEST_F(ProbeTest, KnownBenchFilesGetTheirVerdict)
{
    const fs::path bench = BenchFolder();
    if (bench.empty() || !fs::is_directory(bench))
        GTEST_SKIP() << "KESTRUNE_FLAC_BENCH not available";
    const std::map<std::string, std::string> verdicts = {
        // "ok: <channel cell>", "silent", or the message (%s: the path)
        {"subset/01 - blocksize 4096.flac", "ok: 2 (Stereo)"},
        {"subset/23 - 8 bit per sample.flac", "ok: 2 (Stereo)"},
        {"subset/28 - high resolution audio, default settings.flac", "ok: 2 (Stereo)"},
        {"subset/41 - 6 channels (5.1).flac", "ok: 6"},
        {"subset/60 - mono audio.flac", "ok: 1 (Mono)"},
        {"subset/22 - 12 bit per sample.flac", "Bitdepth 12 is not supposed to be supported!"},
        {"subset/37 - 20 bit per sample.flac", "Bitdepth 20 is not supposed to be supported!"},
        {"uncommon/05 - 32bps audio.flac", "Bitdepth 32 is not supposed to be supported!"},
        {"uncommon/07 - 15 bit per sample.flac", "Bitdepth 15 is not supposed to be supported!"},
        {"subset/45 - no total number of samples set.flac", "silent"},
        {"faulty/06 - missing streaminfo metadata block.flac", "Invalid Flac File: %s!"},
        {"uncommon/10 - file starting at frame header.flac", "Invalid Flac File: %s!"},
    };
    for (const auto& [strName, strVerdict] : verdicts) {
        const std::string strPath = (bench / strName).string();
        SCOPED_TRACE(strName);
        m_boxes.clear();
        FileRowTexts row;
        const AudioFileInfo info = Load(strPath, row);
        if (strVerdict.rfind("ok: ", 0) == 0) {
            EXPECT_EQ(info.invalid, 0);
            EXPECT_EQ(row.texts[COLUMN_CHANNEL], strVerdict.substr(4));
            EXPECT_TRUE(m_boxes.empty());
        } else if (strVerdict == "silent") {
            EXPECT_EQ(info.invalid, 1);
            EXPECT_TRUE(m_boxes.empty());
        } else {
            EXPECT_EQ(info.invalid, 1);
            std::string strMessage = strVerdict;
            if (const size_t nAt = strMessage.find("%s"); nAt != std::string::npos)
                strMessage.replace(nAt, 2, strPath);
            ASSERT_EQ(m_boxes.size(), 1u);
            EXPECT_EQ(m_boxes[0].text, strMessage);
        }
    }
}

}  // namespace
