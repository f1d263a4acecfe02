#pragma once
#include <optional>
#include <string>
#include <vector>

// What the command line asks for. Unset values keep the user's settings.
struct CliOptions
{
    bool showHelp = false;
    bool showVersion = false;
    std::optional<std::string> outputFolder;
    std::optional<int> bitrateIndex;
    std::optional<int> frequencyIndex;
    std::optional<int> channelMode;
    std::vector<std::string> files;
};

struct CliParseResult
{
    CliOptions options;
    std::string error;  // empty when the command line is good
};

CliParseResult ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();
