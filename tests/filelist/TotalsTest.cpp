#include <gtest/gtest.h>

#include <limits>

#include "filelist/FileListTotals.h"
#include "filelist/TextCase.h"

namespace {

TEST(FormatHms, WholeSecondsWithUnwrappedHours)
{
    struct
    {
        double seconds;
        const char* text;
    } cases[] = {
        {0.0, "00:00:00"},        {0.999, "00:00:00"},    {59.99, "00:00:59"},
        {3661.5, "01:01:01"},     {360000.0, "100:00:00"}, {-1e-9, "00:00:00"},
        // Longer than an int of seconds holds (36-bit sample counts at 1 Hz).
        {68719476735.0, "19088743:32:15"},
        {std::numeric_limits<double>::infinity(), "5124095576030431:00:15"},
        {std::numeric_limits<double>::quiet_NaN(), "00:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatHms(c.seconds), c.text) << c.seconds;
}

TEST(FileListTotals, AddAndRemoveKeepTheStatusTexts)
{
    AudioFileInfo valid;
    valid.sizeMB = 2.5;
    valid.durationSeconds = 3600.75;
    AudioFileInfo invalid;
    invalid.invalid = 1;
    invalid.sizeMB = 0.25;

    FileListTotals totals;
    EXPECT_EQ(totals.ListText(), "No file");
    EXPECT_EQ(totals.SelectionText(), "No file selected");

    totals.Add(valid);
    totals.Add(invalid);
    totals.Add(valid);
    EXPECT_EQ(totals.ListText(), "3 file(s)   5.25 MB   02:00:01");
    EXPECT_EQ(totals.SelectionText(), "3 file(s) selected, 5.25 MB   02:00:01");

    totals.Remove(valid);
    totals.Remove(valid);
    EXPECT_EQ(totals.ListText(), "1 file(s)   0.25 MB   00:00:00");
    totals.Remove(invalid);
    EXPECT_EQ(totals.ListText(), "No file");
}

TEST(ToUpperUtf8, UpperCasesEveryScriptAndKeepsBadBytes)
{
    EXPECT_EQ(ToUpperUtf8("flac"), "FLAC");
    EXPECT_EQ(ToUpperUtf8("flác"), "FLÁC");
    EXPECT_EQ(ToUpperUtf8("ñandú-ø"), "ÑANDÚ-Ø");
    EXPECT_EQ(ToUpperUtf8("音楽"), "音楽");
    EXPECT_EQ(ToUpperUtf8("a\xff" "b\xc3"), "A\xff" "B\xc3");
    EXPECT_EQ(ToUpperUtf8("\xc0\xaf" "x"), "\xc0\xaf" "X") << "overlong sequences are not decoded";
}

}  // namespace
