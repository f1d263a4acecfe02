#include "SettingsTestSupport.h"

#include <climits>

namespace fs = std::filesystem;

namespace {

std::string Repeat(const std::string& strPart, int nTimes)
{
    std::string str;
    for (int i = 0; i < nTimes; ++i)
        str += strPart;
    return str;
}

TEST(CreateFolderPath, CreatesEveryMissingLevel)
{
    CTempHome home;
    const std::string strRoot = home.Path().string();
    struct
    {
        const char* name;
        std::string path;
    } cases[] = {
        {"one level", strRoot + "/a"},
        {"trailing slash", strRoot + "/b/c/"},
        {"doubled slashes", strRoot + "//d//e"},
        {"deep", strRoot + "/deep" + Repeat("/x", 300)},
        // Far beyond the 260 characters of a fixed work buffer.
        {"long", strRoot + "/long" + Repeat("/" + std::string(200, 'n'), 15)},
        {"blanks and backslashes", strRoot + "/with blank/back\\slash"},
    };
    for (const auto& c : cases) {
        ASSERT_LT(c.path.size(), static_cast<size_t>(PATH_MAX)) << c.name;
        EXPECT_EQ(CreateFolderPath(c.path), 1) << c.name;
        EXPECT_TRUE(fs::is_directory(c.path)) << c.name;
        EXPECT_EQ(CreateFolderPath(c.path), 1) << c.name << " (existing)";
    }
    EXPECT_TRUE(fs::is_directory(strRoot + "/with blank/back\\slash")) << "a backslash is a name character";
}

TEST(CreateFolderPath, FailsWhenTheFolderCannotExist)
{
    CTempHome home;
    const fs::path file = home.Path() / "file";
    WriteText(file, "x");
    struct
    {
        const char* name;
        std::string path;
    } cases[] = {
        {"empty", ""},
        {"file at the end", file.string()},
        {"file in between", (file / "sub").string()},
        {"longer than the system allows", home.Path().string() + Repeat("/" + std::string(250, 'z'), 20)},
        {"component too long", home.Path().string() + "/" + std::string(300, 'c')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CreateFolderPath(c.path), 0) << c.name;
    EXPECT_TRUE(fs::is_regular_file(file));
}

}  // namespace
