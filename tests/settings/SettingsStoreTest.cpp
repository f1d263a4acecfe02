#include "SettingsTestSupport.h"

#include <csignal>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

TEST_F(SettingsTest, FirstStartCreatesAnEmptyFileAndKeepsTheDefaults)
{
    InitSettingsStore();

    EXPECT_EQ(g_settings.settingsFolder, SettingsFolder().string());
    EXPECT_EQ(g_settings.outputFolder, m_home.Path().string() + "/Music/");
    EXPECT_EQ(g_settings.bitrateIndex, 11);
    EXPECT_EQ(g_settings.channelMode, 0);
    EXPECT_EQ(g_settings.frequencyIndex, 0);
    ASSERT_TRUE(fs::is_regular_file(ConfigFile()));
    EXPECT_EQ(fs::file_size(ConfigFile()), 0u);
    EXPECT_TRUE(m_boxes.empty());

    ASSERT_EQ(SaveSettings(), 1);
    EXPECT_EQ(NonBlankLines(ConfigFile()), "[OUTPUT]\nDesDir=" + m_home.Path().string() +
                                               "/Music/\n[MP3]\nLameBits=11\nLameChannel=0\nFreq=0\n");
}

TEST_F(SettingsTest, StartUpLoadsAnExistingFile)
{
    fs::create_directories(SettingsFolder());
    WriteText(ConfigFile(), "[OUTPUT]\nDesDir=/srv/mp3/\n[MP3]\nLameBits=16\nLameChannel=2\nFreq=8\n");

    InitSettingsStore();

    EXPECT_EQ(g_settings.outputFolder, "/srv/mp3/");
    EXPECT_EQ(g_settings.bitrateIndex, 16);
    EXPECT_EQ(g_settings.channelMode, 2);
    EXPECT_EQ(g_settings.frequencyIndex, 8);
}

TEST_F(SettingsTest, SettingsFolderThatCannotBeCreatedIsReportedAndStartUpGoesOn)
{
    WriteText(SettingsFolder(), "a file where the folder belongs");

    InitSettingsStore();

    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, "Fail to create folder " + SettingsFolder().string() + " !!");
    EXPECT_EQ(m_boxes[0].type, static_cast<unsigned>(MB_OK));
    EXPECT_EQ(g_settings.bitrateIndex, 11);
}

struct RoundTripCase
{
    const char* name;
    std::string outputFolder;
    int16_t bitrateIndex, channelMode, frequencyIndex;
};

class SettingsRoundTrip : public SettingsTest, public ::testing::WithParamInterface<RoundTripCase>
{
};

