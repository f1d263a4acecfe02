#include "settings/ConversionSettings.h"

#include "platform/Format.h"

#include <utility>

ConversionSettings g_settings;

namespace {

std::function<void(const std::string&)> g_fnSummaryReceiver;

// Indices come unchecked from a file the user may have edited; one outside
// its table means what the default index means (Automatic frequency).
int EffectiveFrequencyIndex()
{
    const int nIndex = g_settings.frequencyIndex;
    return nIndex >= 0 && nIndex < kFrequencyCount ? nIndex : 0;
}

}  // namespace

int CurrentBitrateKbps()
{
    const int nIndex = g_settings.bitrateIndex;
    return nIndex >= 0 && nIndex < kBitrateCount ? BitrateTable[nIndex] : 128;
}

uint32_t ResolveOutputRate(uint32_t nSourceRate)
{
    if (const int nIndex = EffectiveFrequencyIndex(); nIndex != 0)
        return FrequencyTable[nIndex];
    for (int i = 1; i < kFrequencyCount; ++i) {
        if (FrequencyTable[i] >= nSourceRate)
            return FrequencyTable[i];
    }
    return FrequencyTable[kFrequencyCount - 1];
}

int ResolveOutputChannels(int nSourceChannels)
{
    switch (g_settings.channelMode) {
    case CHANNEL_AUTOMATIC:
        return nSourceChannels < 2 ? nSourceChannels : 2;
    case CHANNEL_MONO:
        return 1;
    default:
        return 2;
    }
}

std::string SettingsSummaryText()
{
    const int nKbps = CurrentBitrateKbps();
    const int nFrequencyIndex = EffectiveFrequencyIndex();
    std::string strText = "MP3:  ";
    if (nFrequencyIndex == 0)
        strText += StringFormat("CBR %3d kbps; Automatic Frequency;", nKbps);
    else
        strText += StringFormat("CBR %3d kbps; %5d Hz;", nKbps, static_cast<int>(FrequencyTable[nFrequencyIndex]));
    switch (g_settings.channelMode) {
    case CHANNEL_AUTOMATIC:
        strText += " Automatic Channel;";
        break;
    case CHANNEL_MONO:
        strText += " Mono;";
        break;
    case CHANNEL_STEREO:
        strText += " Stereo;";
        break;
    default:
        break;
    }
    return "  " + strText;
}

void UpdateSettingsSummary()
{
    const std::string strSummary = SettingsSummaryText();
    if (g_fnSummaryReceiver)
        g_fnSummaryReceiver(strSummary);
}

void SetSettingsSummaryReceiver(std::function<void(const std::string&)> fnReceiver)
{
    g_fnSummaryReceiver = std::move(fnReceiver);
}
