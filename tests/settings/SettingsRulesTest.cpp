#include "SettingsTestSupport.h"

namespace {

struct RateCase
{
    int16_t frequencyIndex;
    uint32_t sourceRate;
    uint32_t outputRate;
};

class ResolveRate : public ::testing::TestWithParam<RateCase>
{
};

TEST_P(ResolveRate, GivesTheTableRate)
{
    g_settings = ConversionSettings{};
    g_settings.frequencyIndex = GetParam().frequencyIndex;
    EXPECT_EQ(ResolveOutputRate(GetParam().sourceRate), GetParam().outputRate);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResolveRate,
                         ::testing::Values(RateCase{0, 48000, 44100}, RateCase{0, 192000, 44100},
                                           RateCase{0, 44100, 44100}, RateCase{0, 8000, 8000},
                                           RateCase{0, 7000, 8000}, RateCase{0, 22050, 22050},
                                           RateCase{0, 23000, 24000}, RateCase{0, 11026, 12000},
                                           RateCase{5, 48000, 22050}, RateCase{1, 96000, 8000},
                                           RateCase{8, 8000, 44100},
                                           // Outside the table: Automatic.
                                           RateCase{9, 22050, 22050}, RateCase{-1, 48000, 44100}));

struct ChannelCase
{
    int16_t channelMode;
    int sourceChannels;
    int outputChannels;
};

class ResolveChannels : public ::testing::TestWithParam<ChannelCase>
{
};

TEST_P(ResolveChannels, FollowsTheChannelMode)
{
    g_settings = ConversionSettings{};
    g_settings.channelMode = GetParam().channelMode;
    EXPECT_EQ(ResolveOutputChannels(GetParam().sourceChannels), GetParam().outputChannels);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResolveChannels,
                         ::testing::Values(ChannelCase{0, 1, 1}, ChannelCase{0, 2, 2}, ChannelCase{0, 6, 2},
                                           ChannelCase{1, 6, 1}, ChannelCase{1, 2, 1}, ChannelCase{2, 1, 2},
                                           ChannelCase{3, 1, 2}, ChannelCase{-1, 6, 2}));

struct SummaryCase
{
    int16_t bitrateIndex, channelMode, frequencyIndex;
    const char* text;
};

class Summary : public ::testing::TestWithParam<SummaryCase>
{
};

TEST_P(Summary, ReadsAsTheStatusBarShowsIt)
{
    g_settings = ConversionSettings{};
    g_settings.bitrateIndex = GetParam().bitrateIndex;
    g_settings.channelMode = GetParam().channelMode;
    g_settings.frequencyIndex = GetParam().frequencyIndex;
    std::string strReceived = "(nothing)";
    SetSettingsSummaryReceiver([&](const std::string& strText) { strReceived = strText; });

    UpdateSettingsSummary();
    SetSettingsSummaryReceiver(nullptr);

    EXPECT_EQ(strReceived, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Summary,
    ::testing::Values(SummaryCase{11, 0, 0, "  MP3:  CBR 128 kbps; Automatic Frequency; Automatic Channel;"},
                      SummaryCase{0, 1, 1, "  MP3:  CBR   8 kbps;  8000 Hz; Mono;"},
                      SummaryCase{16, 2, 8, "  MP3:  CBR 320 kbps; 44100 Hz; Stereo;"},
                      SummaryCase{7, 3, 2, "  MP3:  CBR  64 kbps; 11025 Hz;"},
                      SummaryCase{17, 0, 9, "  MP3:  CBR 128 kbps; Automatic Frequency; Automatic Channel;"},
                      SummaryCase{-1, 2, -1, "  MP3:  CBR 128 kbps; Automatic Frequency; Stereo;"}));

TEST(Bitrate, EveryTableIndexGivesItsEntry)
{
    for (int i = 0; i < kBitrateCount; ++i) {
        g_settings.bitrateIndex = static_cast<int16_t>(i);
        EXPECT_EQ(CurrentBitrateKbps(), BitrateTable[i]);
    }
    g_settings = ConversionSettings{};
}

}  // namespace
