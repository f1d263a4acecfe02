#pragma once
#include <cstdint>
#include <functional>
#include <string>

// Constant bitrates in kbit/s, by stored index.
inline constexpr int BitrateTable[17] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
inline constexpr int kBitrateCount = 17;

// Output sampling rates in Hz, by stored index; 0 stands for Automatic.
inline constexpr uint32_t FrequencyTable[9] = {0, 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100};
inline constexpr int kFrequencyCount = 9;

enum ChannelMode : int16_t
{
    CHANNEL_AUTOMATIC = 0,
    CHANNEL_MONO = 1,
    CHANNEL_STEREO = 2,
};

// The four conversion settings the user chooses, plus the folder of "Config.ini".
struct ConversionSettings
{
    std::string outputFolder;
    int16_t bitrateIndex = 11;
    int16_t channelMode = CHANNEL_AUTOMATIC;
    int16_t frequencyIndex = 0;
    std::string settingsFolder;
};

// The process-wide settings record.
extern ConversionSettings g_settings;

// The bitrate of g_settings.bitrateIndex; an index outside the table (a
// hand-edited file) falls back to the default 128 kbit/s.
int CurrentBitrateKbps();

// The output rate and channel count for a source under the current settings,
// Automatic resolved; a frequency index outside the table counts as Automatic.
uint32_t ResolveOutputRate(uint32_t nSourceRate);
int ResolveOutputChannels(int nSourceChannels);

// 1 when the folder exists afterwards; creates every missing level.
int CreateFolderPath(const std::string& strPath);

// $XDG_CONFIG_HOME/Kestrune (no trailing "/"); empty when no home is known.
std::string GetSettingsFolder();
// The user's music folder, else the desktop folder, else ~/Music/; ends with "/".
std::string DefaultOutputFolder();
// g_settings.settingsFolder + "/Config.ini".
std::string SettingsFilePath();

// Start-up: defaults, settings folder, then load "Config.ini" or create it empty.
void InitSettingsStore();
// 1 on success; 0 after a failure was shown in a message box.
int LoadSettings();
// 1 on success; 0 after a failure was shown (the old file is then intact).
int SaveSettings();

// Builds the one-line summary and hands it to whoever registered.
void UpdateSettingsSummary();
std::string SettingsSummaryText();
void SetSettingsSummaryReceiver(std::function<void(const std::string&)> fnReceiver);
