#pragma once
#include <cstdint>

#include <lame/lame.h>

#include "lame_enc/BladeEncoder.h"

// The encoder settings a valid configuration record stands for.
struct EncoderSetup
{
    int inputRate = 0;
    int outputRate = 0;
    int channels = 0;
    MPEG_mode mode = STEREO;
    int bitrate = 0;
    int quality = -1;  // -1: libmp3lame's default
};

// Checks the record and derives the setup; kEncoderOk or the error to return.
uint32_t ReadEncoderConfig(const EncoderConfig& config, EncoderSetup& setup);

// The MP3 sampling rate for a bitrate: the input rate when the bitrate exists
// at that rate's MPEG version, else the rate in the same position of the
// nearest version that has the bitrate (MP3 has no 8 kbit/s at 44.1 kHz nor
// 320 kbit/s at 8 kHz); 0 for a rate or bitrate MP3 does not have.
int ChooseOutputRate(int nInputRate, int nBitrate);

// Applies the setup to a fresh libmp3lame context; false when it refuses.
bool ApplyEncoderSetup(const EncoderSetup& setup, const EncoderConfig& config, lame_t pLame);