TEST_P(SettingsRoundTrip, SavedValuesLoadUnchanged)
{
    const RoundTripCase& c = GetParam();
    InitSettingsStore();
    g_settings.outputFolder = c.outputFolder;
    g_settings.bitrateIndex = c.bitrateIndex;
    g_settings.channelMode = c.channelMode;
    g_settings.frequencyIndex = c.frequencyIndex;
    ASSERT_EQ(SaveSettings(), 1);

    g_settings = ConversionSettings{};
    InitSettingsStore();

    EXPECT_EQ(g_settings.outputFolder, c.outputFolder);
    EXPECT_EQ(g_settings.bitrateIndex, c.bitrateIndex);
    EXPECT_EQ(g_settings.channelMode, c.channelMode);
    EXPECT_EQ(g_settings.frequencyIndex, c.frequencyIndex);
    EXPECT_TRUE(m_boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsRoundTrip,
    ::testing::Values(RoundTripCase{"Plain", "/home/u/Music/", 11, 0, 0},
                      RoundTripCase{"Extremes", "/x/", 16, 2, 8},
                      RoundTripCase{"OutOfRange", "/x/", -1, 3, 12},
                      RoundTripCase{"Empty", "", 0, 1, 1},
                      RoundTripCase{"IniSyntaxInPath", "/a=b/[MP3]/;c/#d/", 5, 1, 3},
                      RoundTripCase{"OuterBlanks", "  /music with blanks/  ", 7, 0, 4},
                      RoundTripCase{"Unicode", "/home/u/Musik/Björk – Homogenic/", 12, 0, 0},
                      RoundTripCase{"LineBreakInPath", "/odd\nLameBits=3/", 9, 0, 0}),
    [](const auto& info) { return info.param.name; });

struct LoadCase
{
    const char* name;
    std::string file;
    std::string outputFolder;  // "<default>" for DefaultOutputFolder()
    int16_t bitrateIndex, channelMode, frequencyIndex;
};

class SettingsLoad : public SettingsTest, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(SettingsLoad, ReadsLikeThePrivateProfileFunctions)
{
    const LoadCase& c = GetParam();
    fs::create_directories(SettingsFolder());
    WriteText(ConfigFile(), c.file);

    InitSettingsStore();

    const std::string strExpectedFolder =
        c.outputFolder == "<default>" ? m_home.Path().string() + "/Music/" : c.outputFolder;
    EXPECT_EQ(g_settings.outputFolder, strExpectedFolder);
    EXPECT_EQ(g_settings.bitrateIndex, c.bitrateIndex);
    EXPECT_EQ(g_settings.channelMode, c.channelMode);
    EXPECT_EQ(g_settings.frequencyIndex, c.frequencyIndex);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(ReadText(ConfigFile()), c.file) << "loading never rewrites the file";
}

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsLoad,
    ::testing::Values(
        LoadCase{"EmptyFile", "", "<default>", 11, 0, 0},
        LoadCase{"NoMp3Section", "[OUTPUT]\nDesDir=/o/\n", "/o/", 11, 0, 0},
        LoadCase{"NoOutputSection", "[MP3]\nLameBits=3\n", "<default>", 3, 0, 0},
        LoadCase{"EmptyDesDirIsKept", "[OUTPUT]\nDesDir=\n", "", 11, 0, 0},
        LoadCase{"NoTrailingSlash", "[OUTPUT]\nDesDir=/o\n", "/o", 11, 0, 0},
        LoadCase{"EmptyNumberGivesDefault", "[MP3]\nLameBits=\nFreq=\n", "<default>", 11, 0, 0},
        LoadCase{"GarbageAfterDigits", "[MP3]\nLameBits=12abc\nFreq=4 Hz\n", "<default>", 12, 0, 4},
        LoadCase{"NoDigitsGivesZero", "[MP3]\nLameBits=abc\nLameChannel=0x2\n", "<default>", 0, 0, 0},
        LoadCase{"Signs", "[MP3]\nLameBits=+3\nLameChannel=-1\n", "<default>", 3, -1, 0},
        LoadCase{"WrapsAt32Bits", "[MP3]\nLameBits=4294967297\n", "<default>", 1, 0, 0},
        LoadCase{"ChannelModeThree", "[MP3]\nLameChannel=3\n", "<default>", 11, 3, 0},
        LoadCase{"NamesIgnoreCase", "[mp3]\nlamebits=5\n[Output]\ndesdir=/c/\n", "/c/", 5, 0, 0},
        LoadCase{"BlanksAroundEquals", "[MP3]\n  LameBits =  6  \n[OUTPUT]\nDesDir = /b/ \n", "/b/", 6, 0, 0},
        LoadCase{"QuotesDropped", "[OUTPUT]\nDesDir=\" /q/ \"\n[MP3]\nFreq=\"2\"\n", " /q/ ", 11, 0, 2},
        LoadCase{"CarriageReturns", "[MP3]\r\nLameBits=2\r\n[OUTPUT]\r\nDesDir=/w/\r\n", "/w/", 2, 0, 0},
        LoadCase{"CommentsAndStrayLines", "; note\n[MP3]\n# x\nnonsense\nFreq=5\n", "<default>", 11, 0, 5}),
    [](const auto& info) { return info.param.name; });

TEST_F(SettingsTest, LongDesDirIsCutTo1023Characters)
{
    fs::create_directories(SettingsFolder());
    g_settings.settingsFolder = SettingsFolder().string();
    struct
    {
        std::string value, expected;
    } cases[] = {
        {std::string(1023, 'a'), std::string(1023, 'a')},
        {std::string(5000, 'b'), std::string(1023, 'b')},
        // Characters, not bytes: a two-byte sequence is never split.
        {[] { std::string s; for (int i = 0; i < 1100; ++i) s += "é"; return s; }(),
         [] { std::string s; for (int i = 0; i < 1023; ++i) s += "é"; return s; }()},
    };
    for (const auto& c : cases) {
        WriteText(ConfigFile(), "[OUTPUT]\nDesDir=" + c.value + "\n");
        ASSERT_EQ(LoadSettings(), 1);
        EXPECT_TRUE(g_settings.outputFolder == c.expected) << g_settings.outputFolder.size() << " bytes";
    }
}

