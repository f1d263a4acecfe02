// Installs the build into a temporary prefix with `cmake --install` and runs
// the installed programs from there.
#include <QSvgRenderer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

#include "resources/Icons.h"
#include "resources/Resource.h"
#include "tests/support/FlacFixture.h"
#include "tests/support/Mp3Check.h"
#include "tests/support/TempHome.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_options/ProgramRun.h"
#include "tests/ui_options/RuntimeDir.h"

namespace fs = std::filesystem;

namespace {

class InstallTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        std::string strTemplate = (fs::temp_directory_path() / "kestrune-prefix-XXXXXX").string();
        ASSERT_NE(::mkdtemp(strTemplate.data()), nullptr);
        s_prefix = strTemplate;
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(KESTRUNE_CMAKE_COMMAND,
                      {"--install", KESTRUNE_BUILD_DIR, "--prefix", QString::fromStdString(s_prefix.string())});
        ASSERT_TRUE(install.waitForFinished(300000));
        s_strInstallOutput = install.readAll().toStdString();
        s_bInstalled = install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0;
    }

    static void TearDownTestSuite()
    {
        std::error_code ec;
        fs::remove_all(s_prefix, ec);
    }

    InstallTest() { TestApplication(); }

    void SetUp() override { ASSERT_TRUE(s_bInstalled) << s_strInstallOutput; }

    static fs::path s_prefix;
    static bool s_bInstalled;
    static std::string s_strInstallOutput;

    CTempHome m_home;
    CTempRuntimeDir m_runtime{m_home.Path()};
};

fs::path InstallTest::s_prefix;
bool InstallTest::s_bInstalled = false;
std::string InstallTest::s_strInstallOutput;

bool IsExecutableFile(const fs::path& path)
{
    return fs::is_regular_file(path) && (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// Keys of the [Desktop Entry] group.
std::map<std::string, std::string> DesktopEntry(const fs::path& path)
{
    std::map<std::string, std::string> keys;
    std::istringstream in(ReadTextFile(path));
    std::string strLine;
    bool bInGroup = false;
    while (std::getline(in, strLine)) {
        if (!strLine.empty() && strLine[0] == '[')
            bInGroup = strLine == "[Desktop Entry]";
        else if (const size_t nEq = strLine.find('='); bInGroup && nEq != std::string::npos)
            keys[strLine.substr(0, nEq)] = strLine.substr(nEq + 1);
    }
    return keys;
}

TEST_F(InstallTest, FilesLandInTheirStandardPlaces)
{
    EXPECT_TRUE(IsExecutableFile(s_prefix / "bin/kestrune"));
    EXPECT_TRUE(IsExecutableFile(s_prefix / "bin/kestrune-batch"));
    EXPECT_TRUE(fs::is_regular_file(s_prefix / "lib/kestrune/liblame_enc.so"));

    const auto entry = DesktopEntry(s_prefix / "share/applications/kestrune.desktop");
    EXPECT_EQ(entry.at("Type"), "Application");
    EXPECT_EQ(entry.at("Name"), "Kestrune");
    EXPECT_EQ(entry.at("Exec"), "kestrune");
    EXPECT_EQ(entry.at("Icon"), "kestrune");
    EXPECT_EQ(entry.at("Categories"), "AudioVideo;Audio;");

    const fs::path icon = s_prefix / "share/icons/hicolor/scalable/apps/kestrune.svg";
    EXPECT_EQ(ReadTextFile(icon), std::string(FindIconSvg(IDI_APP)) + "\n");
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString(icon.string())).isValid());
}

TEST_F(InstallTest, InstalledBatchProgramFindsEncoderLibrary)
{
    const fs::path input = m_home.MakeDir("in") / "tone.flac";
    FlacFixtureShape shape;
    shape.samples = MakeSine(44100, 2, 16, 44100, 440.0, 0.5);
    ASSERT_TRUE(WriteFlacFixture(input.string(), shape));
    const fs::path output = m_home.Path() / "out";

    QProcess batch;
    batch.setProcessChannelMode(QProcess::MergedChannels);
    batch.start(QString::fromStdString((s_prefix / "bin/kestrune-batch").string()),
                {"-o", QString::fromStdString(output.string()), QString::fromStdString(input.string())});
    ASSERT_TRUE(batch.waitForFinished(120000));
    EXPECT_EQ(batch.exitCode(), 0) << batch.readAll().toStdString();
    const Mp3Facts facts = InspectMp3((output / "tone.mp3").string());
    EXPECT_TRUE(facts.opened);
    EXPECT_EQ(facts.rate, 44100);
}

TEST_F(InstallTest, InstalledProgramShowsMainWindowAndClosesOnTerminate)
{
    CProgramRun program(s_prefix / "bin/kestrune");
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitUntilAnswering()) << program.ErrorOutput().toStdString();
    ASSERT_TRUE(program.Terminate());
    EXPECT_EQ(program.ExitCode(), 1) << program.ErrorOutput().toStdString();
    EXPECT_NE(ReadTextFile(m_home.Path() / ".config/Kestrune/Config.ini").find("LameBits"), std::string::npos);
    EXPECT_TRUE(fs::exists(m_home.Path() / ".config/Dovanic Corporation/Kestrune/kestrune.conf"));
}

}  // namespace
