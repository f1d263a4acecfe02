#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The decoded audio of an MP3 file (libmpg123, gapless), for level checks.
struct Mp3Pcm
{
    int nChannels = 0;
    std::vector<int16_t> samples;  // interleaved
};

Mp3Pcm DecodeMp3Pcm(const std::string& strPath);

// RMS of one channel over the middle half of the audio, as a fraction of
// full scale.
double MiddleRms(const Mp3Pcm& pcm, int nChannel);
