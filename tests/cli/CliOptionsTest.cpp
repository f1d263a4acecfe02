#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace {

CliParseResult Parse(std::initializer_list<const char*> args)
{
    return ParseCommandLine(std::vector<std::string>(args.begin(), args.end()));
}

TEST(CliOptions, ValuesMapOntoTableIndices)
{
    const CliParseResult result = Parse({"-b", "320", "--rate=22050", "-c", "mono", "--output", "/tmp/o", "a.flac"});
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.options.bitrateIndex, 16);
    EXPECT_EQ(result.options.frequencyIndex, 5);
    EXPECT_EQ(result.options.channelMode, 1);
    EXPECT_EQ(result.options.outputFolder, "/tmp/o");
    EXPECT_EQ(result.options.files, std::vector<std::string>{"a.flac"});

    const CliParseResult autos = Parse({"-r", "auto", "-c", "auto", "-b", "8", "--", "-odd.flac"});
    ASSERT_EQ(autos.error, "");
    EXPECT_EQ(autos.options.frequencyIndex, 0);
    EXPECT_EQ(autos.options.channelMode, 0);
    EXPECT_EQ(autos.options.bitrateIndex, 0);
    EXPECT_EQ(autos.options.files, std::vector<std::string>{"-odd.flac"});
}

TEST(CliOptions, BadCommandLinesAreRefusedWithAReason)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* pszErrorStart;
    };
    const Case cases[] = {
        {{"-b", "100", "a.flac"}, "bad bitrate '100'"},
        {{"-b", "128k", "a.flac"}, "bad bitrate '128k'"},
        {{"-r", "48000", "a.flac"}, "bad rate '48000'"},
        {{"-c", "quad", "a.flac"}, "bad channel mode 'quad'"},
        {{"--bogus", "a.flac"}, "unknown option '--bogus'"},
        {{"a.flac", "-o"}, "option '-o' needs a value"},
        {{"--output=", "a.flac"}, "the output folder must not be empty"},
        {{}, "no FLAC file given"},
    };
    for (const Case& c : cases) {
        const CliParseResult result = ParseCommandLine(c.args);
        EXPECT_EQ(result.error.rfind(c.pszErrorStart, 0), 0u) << result.error;
    }
    EXPECT_EQ(Parse({"--help"}).error, "");
    EXPECT_TRUE(Parse({"--version"}).options.showVersion);
}

}  // namespace
