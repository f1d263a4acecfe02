#include "SettingsTestSupport.h"

#include <cstdlib>

#include "platform/KnownFolders.h"

namespace {

class DefaultFolders : public SettingsTest
{
protected:
    void WriteUserDirs(const std::string& strText) { WriteText(m_home.Path() / ".config" / "user-dirs.dirs", strText); }
    std::string Home() const { return m_home.Path().string(); }
};

TEST_F(DefaultFolders, OutputFolderFollowsTheUserDirectories)
{
    struct
    {
        const char* name;
        std::string userDirs;  // empty: no file
        std::string expected;  // after the home folder, unless absolute
    } cases[] = {
        {"no file", "", "/Music/"},
        {"music", "XDG_DESKTOP_DIR=\"$HOME/Desk\"\nXDG_MUSIC_DIR=\"$HOME/Tunes\"\n", "/Tunes/"},
        {"music with trailing slash", "XDG_MUSIC_DIR=\"$HOME/Tunes/\"\n", "/Tunes/"},
        {"desktop only", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n", "/Desk/"},
        {"music disabled", "XDG_MUSIC_DIR=\"$HOME/\"\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n", "/Desk/"},
        {"relative value ignored", "XDG_MUSIC_DIR=\"Tunes\"\n", "/Music/"},
        {"unquoted value ignored", "XDG_MUSIC_DIR=$HOME/Tunes\n", "/Music/"},
        {"escaped quote", "XDG_MUSIC_DIR=\"$HOME/My \\\"Songs\\\"\"\n", "/My \"Songs\"/"},
        {"absolute", "XDG_MUSIC_DIR=\"/srv/music\"\n", "=/srv/music/"},
        {"$HOMEX is no home", "XDG_MUSIC_DIR=\"$HOMEX/a\"\n", "/Music/"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(m_home.Path() / ".config" / "user-dirs.dirs");
        if (!c.userDirs.empty())
            WriteUserDirs(c.userDirs);
        const std::string strExpected = c.expected[0] == '=' ? c.expected.substr(1) : Home() + c.expected;
        EXPECT_EQ(DefaultOutputFolder(), strExpected) << c.name;
    }
}

TEST_F(DefaultFolders, SettingsFolderFollowsTheConfigHome)
{
    EXPECT_EQ(GetSettingsFolder(), Home() + "/.config/Kestrune");

    ::setenv("XDG_CONFIG_HOME", (Home() + "/cfg/").c_str(), 1);
    EXPECT_EQ(GetSettingsFolder(), Home() + "/cfg/Kestrune");

    // A relative XDG_CONFIG_HOME is invalid and ignored.
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(GetSettingsFolder(), Home() + "/.config/Kestrune");

    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(GetSettingsFolder(), Home() + "/.config/Kestrune");
    EXPECT_EQ(ConfigHome(), Home() + "/.config");
}

}  // namespace
