#include "cli/CliOptions.h"

#include <cstdlib>

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

// Splits "--name=value" and recognises "-x VALUE" / "--name VALUE" forms.
struct OptionSpec
{
    const char* pszShort;
    const char* pszLong;
};

const OptionSpec kOutput{"-o", "--output"};
const OptionSpec kBitrate{"-b", "--bitrate"};
const OptionSpec kRate{"-r", "--rate"};
const OptionSpec kChannels{"-c", "--channels"};

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
        const OptionSpec* pSpec = nullptr;
        for (const OptionSpec* pCandidate : {&kOutput, &kBitrate, &kRate, &kChannels})
            if (strName == pCandidate->pszShort || strName == pCandidate->pszLong)
                pSpec = pCandidate;
        if (!pSpec) {
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

        if (pSpec == &kOutput) {
            if (value->empty()) {
                result.error = "the output folder must not be empty";
                return result;
            }
            options.outputFolder = *value;
        } else if (pSpec == &kBitrate) {
            options.bitrateIndex = BitrateIndexOf(*value);
            if (!options.bitrateIndex) {
                result.error = StringFormat("bad bitrate '%s' (one of 8 16 24 32 40 48 56 64 80 96 112 128 160 192 "
                                            "224 256 320)",
                                            value->c_str());
                return result;
            }
        } else if (pSpec == &kRate) {
            options.frequencyIndex = FrequencyIndexOf(*value);
            if (!options.frequencyIndex) {
                result.error = StringFormat("bad rate '%s' (auto or one of 8000 11025 12000 16000 22050 24000 "
                                            "32000 44100)",
                                            value->c_str());
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
           "  -b, --bitrate KBPS      constant bitrate: 8 16 24 32 40 48 56 64 80 96 112 128\n"
           "                          160 192 224 256 320\n"
           "  -r, --rate auto|HZ      output rate: auto, 8000 11025 12000 16000 22050 24000\n"
           "                          32000 44100\n"
           "  -c, --channels auto|mono|stereo\n"
           "  -h, --help              show this text\n"
           "      --version           show the version\n"
           "\n"
           "Unset options take the values of the program's settings (Config.ini).\n"
           "Exit status: 0 when every file was converted, 1 when a file failed or was\n"
           "skipped, 2 for a bad command line, 130 when interrupted.\n";
}
