#include "lame_enc/EncoderSetup.h"

#include <algorithm>
#include <iterator>

namespace {

// MP3 sampling rates by MPEG version (2.5, 2, 1); a rate's column is its
// position, kept when the version has to change.
constexpr int kRates[3][3] = {{8000, 11025, 12000}, {16000, 22050, 24000}, {32000, 44100, 48000}};

constexpr int kBitratesLow[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int kBitratesMpeg1[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

bool VersionHasBitrate(int nVersion, int nBitrate)
{
    if (nVersion == 2)
        return std::find(std::begin(kBitratesMpeg1), std::end(kBitratesMpeg1), nBitrate) != std::end(kBitratesMpeg1);
    // libmp3lame caps MPEG-2.5 at 64 kbit/s.
    if (nVersion == 0 && nBitrate > 64)
        return false;
    return std::find(std::begin(kBitratesLow), std::end(kBitratesLow), nBitrate) != std::end(kBitratesLow);
}

bool FindRate(int nRate, int& nVersion, int& nPosition)
{
    for (nVersion = 0; nVersion < 3; ++nVersion)
        for (nPosition = 0; nPosition < 3; ++nPosition)
            if (kRates[nVersion][nPosition] == nRate)
                return true;
    return false;
}

bool ReadMode(int32_t nMode, MPEG_mode& mode, int& nChannels)
{
    switch (nMode) {
    case kEncoderModeStereo:
        mode = STEREO;
        nChannels = 2;
        return true;
    case kEncoderModeJointStereo:
        mode = JOINT_STEREO;
        nChannels = 2;
        return true;
    case kEncoderModeMono:
        mode = MONO;
        nChannels = 1;
        return true;
    default:
        return false;
    }
}

}  // namespace

int ChooseOutputRate(int nInputRate, int nBitrate)
{
    int nVersion = 0;
    int nPosition = 0;
    if (!FindRate(nInputRate, nVersion, nPosition))
        return 0;
    for (int nDistance = 0; nDistance < 3; ++nDistance) {
        for (int nCandidate : {nVersion - nDistance, nVersion + nDistance}) {
            if (nCandidate >= 0 && nCandidate < 3 && VersionHasBitrate(nCandidate, nBitrate))
                return kRates[nCandidate][nPosition];
        }
    }
    return 0;
}

uint32_t ReadEncoderConfig(const EncoderConfig& config, EncoderSetup& setup)
{
    if (config.configKind != kEncoderConfigKind || config.recordVersion != kEncoderConfigVersion ||
        config.recordSize != kEncoderConfigSize)
        return kEncoderBadRecord;
    // Constant bitrate only.
    if (config.enableVbr != 0 || config.preset != kEncoderNoPreset)
        return kEncoderBadParameter;
    if (!ReadMode(config.mode, setup.mode, setup.channels))
        return kEncoderBadParameter;

    setup.inputRate = static_cast<int>(config.sampleRate);
    setup.bitrate = static_cast<int>(config.bitrate);
    int nVersion = 0;
    int nPosition = 0;
    if (!FindRate(setup.inputRate, nVersion, nPosition) || config.emphasis > 3)
        return kEncoderBadParameter;
    if (config.outputRate == 0) {
        setup.outputRate = ChooseOutputRate(setup.inputRate, setup.bitrate);
    } else {
        setup.outputRate = static_cast<int>(config.outputRate);
        if (!FindRate(setup.outputRate, nVersion, nPosition) || !VersionHasBitrate(nVersion, setup.bitrate))
            return kEncoderBadParameter;
    }
    if (setup.outputRate == 0)
        return kEncoderBadParameter;

    const int nQuality = config.quality & 0xFF;
    if (config.quality == EncoderQualityWord(static_cast<uint8_t>(nQuality))) {
        if (nQuality > 9)
            return kEncoderBadParameter;
        setup.quality = nQuality;
    }
    return kEncoderOk;
}

bool ApplyEncoderSetup(const EncoderSetup& setup, const EncoderConfig& config, lame_t pLame)
{
    // The values were checked above; lame_init_params has the last word.
    lame_set_in_samplerate(pLame, setup.inputRate);
    lame_set_out_samplerate(pLame, setup.outputRate);
    lame_set_num_channels(pLame, setup.channels);
    lame_set_mode(pLame, setup.mode);
    lame_set_VBR(pLame, vbr_off);
    lame_set_brate(pLame, setup.bitrate);
    if (setup.quality >= 0)
        lame_set_quality(pLame, setup.quality);
    lame_set_bWriteVbrTag(pLame, config.writeVbrHeader != 0);
    lame_set_disable_reservoir(pLame, config.disableReservoir != 0);
    lame_set_strict_ISO(pLame, config.strictIso != 0);
    lame_set_error_protection(pLame, config.crc != 0);
    lame_set_copyright(pLame, config.copyright != 0);
    lame_set_original(pLame, config.original != 0);
    lame_set_extension(pLame, config.privateBit != 0);
    lame_set_emphasis(pLame, static_cast<int>(config.emphasis));
    return lame_init_params(pLame) >= 0;
}
