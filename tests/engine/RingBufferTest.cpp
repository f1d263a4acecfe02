#include "engine/RingBuffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <numeric>
#include <thread>
#include <vector>

namespace {

using testing::ElementsAre;

std::vector<int> Sequence(int nFirst, int nCount)
{
    std::vector<int> values(static_cast<size_t>(nCount));
    std::iota(values.begin(), values.end(), nFirst);
    return values;
}

std::vector<int> ReadAll(SampleRing& ring)
{
    std::vector<int> values(ring.Readable(0));
    EXPECT_EQ(ring.Read(values.data(), static_cast<uint32_t>(values.size()), 0), values.size());
    return values;
}

TEST(RingBuffer, NewRingIsEmptyWithRoomForAllButOne)
{
    SampleRing ring(8);
    EXPECT_EQ(ring.Readable(0), 0u);
    EXPECT_EQ(ring.Writable(), 7u);
}

TEST(RingBuffer, HoldsCapacityLessOneAndRefusesMore)
{
    SampleRing ring(8);
    const std::vector<int> values = Sequence(1, 10);
    EXPECT_EQ(ring.Write(values.data(), 7), 7u);
    EXPECT_EQ(ring.Writable(), 0u);
    EXPECT_EQ(ring.Write(values.data() + 7, 1), 0u);
    EXPECT_EQ(ring.Readable(0), 7u);
    EXPECT_EQ(ReadAll(ring), Sequence(1, 7));

    // A write larger than the room is cut to the room.
    EXPECT_EQ(ring.Write(values.data(), 10), 7u);
    EXPECT_EQ(ReadAll(ring), Sequence(1, 7));
}

TEST(RingBuffer, ShortReadCopiesWhatIsThereAndZeroesTheRest)
{
    SampleRing ring(8);
    const std::vector<int> values = Sequence(1, 3);
    ring.Write(values.data(), 3);

    std::vector<int> dst(5, -1);
    EXPECT_EQ(ring.Read(dst.data(), 5, 0), 3u);
    EXPECT_THAT(dst, ElementsAre(1, 2, 3, 0, 0));

    std::vector<int> empty(4, -1);
    EXPECT_EQ(ring.Read(empty.data(), 4, 0), 0u);
    EXPECT_THAT(empty, ElementsAre(0, 0, 0, 0));
}

TEST(RingBuffer, WriteAndReadAcrossTheEndWrapInTwoPieces)
{
    SampleRing ring(8);
    std::vector<int> dst(6);
    const std::vector<int> head = Sequence(100, 6);
    ring.Write(head.data(), 6);
    ring.Read(dst.data(), 6, 0); // both positions at 6

    const std::vector<int> values = Sequence(1, 5);
    EXPECT_EQ(ring.Write(values.data(), 5), 5u); // slots 6, 7, 0, 1, 2
    EXPECT_EQ(ring.Readable(0), 5u);
    EXPECT_EQ(ring.Writable(), 2u);

    std::vector<int> first(1);
    EXPECT_EQ(ring.Read(first.data(), 1, 0), 1u);
    std::vector<int> rest(4);
    EXPECT_EQ(ring.Read(rest.data(), 4, 0), 4u); // slots 7, 0, 1, 2
    EXPECT_THAT(first, ElementsAre(1));
    EXPECT_THAT(rest, ElementsAre(2, 3, 4, 5));

    // Positions wrapped to 3: the whole ring is free again.
    EXPECT_EQ(ring.Readable(0), 0u);
    EXPECT_EQ(ring.Writable(), 7u);
}

TEST(RingBuffer, ResetDiscardsWhatWasWritten)
{
    SampleRing ring(8);
    const std::vector<int> stale = Sequence(50, 5);
    ring.Write(stale.data(), 5);
    std::vector<int> dst(2);
    ring.Read(dst.data(), 2, 0);

    ring.Reset();
    EXPECT_EQ(ring.Readable(0), 0u);
    EXPECT_EQ(ring.Writable(), 7u);
    const std::vector<int> fresh = Sequence(1, 2);
    ring.Write(fresh.data(), 2);
    EXPECT_EQ(ReadAll(ring), fresh);
}

// One writer and one reader on their own threads, with chunk sizes that do
// not divide the capacity, so copies split at the end in every way.
TEST(RingBuffer, EveryValueCrossesThreadsInOrder)
{
    constexpr int kCount = 2'000'000;
    SampleRing ring(1021);

    std::thread writer([&] {
        std::vector<int> chunk(300);
        int nNext = 0;
        for (uint32_t nRound = 0; nNext < kCount; ++nRound) {
            const int nWant = std::min<int>(static_cast<int>(nRound % 300) + 1, kCount - nNext);
            std::iota(chunk.begin(), chunk.begin() + nWant, nNext);
            const uint32_t nWritten = ring.Write(chunk.data(), static_cast<uint32_t>(nWant));
            nNext += static_cast<int>(nWritten);
            if (nWritten == 0)
                std::this_thread::yield();
        }
    });

    std::vector<int> chunk(257);
    int nExpected = 0;
    int nFirstWrong = -1;
    for (uint32_t nRound = 0; nExpected < kCount; ++nRound) {
        const uint32_t nWant = std::min<uint32_t>(nRound % 257 + 1, ring.Readable(0));
        if (nWant == 0) {
            std::this_thread::yield();
            continue;
        }
        ASSERT_EQ(ring.Read(chunk.data(), nWant, 0), nWant);
        for (uint32_t i = 0; i < nWant; ++i, ++nExpected)
            if (chunk[i] != nExpected && nFirstWrong < 0)
                nFirstWrong = nExpected;
    }
    writer.join();

    EXPECT_EQ(nFirstWrong, -1) << "first value out of order";
    EXPECT_EQ(ring.Readable(0), 0u);
}

} // namespace
