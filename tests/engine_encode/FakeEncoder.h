#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A stand-in for the encoder library that records how the stage calls it and
// fails where told. The test keeps the library loaded and reaches this state
// through FakeEncoderState(); the stage loads and unloads it per file.
struct FakeEncoderCall
{
    uint32_t samplesPerChannel;
    bool rightNull;
    float firstLeft;
    float firstRight;
};

struct FakeEncoder
{
    // What to do.
    uint32_t chunkSamples = 1000;
    uint32_t initResult = 0;
    uint32_t encodeResult = 0;
    uint32_t deinitResult = 0;
    uint32_t bytesPerCall = 16;

    // What happened, in order: "init", "encode", "deinit", "close", "infotag", "vbrheader".
    std::vector<std::string> events;
    std::vector<FakeEncoderCall> encodeCalls;
    std::string taggedPath;

    void Reset() { *this = FakeEncoder(); }
};

using FakeEncoderStateFn = FakeEncoder*();
