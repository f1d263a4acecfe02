#include "cli/CliOptions.h"

#include <cstdlib>
#include <iterator>

#include "platform/Format.h"
#include "settings/ConversionSettings.h"

namespace {

bool ParseWholeNumber(const std::string& strText, long& nValue)
{
    if (strText.empty())
        return false;
    char* pEnd = nullptr;
    nValue = std::strtol(strText.c_str(), &pEnd, 10);
    return *pEnd == '\0';
}

std::optional<int> BitrateIndexOf(const std::string& strValue)
{
    long nKbps = 0;
    if (!ParseWholeNumber(strValue, nKbps))
        return std::nullopt;
    for (int i = 0; i < kBitrateCount; ++i)
        if (BitrateTable[i] == nKbps)
            return i;
    return std::nullopt;
}

std::optional<int> FrequencyIndexOf(const std::string& strValue)
{
    if (strValue == "auto")
        return 0;
    long nHz = 0;
    if (!ParseWholeNumber(strValue, nHz))
        return std::nullopt;
    for (int i = 1; i < kFrequencyCount; ++i)
        if (FrequencyTable[i] == static_cast<unsigned long>(nHz))
            return i;
    return std::nullopt;
}

std::optional<int> ChannelModeOf(const std::string& strValue)
{
    if (strValue == "auto")
        return CHANNEL_AUTOMATIC;
    if (strValue == "mono")
        return CHANNEL_MONO;
    if (strValue == "stereo")
        return CHANNEL_STEREO;
    return std::nullopt;
}

// The short and long name of an option that takes a value.
struct OptionNames
{
    const char* pszShort;
    const char* pszLong;
};

// Table values as the user types them: "8 16 ... 320".
template <class Iterator>
std::string JoinNumbers(Iterator first, Iterator last)
{
    std::string strList;
    for (; first != last; ++first)
        strList += (strList.empty() ? "" : " ") + std::to_string(*first);
    return strList;
}

std::string BitrateList()
{
    return JoinNumbers(std::begin(BitrateTable), std::end(BitrateTable));
}

std::string FrequencyList()
{
    return JoinNumbers(std::begin(FrequencyTable) + 1, std::end(FrequencyTable));  // entry 0 is "auto"
}

const OptionNames kOutput{"-o", "--output"};
const OptionNames kBitrate{"-b", "--bitrate"};
const OptionNames kRate{"-r", "--rate"};
const OptionNames kChannels{"-c", "--channels"};

}  // namespace

CliParseResult ParseCommandLine(const std::vector<std::string>& args)
{
    CliParseResult result;
    CliOptions& options = result.options;
    bool bOnlyFiles = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& strArg = args[i];
        if (bOnlyFiles || strArg.empty() || strArg[0] != '-' || strArg == "-") {
            options.files.push_back(strArg);
            continue;
        }
        if (strArg == "--") {
            bOnlyFiles = true;
            continue;
        }
        if (strArg == "-h" || strArg == "--help") {
            options.showHelp = true;
            continue;
        }
        if (strArg == "--version") {
            options.showVersion = true;
            continue;
        }

        std::string strName = strArg;
        std::optional<std::string> value;
        if (const size_t nEquals = strArg.find('='); strArg.rfind("--", 0) == 0 && nEquals != std::string::npos) {
            strName = strArg.substr(0, nEquals);
            value = strArg.substr(nEquals + 1);
        }
        const OptionNames* pOption = nullptr;
        for (const OptionNames* pCandidate : {&kOutput, &kBitrate, &kRate, &kChannels})
            if (strName == pCandidate->pszShort || strName == pCandidate->pszLong)
                pOption = pCandidate;
        if (!pOption) {
            result.error = StringFormat("unknown option '%s'", strArg.c_str());
            return result;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                result.error = StringFormat("option '%s' needs a value", strName.c_str());
                return result;
            }
            value = args[++i];
        }

        if (pOption == &kOutput) {
            if (value->empty()) {
                result.error = "the output folder must not be empty";
                return result;
            }
            options.outputFolder = *value;
        } else if (pOption == &kBitrate) {
            options.bitrateIndex = BitrateIndexOf(*value);
            if (!options.bitrateIndex) {
                result.error = StringFormat("bad bitrate '%s' (one of %s)", value->c_str(), BitrateList().c_str());
                return result;
            }
        } else if (pOption == &kRate) {
            options.frequencyIndex = FrequencyIndexOf(*value);
            if (!options.frequencyIndex) {
                result.error = StringFormat("bad rate '%s' (auto or one of %s)", value->c_str(), FrequencyList().c_str());
                return result;
            }
        } else {
            options.channelMode = ChannelModeOf(*value);
            if (!options.channelMode) {
                result.error = StringFormat("bad channel mode '%s' (auto, mono or stereo)", value->c_str());
                return result;
            }
        }
    }
    if (!options.showHelp && !options.showVersion && options.files.empty())
        result.error = "no FLAC file given";
    return result;
}

std::string UsageText()
{
    return "Usage: kestrune-batch [OPTIONS] FILE...\n"
           "Converts FLAC files into MP3 files.\n"
           "\n"
           "  -o, --output DIR        folder that receives the MP3 files\n"
           "  -b, --bitrate KBPS      constant bitrate: " +
           BitrateList() +
           "\n"
           "  -r, --rate auto|HZ      output rate: auto, " +
           FrequencyList() +
           "\n"
           "  -c, --channels auto|mono|stereo\n"
           "  -h, --help              show this text\n"
           "      --version           show the version\n"
           "\n"
           "Unset options take the values of the program's settings (Config.ini).\n"
           "Exit status: 0 when every file was converted, 1 when a file failed or was\n"
           "skipped, 2 for a bad command line, 130 when interrupted.\n";
}
