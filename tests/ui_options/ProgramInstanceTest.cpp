// The built program as separate processes: a second start of the same
// executable hands over to the first and ends; copies under other names are
// other applications, each with its own instance and profile.
#include <gtest/gtest.h>

#include "tests/support/TempHome.h"
#include "tests/support_qt/QtTestApp.h"
#include "tests/ui_options/ProgramRun.h"
#include "tests/ui_options/RuntimeDir.h"

namespace fs = std::filesystem;

namespace {

class ProgramInstanceTest : public testing::Test
{
protected:
    ProgramInstanceTest() { TestApplication(); }

    fs::path ProfileFile(const std::string& strAppName) const
    {
        return m_home.Path() / ".config" / "Dovanic Corporation" / "Kestrune" / (strAppName + ".conf");
    }

    // The close sequence ran: settings saved, and the placement in the
    // profile of that application name.
    void ExpectClosedNormally(CProgramRun& run, const std::string& strAppName)
    {
        ASSERT_TRUE(run.Terminate()) << strAppName;
        EXPECT_EQ(run.ExitCode(), 1) << run.ErrorOutput().toStdString();
        EXPECT_NE(ReadTextFile(m_home.Path() / ".config" / "Kestrune" / "Config.ini").find("LameBits"),
                  std::string::npos);
        EXPECT_TRUE(fs::exists(ProfileFile(strAppName))) << strAppName;
    }

    CTempHome m_home;
    CTempRuntimeDir m_runtime{m_home.Path()};
    const fs::path m_binDir = m_home.MakeDir("bin");
};

TEST_F(ProgramInstanceTest, SecondStartHandsOverToFirstAndEnds)
{
    const fs::path program = CopyBuiltProgram(m_binDir, "kestrune-first");
    CProgramRun first(program);
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitUntilAnswering()) << first.ErrorOutput().toStdString();

    CProgramRun second(program);
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.WaitForExit()) << "the second start kept running";
    EXPECT_EQ(second.ExitCode(), 0) << second.ErrorOutput().toStdString();
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(first.WaitUntilAnswering(10000));

    ExpectClosedNormally(first, "kestrune-first");
}

TEST_F(ProgramInstanceTest, CopiesUnderOtherNamesRunSideBySide)
{
    CProgramRun one(CopyBuiltProgram(m_binDir, "kestrune-one"));
    CProgramRun two(CopyBuiltProgram(m_binDir, "kestrune-two"));
    ASSERT_TRUE(one.Start());
    ASSERT_TRUE(two.Start());
    ASSERT_TRUE(one.WaitUntilAnswering()) << one.ErrorOutput().toStdString();
    ASSERT_TRUE(two.WaitUntilAnswering()) << two.ErrorOutput().toStdString();
    EXPECT_TRUE(one.IsRunning());
    EXPECT_TRUE(two.IsRunning());

    ExpectClosedNormally(one, "kestrune-one");
    EXPECT_TRUE(two.IsRunning());
    ExpectClosedNormally(two, "kestrune-two");
    EXPECT_FALSE(fs::exists(ProfileFile("kestrune")));
}

}  // namespace
