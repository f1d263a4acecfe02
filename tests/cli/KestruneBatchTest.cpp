// Runs the built kestrune-batch program as a user or a script would.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Tick.h"
#include "tests/support/FlacFixture.h"
#include "tests/support/Mp3Check.h"
#include "tests/support/TempHome.h"

extern char** environ;
namespace fs = std::filesystem;

namespace {

struct RunResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class KestruneBatchTest : public ::testing::Test
{
protected:
    std::string Program() const { return std::string(std::getenv("KESTRUNE_BIN_DIR")) + "/kestrune-batch"; }

    pid_t Start(const std::vector<std::string>& args)
    {
        std::vector<std::string> argv{Program()};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (std::string& strArg : argv)
            raw.push_back(strArg.data());
        raw.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (m_home.Path() / "stdout").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (m_home.Path() / "stderr").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    RunResult Finish(pid_t pid)
    {
        int nStatus = 0;
        waitpid(pid, &nStatus, 0);
        RunResult result;
        result.exitCode = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 128 + WTERMSIG(nStatus);
        result.out = ReadFile(m_home.Path() / "stdout");
        result.err = ReadFile(m_home.Path() / "stderr");
        return result;
    }

    RunResult Run(const std::vector<std::string>& args) { return Finish(Start(args)); }

    std::string MakeFlac(const std::string& strName, uint32_t nRate, uint32_t nChannels, double dSeconds)
    {
        const fs::path path = m_home.MakeDir("in") / strName;
        FlacFixtureShape shape;
        shape.sampleRate = nRate;
        shape.channels = nChannels;
        shape.samples = MakeSine(static_cast<uint32_t>(nRate * dSeconds), nChannels, 16, nRate, 1000.0, 0.5);
        EXPECT_TRUE(WriteFlacFixture(path.string(), shape));
        return path.string();
    }

    fs::path OutDir() const { return m_home.Path() / "out"; }

    CTempHome m_home;
};

TEST_F(KestruneBatchTest, ConvertsEveryFileWithTheChosenSettings)
{
    const std::string strStereo = MakeFlac("stereo.flac", 48000, 2, 1.5);
    const std::string strMono = MakeFlac("mono.flac", 22050, 1, 1.0);
    const RunResult result = Run({"-o", OutDir().string(), "-b", "160", "-c", "stereo", strStereo, strMono});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;

    const Mp3Facts stereo = InspectMp3((OutDir() / "stereo.mp3").string());
    EXPECT_EQ(stereo.rate, 44100);
    EXPECT_EQ(stereo.channels, 2);
    ASSERT_FALSE(stereo.frameBitrates.empty());
    for (int nKbps : stereo.frameBitrates)
        EXPECT_EQ(nKbps, 160);
    const Mp3Facts mono = InspectMp3((OutDir() / "mono.mp3").string());
    EXPECT_EQ(mono.rate, 22050);
    EXPECT_EQ(mono.channels, 2);

    // Numbered, time-stamped log lines; no progress line when not on a terminal.
    EXPECT_EQ(result.out.rfind("001 ", 0), 0u);
    EXPECT_NE(result.out.find(" Converting status: OK.\n"), std::string::npos);
    EXPECT_NE(result.out.find("Total time elapsed "), std::string::npos);
    EXPECT_EQ(result.out.find('\r'), std::string::npos);
    EXPECT_EQ(result.out.find("\033["), std::string::npos);
}

TEST_F(KestruneBatchTest, DefaultsComeFromTheUserSettingsWhichStayUntouched)
{
    const fs::path settings = m_home.MakeDir(".config/Kestrune") / "Config.ini";
    const std::string strIni = "[OUTPUT]\nDesDir=" + OutDir().string() + "/\n[MP3]\nLameBits=7\nFreq=7\nLameChannel=1\n";
    std::ofstream(settings) << strIni;
    const RunResult result = Run({MakeFlac("song.flac", 44100, 2, 1.0)});
    ASSERT_EQ(result.exitCode, 0) << result.out << result.err;

    const Mp3Facts facts = InspectMp3((OutDir() / "song.mp3").string());
    EXPECT_EQ(facts.rate, 32000);
    EXPECT_EQ(facts.channels, 1);
    ASSERT_FALSE(facts.frameBitrates.empty());
    EXPECT_EQ(facts.frameBitrates.back(), 64);
    EXPECT_EQ(ReadFile(settings), strIni);
}

TEST_F(KestruneBatchTest, InvalidFilesAreReportedAndSkipped)
{
    std::ofstream(m_home.MakeDir("in") / "text.flac") << "not audio";
    const std::string strGood = MakeFlac("good.flac", 44100, 2, 0.5);
    const RunResult result =
        Run({"-o", OutDir().string(), (m_home.Path() / "in" / "text.flac").string(), strGood, "/no/such.flac"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("Invalid Flac File: " + (m_home.Path() / "in" / "text.flac").string() + "! Skipped."),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("/no/such.flac was not found."), std::string::npos);
    EXPECT_TRUE(fs::exists(OutDir() / "good.mp3"));
}

TEST_F(KestruneBatchTest, BadOptionsPrintOneLineAndExitWithTwo)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-b", "100", "x.flac"}, {"--rate", "48000", "x.flac"}, {"--nope"}, {}}) {
        const RunResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.rfind("kestrune-batch: ", 0), 0u);
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
    const RunResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: kestrune-batch", 0), 0u);
    EXPECT_EQ(Run({"--version"}).out.rfind("kestrune-batch ", 0), 0u);
}

TEST_F(KestruneBatchTest, InterruptCancelsTheBatch)
{
    const std::string strLong = MakeFlac("long.flac", 44100, 2, 240.0);
    const pid_t pid = Start({"-o", OutDir().string(), strLong, MakeFlac("next.flac", 44100, 2, 1.0)});
    // Interrupt once the conversion has visibly started.
    const uint32_t dwStart = GetTickCount();
    while (ReadFile(m_home.Path() / "stdout").find("Destination:") == std::string::npos &&
           GetTickCount() - dwStart < 60000)
        SleepMs(10);
    kill(pid, SIGINT);
    const RunResult result = Finish(pid);
    EXPECT_EQ(result.exitCode, 130) << result.out << result.err;
    EXPECT_NE(result.out.find("Converting status: ERROR."), std::string::npos);
    EXPECT_NE(result.out.find("Interrupted: conversion cancelled."), std::string::npos);
    EXPECT_FALSE(fs::exists(OutDir() / "next.mp3"));
}

}  // namespace
