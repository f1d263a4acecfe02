#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/FileSystem.h"
#include "platform/Format.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FileSystem, RenameNeverReplacesAnExistingFile)
{
    const fs::path dir = fs::temp_directory_path() / StringFormat("kestrune-fs-%d", ::getpid());
    fs::create_directories(dir);
    std::ofstream(dir / "a.flac") << "A";
    std::ofstream(dir / "b.flac") << "B";

    EXPECT_FALSE(RenameNoReplace((dir / "a.flac").string(), (dir / "b.flac").string()));
    EXPECT_EQ(ReadAll(dir / "b.flac"), "B");
    EXPECT_EQ(ReadAll(dir / "a.flac"), "A");

    EXPECT_TRUE(RenameNoReplace((dir / "a.flac").string(), (dir / "c\\d.flac").string()));
    EXPECT_FALSE(PathExists((dir / "a.flac").string()));
    EXPECT_EQ(ReadAll(dir / "c\\d.flac"), "A");
    EXPECT_TRUE(IsDirectory(dir.string()));
    fs::remove_all(dir);
}

TEST(Format, PrintsLikePrintf)
{
    EXPECT_EQ(StringFormat("%5.2lf%%", 3.14159), " 3.14%");
    EXPECT_EQ(StringFormat("Converting %d/%d", 1, 3), "Converting 1/3");
    EXPECT_EQ(StringFormat("%s", ""), "");
    EXPECT_EQ(StringFormat("%s", std::string(5000, 'x').c_str()).size(), 5000u);
}

}  // namespace
