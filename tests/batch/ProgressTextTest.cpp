#include <gtest/gtest.h>

#include "batch/ProgressText.h"

namespace {

TEST(ProgressText, PercentagesAreCappedAndFormatted)
{
    EXPECT_EQ(FormatPercent(104.7f), "100.00%");
    EXPECT_EQ(FormatPercent(100.2f), "100.00%");
    EXPECT_EQ(FormatPercent(0.0f), " 0.00%");
    EXPECT_EQ(FormatPercent(42.126f), "42.13%");
}

TEST(ProgressText, RemainingTimeIsALinearExtrapolation)
{
    EXPECT_EQ(FormatHms(RemainingSeconds(10.0, 25.0f)), "00:00:30");
    EXPECT_DOUBLE_EQ(RemainingSeconds(10.0, 0.0f), 0.0);
    EXPECT_DOUBLE_EQ(RemainingSeconds(10.0, 104.7f), 0.0);
}

TEST(ProgressText, SpeedAndLogFields)
{
    EXPECT_EQ(FormatSpeed(30.0, 2.0), " 15.00x");
    EXPECT_EQ(FormatSpeed(30.0, 0.0), "  0.00x");
    EXPECT_EQ(FormatLogNumber(1), "001");
    EXPECT_EQ(FormatLogNumber(1234), "1234");
    EXPECT_EQ(FormatLogTime(std::time(nullptr)).size(), 8u);
}

}  // namespace
