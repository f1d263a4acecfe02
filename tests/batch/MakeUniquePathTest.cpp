#include <gtest/gtest.h>

#include <fstream>

#include "batch/BatchRunner.h"
#include "tests/support/TempHome.h"

namespace {

TEST(MakeUniquePath, SkipsTakenNumbers)
{
    CTempHome home;
    const auto dir = home.MakeDir("out");
    std::ofstream(dir / "a.mp3") << "x";
    std::ofstream(dir / "a (2).mp3") << "x";
    EXPECT_EQ(CBatchRunner::MakeUniquePath((dir / "a.mp3").string()), (dir / "a (3).mp3").string());
    EXPECT_EQ(CBatchRunner::MakeUniquePath((dir / "b.mp3").string()), (dir / "b (2).mp3").string());
}

TEST(MakeUniquePath, OnlyADotInTheFileNameStartsTheExtension)
{
    EXPECT_EQ(CBatchRunner::MakeUniquePath("/nonexistent.dir/track"), "/nonexistent.dir/track (2)");
    EXPECT_EQ(CBatchRunner::MakeUniquePath("/nonexistent/x.tar.mp3"), "/nonexistent/x.tar (2).mp3");
}

}  // namespace
