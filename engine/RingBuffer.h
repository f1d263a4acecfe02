#pragma once
#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>

// Fixed-size single-writer circular queue with N reader positions. One slot
// always stays free, so equal positions mean empty. Positions are published
// with release stores after the data they cover and read with acquire loads,
// so no lock is needed between the one writer and each reader.
template <class T, int N>
class RingBuffer
{
    static_assert(std::is_trivially_copyable_v<T>);
    static_assert(N >= 1);

public:
    explicit RingBuffer(uint32_t nCapacity) : m_pData(new T[nCapacity]), m_nCapacity(nCapacity)
    {
        for (auto& nPos : m_nReadPos)
            nPos.store(0, std::memory_order_relaxed);
    }
    virtual ~RingBuffer() { delete[] m_pData; }

    RingBuffer(const RingBuffer&) = delete;
    RingBuffer& operator=(const RingBuffer&) = delete;

    uint32_t Capacity() const { return m_nCapacity; }

    uint32_t Readable(int nReader) const
    {
        const uint32_t nWrite = m_nWritePos.load(std::memory_order_acquire);
        const uint32_t nRead = m_nReadPos[nReader].load(std::memory_order_relaxed);
        return nWrite >= nRead ? nWrite - nRead : m_nCapacity - nRead + nWrite;
    }

    // Room for the writer, measured against reader 0.
    uint32_t Writable() const
    {
        const uint32_t nRead = m_nReadPos[0].load(std::memory_order_acquire);
        const uint32_t nWrite = m_nWritePos.load(std::memory_order_relaxed);
        return (nRead + m_nCapacity - nWrite - 1) % m_nCapacity;
    }

    // Copies up to n elements; the part of dst beyond what was readable is zeroed.
    uint32_t Read(T* dst, uint32_t n, int nReader)
    {
        const uint32_t nAvailable = Readable(nReader);
        if (n > nAvailable) {
            std::memset(static_cast<void*>(dst + nAvailable), 0, sizeof(T) * (n - nAvailable));
            n = nAvailable;
        }
        if (n == 0)
            return 0;
        const uint32_t nRead = m_nReadPos[nReader].load(std::memory_order_relaxed);
        const uint32_t nToEnd = m_nCapacity - nRead;
        if (nToEnd >= n) {
            std::memcpy(dst, m_pData + nRead, sizeof(T) * n);
        } else {
            std::memcpy(dst, m_pData + nRead, sizeof(T) * nToEnd);
            std::memcpy(dst + nToEnd, m_pData, sizeof(T) * (n - nToEnd));
        }
        m_nReadPos[nReader].store((nRead + n) % m_nCapacity, std::memory_order_release);
        return n;
    }

    uint32_t Write(const T* src, uint32_t n)
    {
        const uint32_t nRoom = Writable();
        if (n > nRoom)
            n = nRoom;
        if (n == 0)
            return 0;
        const uint32_t nWrite = m_nWritePos.load(std::memory_order_relaxed);
        const uint32_t nToEnd = m_nCapacity - nWrite;
        if (nToEnd >= n) {
            std::memcpy(m_pData + nWrite, src, sizeof(T) * n);
        } else {
            std::memcpy(m_pData + nWrite, src, sizeof(T) * nToEnd);
            std::memcpy(m_pData, src + nToEnd, sizeof(T) * (n - nToEnd));
        }
        m_nWritePos.store((nWrite + n) % m_nCapacity, std::memory_order_release);
        return n;
    }

    // Empties the queue; only while neither side is running.
    void Reset()
    {
        m_nWritePos.store(0, std::memory_order_release);
        for (auto& nPos : m_nReadPos)
            nPos.store(0, std::memory_order_release);
    }

private:
    T* m_pData;
    std::atomic<uint32_t> m_nWritePos{0};
    std::atomic<uint32_t> m_nReadPos[N];
    uint32_t m_nCapacity;
};

using SampleRing = RingBuffer<int, 1>;

// Capacity of each of the program's two rings: 2^20 samples.
inline constexpr uint32_t kSampleRingCapacity = 1u << 20;

// The two rings joining the stages; created by the owner of the conversion
// (main window, terminal front end or test) before the first file.
extern SampleRing* g_pDecodedRing;
extern SampleRing* g_pProcessedRing;
