#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "batch/BatchRunner.h"
#include "batch/TaskMaker.h"
#include "tests/support/FlacFixture.h"
#include "tests/support/TempHome.h"

namespace fs = std::filesystem;

namespace {

struct LoggedLine
{
    std::string text;
    int kind;
};

// Runs real batches on the batch thread and collects what they post.
class BatchRunnerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_pDecodedRing = &m_decoded;
        g_pProcessedRing = &m_processed;
        g_settings = ConversionSettings{};
        g_settings.outputFolder = (m_home.Path() / "out").string() + "/";
    }

    std::string MakeFlac(const std::string& strName, uint32_t nFrames = 22050)
    {
        const fs::path path = m_home.MakeDir("src") / strName;
        FlacFixtureShape shape;
        shape.samples = MakeSine(nFrames, 2, 16, 44100, 1000.0, 0.5);
        EXPECT_TRUE(WriteFlacFixture(path.string(), shape));
        return path.string();
    }

    void AddTask(const std::string& strSource)
    {
        AudioFileInfo info;
        info.sampleRate = 44100;
        info.channels = 2;
        info.bitsPerSample = 16;
        info.interleavedSamples = 44100;
        const fs::path source(strSource);
        AddConversionTask(m_runner, MakeConversionTask(source.parent_path().string() + "/",
                                                       source.filename().string(), info));
    }

    void Run()
    {
        m_runner.RunWithMessageQueue([this](CMessage& msg) {
            if (const auto* pLine = msg.Payload<CLogPayload>())
                m_lines.push_back({pLine->strText, pLine->nKind});
            if (msg.Id() == WM_CONV_FINISHED)
                m_bFinished = true;
        });
    }

    bool Logged(const std::string& strText) const
    {
        return std::any_of(m_lines.begin(), m_lines.end(), [&](const LoggedLine& line) { return line.text == strText; });
    }

    size_t CountLogged(const std::string& strText) const
    {
        return std::count_if(m_lines.begin(), m_lines.end(), [&](const LoggedLine& line) { return line.text == strText; });
    }

    CTempHome m_home;
    SampleRing m_decoded{kSampleRingCapacity};
    SampleRing m_processed{kSampleRingCapacity};
    CBatchRunner m_runner;
    std::vector<LoggedLine> m_lines;
    bool m_bFinished = false;
};

const std::string kSeparator(99, '-');

TEST_F(BatchRunnerTest, TakenNamesAreNumberedOnAcrossTheBatch)
{
    const fs::path out = m_home.MakeDir("out");
    std::ofstream(out / "a.mp3") << "keep";
    std::ofstream(out / "a (2).mp3") << "keep";
    const std::string strSource = MakeFlac("a.flac");
    AddTask(strSource);
    AddTask(strSource);
    AddTask(MakeFlac("b.flac"));
    Run();

    EXPECT_TRUE(m_bFinished);
    EXPECT_TRUE(Logged("Destination: " + (out / "a (3).mp3").string() + "."));
    EXPECT_TRUE(Logged("Destination: " + (out / "a (4).mp3").string() + "."));
    EXPECT_TRUE(Logged("Destination: " + (out / "b.mp3").string() + "."));
    EXPECT_GT(fs::file_size(out / "a (4).mp3"), 1000u);
    EXPECT_EQ(fs::file_size(out / "a.mp3"), 4u);
    EXPECT_EQ(CountLogged("Converting status: OK."), 3u);
    EXPECT_EQ(CountLogged(kSeparator), 4u);  // one per task and one before the totals
    ASSERT_FALSE(m_lines.empty());
    EXPECT_EQ(m_lines.back().text.rfind("Total time elapsed ", 0), 0u);
}

TEST_F(BatchRunnerTest, TheBatchStopsAtTheFirstFailure)
{
    AddTask(MakeFlac("one.flac"));
    AddTask((m_home.Path() / "src" / "gone.flac").string());
    AddTask(MakeFlac("three.flac"));
    Run();

    EXPECT_FALSE(m_bFinished);
    ASSERT_GE(m_lines.size(), 2u);
    EXPECT_EQ(m_lines.back().text, "Converting status: ERROR.");
    EXPECT_EQ(m_lines.back().kind, LOG_ERROR);
    EXPECT_EQ(m_lines[m_lines.size() - 2].text.rfind("File Error: ", 0), 0u);
    EXPECT_EQ(CountLogged("Start a new converting task."), 2u);
    EXPECT_FALSE(fs::exists(m_home.Path() / "out" / "three.mp3"));
}

