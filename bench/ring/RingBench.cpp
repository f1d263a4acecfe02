#include <atomic>
#include <benchmark/benchmark.h>
#include <numeric>
#include <thread>
#include <vector>

#include "engine/RingBuffer.h"

// Throughput of the sample ring the stages hand audio over with.

namespace {

// One thread writes a chunk and reads it back: the cost of the copies and
// position updates alone. The odd start offset makes some copies wrap.
void BM_WriteThenRead(benchmark::State& state)
{
    const auto nChunk = static_cast<uint32_t>(state.range(0));
    SampleRing ring(kSampleRingCapacity);
    std::vector<int> src(nChunk), dst(nChunk);
    std::iota(src.begin(), src.end(), 0);
    std::vector<int> offset(12345);
    ring.Write(offset.data(), 12345);
    ring.Read(offset.data(), 12345, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ring.Write(src.data(), nChunk));
        benchmark::DoNotOptimize(ring.Read(dst.data(), nChunk, 0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * nChunk);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * nChunk * sizeof(int));
}
BENCHMARK(BM_WriteThenRead)->Arg(64)->Arg(1024)->Arg(8192)->Arg(65536);

// A writer and a reader thread stream samples through the ring as two stages
// do, polling without sleeps; items are samples that crossed.
void BM_StreamBetweenThreads(benchmark::State& state)
{
    const auto nChunk = static_cast<uint32_t>(state.range(0));
    constexpr uint64_t kSamplesPerRun = 1u << 24;
    SampleRing ring(kSampleRingCapacity);
    for (auto _ : state) {
        ring.Reset();
        std::thread writer([&] {
            std::vector<int> src(nChunk, 1);
            for (uint64_t nDone = 0; nDone < kSamplesPerRun;)
                nDone += ring.Write(src.data(), nChunk);
        });
        std::vector<int> dst(nChunk);
        int64_t nSum = 0;
        for (uint64_t nDone = 0; nDone < kSamplesPerRun;) {
            const uint32_t nRead = ring.Read(dst.data(), std::min(nChunk, ring.Readable(0)), 0);
            nDone += nRead;
            nSum += nRead ? dst[0] : 0;
        }
        writer.join();
        benchmark::DoNotOptimize(nSum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kSamplesPerRun));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kSamplesPerRun * sizeof(int)));
}
BENCHMARK(BM_StreamBetweenThreads)->Arg(1024)->Arg(8192)->Arg(65536)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
