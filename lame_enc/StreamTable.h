#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include <lame/lame.h>

#include "lame_enc/BladeEncoder.h"

struct LameCloser
{
    void operator()(lame_t pLame) const { lame_close(pLame); }
};
using LamePtr = std::unique_ptr<lame_global_flags, LameCloser>;

// One open encoder stream. A stream is used by one thread at a time.
struct EncoderStreamState
{
    LamePtr pLame;
    int channels = 0;
    uint32_t chunkSamples = 0;  // over all channels
    uint32_t outputBytes = 0;
    bool flushed = false;
    std::vector<uint8_t> tagFrame;  // the final Info tag frame, once flushed
};

// The library's open streams by handle, and the tag frames of closed streams
// until they are written. Finding an open stream takes no lock; opening,
// closing and the tags do.
class CStreamTable
{
public:
    static CStreamTable& Instance();
    ~CStreamTable();

    // The new stream's handle, or 0 when every slot is taken.
    EncoderStream Open(std::unique_ptr<EncoderStreamState> pStream);

    // The open stream of a handle, or null.
    EncoderStreamState* Find(EncoderStream hStream) const;

    // Releases the encoder and keeps the tag frame for TakeTag and LastTag.
    bool Close(EncoderStream hStream);

    // The tag frame of a stream: copied while it is open, handed over (and
    // the handle spent) once it is closed. False when there is none.
    bool TakeTag(EncoderStream hStream, std::vector<uint8_t>& tagFrame);

    // The tag frame of the most recently closed stream.
    bool LastTag(std::vector<uint8_t>& tagFrame) const;

    static constexpr uint32_t kSlots = 64;
    // Closed streams whose tags are kept; a caller that never writes its
    // tag cannot make the table grow without bound.
    static constexpr size_t kKeptTags = 16;

private:
    struct Slot
    {
        std::atomic<EncoderStream> hStream{0};
        std::atomic<EncoderStreamState*> pStream{nullptr};
    };
    struct KeptTag
    {
        EncoderStream hStream;
        std::vector<uint8_t> tagFrame;
    };

    mutable std::mutex m_mutex;
    Slot m_slots[kSlots];
    uint32_t m_nGeneration = 0;
    std::deque<KeptTag> m_keptTags;
    std::vector<uint8_t> m_lastTag;
};
