#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What an MP3 file holds, read independently of the encoder with libmpg123
// and from the raw bytes of its first frame.
struct Mp3Facts
{
    bool opened = false;
    long rate = 0;
    int channels = 0;
    std::vector<int> frameBitrates;  // kbit/s of every audio frame, in order
    int64_t samplesPerChannel = 0;   // decoded length, trimmed by the tag's delay and padding
    // The first frame is an "Info" or "Xing" tag frame written by LAME,
    // with its frame and byte counts filled in.
    bool infoTagFirst = false;
    uint32_t tagFrames = 0;
    uint32_t tagBytes = 0;
};

Mp3Facts InspectMp3(const std::string& strPath);
