#pragma once
// The interface of our encoder library liblame_enc.so: the configuration
// record and the six functions the encoding stage looks up by name. The
// engine includes this header for the types only; it never links the library.
#include <cstddef>
#include <cstdint>

#if defined(LAME_ENC_BUILDING)
#define LAME_ENC_EXPORT __attribute__((visibility("default")))
#else
#define LAME_ENC_EXPORT
#endif

// Record kind, version and size a caller must put in the first three fields.
inline constexpr uint32_t kEncoderConfigKind = 256;
inline constexpr uint32_t kEncoderConfigVersion = 1;
inline constexpr uint32_t kEncoderConfigSize = 331;

// Channel modes of EncoderConfig::mode.
enum : int32_t
{
    kEncoderModeStereo = 0,
    kEncoderModeJointStereo = 1,
    kEncoderModeMono = 3,
};

inline constexpr int32_t kEncoderNoPreset = -1;

// EncoderConfig::quality: the low byte is the quality (0 best .. 9 fastest),
// the high byte 255 minus it; a word that fails this check means "default".
constexpr uint16_t EncoderQualityWord(uint8_t nQuality)
{
    return static_cast<uint16_t>(((255u - nQuality) << 8) | nQuality);
}

#pragma pack(push, 1)
// The configuration record, little-endian, no gaps, zero-filled before use.
struct EncoderConfig
{
    uint32_t configKind;
    uint32_t recordVersion;
    uint32_t recordSize;
    uint32_t sampleRate;        // input rate, Hz
    uint32_t outputRate;        // 0: the library chooses
    int32_t mode;
    uint32_t bitrate;           // kbit/s
    uint32_t maxBitrate;        // VBR only
    int32_t preset;
    uint32_t mpegVersion;       // 0 MPEG-2, 1 MPEG-1: informative, the rate decides
    uint32_t psyModel;
    uint32_t emphasis;
    uint32_t privateBit;
    uint32_t crc;
    uint32_t copyright;
    uint32_t original;
    uint32_t writeVbrHeader;
    uint32_t enableVbr;
    int32_t vbrQuality;
    uint32_t averageBitrate;
    int32_t vbrMethod;
    uint32_t disableReservoir;
    uint32_t strictIso;
    uint16_t quality;
    uint8_t reserved[237];
};
#pragma pack(pop)

static_assert(sizeof(EncoderConfig) == kEncoderConfigSize);
static_assert(offsetof(EncoderConfig, sampleRate) == 12);
static_assert(offsetof(EncoderConfig, mode) == 20);
static_assert(offsetof(EncoderConfig, bitrate) == 24);
static_assert(offsetof(EncoderConfig, preset) == 32);
static_assert(offsetof(EncoderConfig, writeVbrHeader) == 64);
static_assert(offsetof(EncoderConfig, disableReservoir) == 84);
static_assert(offsetof(EncoderConfig, strictIso) == 88);
static_assert(offsetof(EncoderConfig, quality) == 92);
static_assert(offsetof(EncoderConfig, reserved) == 94);

// A stream handle; 0 is never a valid one.
using EncoderStream = uint32_t;

// Results of the functions: 0 is success.
enum : uint32_t
{
    kEncoderOk = 0,
    kEncoderBadRecord = 1,       // wrong kind, version or size
    kEncoderBadParameter = 2,    // rate, bitrate, mode or another value not supported
    kEncoderNoMoreStreams = 3,
    kEncoderBadHandle = 4,
    kEncoderBadArgument = 5,     // null pointer or a count beyond the chunk size
    kEncoderFailed = 6,          // libmp3lame refused
    kEncoderNoTag = 7,           // no tag data kept for that stream, or none written
    kEncoderFileError = 8,       // the file cannot be opened, read or written
};

// The function types, for the caller's dlsym look-ups.
using BeInitStreamFn = uint32_t(const EncoderConfig* pConfig, uint32_t* pnChunkSamples, uint32_t* pnOutputBytes,
                                EncoderStream* phStream, int32_t, int32_t, const char*, const char*, const char*,
                                const char*, const char*, const char*, const char*, int32_t, int32_t, int32_t,
                                int32_t, int32_t, int32_t);
using BeEncodeChunkFloatS16NIFn = uint32_t(EncoderStream hStream, uint32_t nSamplesPerChannel, const float* pLeft,
                                           const float* pRight, uint8_t* pOutput, uint32_t* pnWritten);
using BeDeinitStreamFn = uint32_t(EncoderStream hStream, uint8_t* pOutput, uint32_t* pnWritten);
using BeCloseStreamFn = uint32_t(EncoderStream hStream);
using BeWriteVBRHeaderFn = uint32_t(const char* pszPath);
using BeWriteInfoTagFn = uint32_t(EncoderStream hStream, const char* pszPath);

extern "C" {
// Opens a constant-bitrate stream. The chunk size counts samples over all
// channels per encode call; the output size is the most bytes one call (or
// the final one) produces. The fifteen trailing arguments are ignored.
LAME_ENC_EXPORT BeInitStreamFn beInitStream;
// Encodes float samples in the 16-bit range, one array per channel; a mono
// stream reads only pLeft (pRight may be null).
LAME_ENC_EXPORT BeEncodeChunkFloatS16NIFn beEncodeChunkFloatS16NI;
// Flushes the stream's last frames and keeps its Info tag frame.
LAME_ENC_EXPORT BeDeinitStreamFn beDeinitStream;
// Releases the encoder; the stream's tag stays available to beWriteInfoTag.
LAME_ENC_EXPORT BeCloseStreamFn beCloseStream;
// Writes the tag of the last closed stream into the file's first frame.
LAME_ENC_EXPORT BeWriteVBRHeaderFn beWriteVBRHeader;
// Writes the tag of that stream into the file's first frame; a closed
// stream's handle is spent afterwards.
LAME_ENC_EXPORT BeWriteInfoTagFn beWriteInfoTag;
}