TEST_F(BatchRunnerTest, OneTaskHasNoTotalsButFinishesInAFolderItCreated)
{
    g_settings.outputFolder = (m_home.Path() / "deep" / "er" / "est").string() + "/";
    AddTask(MakeFlac("solo.flac"));
    Run();

    EXPECT_TRUE(m_bFinished);
    EXPECT_TRUE(fs::exists(m_home.Path() / "deep" / "er" / "est" / "solo.mp3"));
    EXPECT_EQ(CountLogged(kSeparator), 1u);
    EXPECT_EQ(m_lines.back().text, "Converting status: OK.");
}

TEST_F(BatchRunnerTest, AFolderThatCannotBeMadeEndsTheBatchWithoutStatus)
{
    std::ofstream(m_home.Path() / "blocker") << "a file where a folder should be";
    g_settings.outputFolder = (m_home.Path() / "blocker" / "sub").string() + "/";
    AddTask(MakeFlac("x.flac"));
    AddTask(MakeFlac("y.flac"));
    Run();

    EXPECT_FALSE(m_bFinished);
    ASSERT_FALSE(m_lines.empty());
    EXPECT_EQ(m_lines.back().text, "Fail to create folder " + (m_home.Path() / "blocker" / "sub").string() + " !");
    EXPECT_EQ(CountLogged("Start a new converting task."), 0u);
    EXPECT_EQ(m_runner.m_nCurrentTask.load(), 0);
}

TEST(TaskMaker, ResolvesRateChannelsAndExpectedSamples)
{
    g_settings = ConversionSettings{};
    g_settings.outputFolder = "/music/out/";
    g_settings.frequencyIndex = 7;  // 32000 Hz
    AudioFileInfo info;
    info.typeCode = 1;
    info.sampleRate = 44100;
    info.channels = 2;
    info.bitsPerSample = 16;
    info.interleavedSamples = 100002;
    const CConversionTask task = MakeConversionTask("/music/in/", "song.v2.flac", info);
    EXPECT_EQ(task.m_strSource, "/music/in/song.v2.flac");
    EXPECT_EQ(task.m_strDest, "/music/out/song.v2.mp3");
    EXPECT_EQ(task.m_nOutRate, 32000);
    EXPECT_EQ(task.m_nOutChannels, 2);
    EXPECT_EQ(task.m_nTotalSamples, 72562u);
    EXPECT_EQ(task.m_nOutSampleBytes, 2);
    EXPECT_EQ(task.m_bUseEffects, 1);
    EXPECT_EQ(task.m_nEntryMark, 1);
}

TEST(TaskMaker, AutomaticSettingsAndTheBatchTotal)
{
    g_settings = ConversionSettings{};
    AudioFileInfo info;
    info.sampleRate = 48000;
    info.channels = 6;
    info.bitsPerSample = 24;
    info.interleavedSamples = 6 * 48000;
    CBatchRunner runner;
    AddConversionTask(runner, MakeConversionTask("/in/", "six", info));
    AddConversionTask(runner, MakeConversionTask("/in/", "six.flac", info));
    ASSERT_EQ(runner.m_arrTasks.size(), 2u);
    const CConversionTask& task = runner.m_arrTasks[0];
    EXPECT_EQ(task.m_nOutRate, 44100);
    EXPECT_EQ(task.m_nOutChannels, 2);
    EXPECT_DOUBLE_EQ(task.m_dRateRatio, 44100.0 * 2 / (48000.0 * 6));
    EXPECT_EQ(task.m_nTotalSamples, 88200u);
    EXPECT_EQ(runner.m_nOverallTotal.load(), 2 * 88200u);
    // A name without extension keeps its name.
    EXPECT_EQ(task.m_strDest.substr(task.m_strDest.rfind('/') + 1), "six.mp3");
}

}  // namespace