TEST_F(SettingsTest, SaveKeepsWhatElseTheFileHolds)
{
    fs::create_directories(SettingsFolder());
    WriteText(ConfigFile(), "; kept comment\n[Window]\nWidth=640\n\n[MP3]\nLameBits=3\nVbr=1\n");
    InitSettingsStore();
    g_settings.bitrateIndex = 14;
    g_settings.outputFolder = "/out/";

    ASSERT_EQ(SaveSettings(), 1);

    EXPECT_EQ(NonBlankLines(ConfigFile()), "; kept comment\n[Window]\nWidth=640\n[MP3]\nLameBits=14\nVbr=1\n"
                                           "LameChannel=0\nFreq=0\n[OUTPUT]\nDesDir=/out/\n");
}

TEST_F(SettingsTest, OutOfRangeIndicesAreKeptButLookedUpSafely)
{
    fs::create_directories(SettingsFolder());
    WriteText(ConfigFile(), "[MP3]\nLameBits=40\nFreq=-3\n");
    InitSettingsStore();

    EXPECT_EQ(g_settings.bitrateIndex, 40);
    EXPECT_EQ(g_settings.frequencyIndex, -3);
    EXPECT_EQ(CurrentBitrateKbps(), 128);
    EXPECT_EQ(ResolveOutputRate(48000), 44100u);
    EXPECT_EQ(SettingsSummaryText(), "  MP3:  CBR 128 kbps; Automatic Frequency; Automatic Channel;");

    ASSERT_EQ(SaveSettings(), 1);
    EXPECT_NE(ReadText(ConfigFile()).find("LameBits=40\n"), std::string::npos);
    EXPECT_NE(ReadText(ConfigFile()).find("Freq=-3\n"), std::string::npos);
}

TEST_F(SettingsTest, SaveIntoAMissingFolderIsReported)
{
    g_settings.settingsFolder = (m_home.Path() / "gone").string();

    EXPECT_EQ(SaveSettings(), 0);

    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, "An error occurred while saving settings!");
    EXPECT_EQ(m_boxes[0].type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
}

// A write that fails half-way (here: the file size limit, as a full disk
// would) leaves the old file whole and no temporary file behind.
TEST_F(SettingsTest, FailedSaveLeavesTheOldFileIntact)
{
    InitSettingsStore();
    ASSERT_EQ(SaveSettings(), 1);
    const std::string strBefore = ReadText(ConfigFile());
    g_settings.outputFolder = std::string(4096, 'x');

    struct rlimit oldLimit;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit smallLimit = oldLimit;
    smallLimit.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &smallLimit), 0);
    const int nResult = SaveSettings();
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldSignal);

    EXPECT_EQ(nResult, 0);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, "An error occurred while saving settings!");
    EXPECT_EQ(ReadText(ConfigFile()), strBefore);
    EXPECT_EQ(std::distance(fs::directory_iterator(SettingsFolder()), fs::directory_iterator()), 1);
}

TEST_F(SettingsTest, SaveThroughALinkUpdatesItsTarget)
{
    fs::create_directories(SettingsFolder());
    const fs::path target = m_home.MakeDir("dotfiles") / "Config.ini";
    WriteText(target, "[MP3]\nLameBits=1\n");
    fs::create_symlink(target, ConfigFile());
    InitSettingsStore();
    g_settings.bitrateIndex = 2;

    ASSERT_EQ(SaveSettings(), 1);

    EXPECT_TRUE(fs::is_symlink(ConfigFile()));
    EXPECT_NE(ReadText(target).find("LameBits=2\n"), std::string::npos);
}

TEST_F(SettingsTest, UnreadableFileIsReportedOnLoadAndNotOverwritten)
{
    fs::create_directories(SettingsFolder());
    // A dangling link reads as an error other than "no such file" only when
    // its target is itself unreachable; a loop is the portable way for root.
    fs::create_symlink(ConfigFile(), ConfigFile());
    g_settings.settingsFolder = SettingsFolder().string();

    EXPECT_EQ(LoadSettings(), 0);
    EXPECT_EQ(SaveSettings(), 0);

    ASSERT_EQ(m_boxes.size(), 2u);
    EXPECT_EQ(m_boxes[0].text, "An Error Occurred while loading settings!");
    EXPECT_EQ(m_boxes[0].type, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(m_boxes[1].text, "An error occurred while saving settings!");
    EXPECT_TRUE(fs::is_symlink(ConfigFile()));
}

}  // namespace
