#include "lame_enc/StreamTable.h"

#include <algorithm>

CStreamTable& CStreamTable::Instance()
{
    static CStreamTable table;
    return table;
}

CStreamTable::~CStreamTable()
{
    for (Slot& slot : m_slots)
        delete slot.pStream.load(std::memory_order_relaxed);
}

EncoderStream CStreamTable::Open(std::unique_ptr<EncoderStreamState> pStream)
{
    std::lock_guard lock(m_mutex);
    for (uint32_t nSlot = 0; nSlot < kSlots; ++nSlot) {
        Slot& slot = m_slots[nSlot];
        if (slot.hStream.load(std::memory_order_relaxed) != 0)
            continue;
        // A handle names its slot and a generation, so a spent handle does
        // not reach the slot's next stream.
        if (++m_nGeneration >= UINT32_MAX / kSlots)
            m_nGeneration = 1;
        const EncoderStream hStream = m_nGeneration * kSlots + nSlot;
        slot.pStream.store(pStream.release(), std::memory_order_relaxed);
        slot.hStream.store(hStream, std::memory_order_release);
        return hStream;
    }
    return 0;
}

EncoderStreamState* CStreamTable::Find(EncoderStream hStream) const
{
    if (hStream == 0)
        return nullptr;
    const Slot& slot = m_slots[hStream % kSlots];
    if (slot.hStream.load(std::memory_order_acquire) != hStream)
        return nullptr;
    return slot.pStream.load(std::memory_order_relaxed);
}

bool CStreamTable::Close(EncoderStream hStream)
{
    std::unique_ptr<EncoderStreamState> pStream;
    {
        std::lock_guard lock(m_mutex);
        Slot& slot = m_slots[hStream % kSlots];
        if (hStream == 0 || slot.hStream.load(std::memory_order_relaxed) != hStream)
            return false;
        pStream.reset(slot.pStream.exchange(nullptr, std::memory_order_relaxed));
        slot.hStream.store(0, std::memory_order_release);
        if (!pStream->tagFrame.empty()) {
            m_lastTag = pStream->tagFrame;
            m_keptTags.push_back({hStream, std::move(pStream->tagFrame)});
            if (m_keptTags.size() > kKeptTags)
                m_keptTags.pop_front();
        }
    }
    return true;  // the encoder is released outside the lock
}

bool CStreamTable::TakeTag(EncoderStream hStream, std::vector<uint8_t>& tagFrame)
{
    std::lock_guard lock(m_mutex);
    if (const EncoderStreamState* pStream = Find(hStream)) {
        tagFrame = pStream->tagFrame;
        return !tagFrame.empty();
    }
    const auto it = std::find_if(m_keptTags.begin(), m_keptTags.end(),
                                 [hStream](const KeptTag& kept) { return kept.hStream == hStream; });
    if (it == m_keptTags.end())
        return false;
    tagFrame = std::move(it->tagFrame);
    m_keptTags.erase(it);
    return true;
}

bool CStreamTable::LastTag(std::vector<uint8_t>& tagFrame) const
{
    std::lock_guard lock(m_mutex);
    tagFrame = m_lastTag;
    return !tagFrame.empty();
}
