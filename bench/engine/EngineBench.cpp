// Speed of the whole conversion pipeline as a multiple of real time, next to
// LAME alone (same settings) on the audio the pipeline hands its encoder, so
// the cost of decoding, filtering and the hand-offs shows as a ratio.
#include <lame/lame.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/engine/SoxFilter.h"
#include "engine/ConvRunState.h"
#include "engine/ConversionTask.h"
#include "settings/ConversionSettings.h"
#include "tests/support/FlacFixture.h"

namespace fs = std::filesystem;

namespace
{

constexpr uint32_t kRate = 44100;
constexpr uint32_t kChannels = 2;
constexpr int kRepeats = 3;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Music-like 16-bit stereo: a few drifting partials per channel and some noise.
std::vector<int32_t> MakeProgramme(uint32_t nFrames)
{
    std::vector<int32_t> samples(static_cast<size_t>(nFrames) * kChannels);
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.02);
    const double partials[] = {110.0, 220.5, 441.0, 1250.0, 3300.0, 8800.0, 12500.0};
    for (uint32_t i = 0; i < nFrames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        for (uint32_t c = 0; c < kChannels; ++c) {
            double dValue = noise(random);
            for (size_t p = 0; p < std::size(partials); ++p) {
                const double dEnvelope = 0.5 + 0.5 * std::sin(0.3 * t * (p + 1) + c);
                dValue += 0.08 * dEnvelope * std::sin(2.0 * M_PI * partials[p] * (1.0 + 0.002 * c) * t);
            }
            samples[static_cast<size_t>(i) * kChannels + c] =
                static_cast<int32_t>(std::lround(std::clamp(dValue, -1.0, 1.0) * 32767.0));
        }
    }
    return samples;
}

// Runs one conversion as the batch runner does; returns the wall seconds.
double TimePipeline(const std::string& strSource, const std::string& strDest, uint32_t nFrames)
{
    CConvRunState state;
    auto pQueue = std::make_shared<CMessageQueue>();
    state.SetMessageTarget(pQueue);
    state.m_bRunning.store(1);
    g_pConvProg = &state;
    g_pDecodedRing->Reset();
    g_pProcessedRing->Reset();

    CConversionTask task;
    task.m_strSource = strSource;
    task.m_strDest = strDest;
    task.m_nInRate = task.m_nOutRate = kRate;
    task.m_nInChannels = task.m_nOutChannels = kChannels;
    task.m_nBitsPerSample = 16;
    task.m_nOutSampleBytes = 2;
    task.m_nTotalSamples = static_cast<uint64_t>(nFrames) * kChannels;
    task.m_dRateRatio = 1.0;
    task.m_bUseEffects = 1;
    state.m_nOverallTotal.store(task.m_nTotalSamples);

    const auto start = Clock::now();
    task.Convert();
    // Pump the queue: the encoder waits for its last progress report.
    auto fnIgnore = [](CMessage&) {};
    for (auto pEffects = state.m_pEffectsThread.Get(); pEffects && !pEffects->HasEnded();)
        pQueue->WaitAndDispatch(fnIgnore, 1);
    for (auto pEncoder = state.m_pEncoderThread.Get(); pEncoder && !pEncoder->HasEnded();)
        pQueue->WaitAndDispatch(fnIgnore, 1);
    const double dSeconds = SecondsSince(start);
    pQueue->Close();
    g_pConvProg = nullptr;
    if (!state.m_bRunning.load()) {
        std::fprintf(stderr, "the conversion failed\n");
        std::exit(1);
    }
    return dSeconds;
}

// LAME with the encoding stage's settings on the filtered samples, in chunks
// of the size the stage uses, into memory.
double TimeLameAlone(const std::vector<int32_t>& filtered)
{
    const auto start = Clock::now();
    lame_t pLame = lame_init();
    lame_set_in_samplerate(pLame, kRate);
    lame_set_out_samplerate(pLame, kRate);
    lame_set_num_channels(pLame, kChannels);
    lame_set_mode(pLame, STEREO);
    lame_set_VBR(pLame, vbr_off);
    lame_set_brate(pLame, 128);
    lame_set_quality(pLame, 9);
    lame_set_disable_reservoir(pLame, 1);
    if (lame_init_params(pLame) < 0) {
        std::fprintf(stderr, "lame_init_params failed\n");
        std::exit(1);
    }
    constexpr int kFramesPerChunk = 1152;
    std::vector<float> left(kFramesPerChunk), right(kFramesPerChunk);
    std::vector<unsigned char> output(kFramesPerChunk * 5 / 4 + 7200);
    size_t nBytes = 0;
    const size_t nFrames = filtered.size() / kChannels;
    for (size_t nDone = 0; nDone < nFrames; nDone += kFramesPerChunk) {
        const int n = static_cast<int>(std::min<size_t>(kFramesPerChunk, nFrames - nDone));
        for (int i = 0; i < n; ++i) {
            left[i] = static_cast<float>(filtered[(nDone + i) * 2] * (1.0 / 65536.0));
            right[i] = static_cast<float>(filtered[(nDone + i) * 2 + 1] * (1.0 / 65536.0));
        }
        nBytes += lame_encode_buffer_float(pLame, left.data(), right.data(), n, output.data(),
                                           static_cast<int>(output.size()));
    }
    nBytes += lame_encode_flush(pLame, output.data(), static_cast<int>(output.size()));
    lame_close(pLame);
    const double dSeconds = SecondsSince(start);
    if (nBytes == 0) {
        std::fprintf(stderr, "LAME produced nothing\n");
        std::exit(1);
    }
    return dSeconds;
}

}  // namespace

int main(int argc, char** argv)
{
    const double dMinutes = argc > 1 ? std::atof(argv[1]) : 3.0;
    const auto nFrames = static_cast<uint32_t>(dMinutes * 60.0 * kRate);
    const double dAudioSeconds = static_cast<double>(nFrames) / kRate;

    std::string strTemplate = (fs::temp_directory_path() / "kestrune-bench-XXXXXX").string();
    const fs::path folder = mkdtemp(strTemplate.data());
    const std::string strSource = (folder / "programme.flac").string();
    const std::string strDest = (folder / "programme.mp3").string();

    FlacFixtureShape shape;
    shape.sampleRate = kRate;
    shape.channels = kChannels;
    shape.bitsPerSample = 16;
    shape.samples = MakeProgramme(nFrames);
    if (!WriteFlacFixture(strSource, shape)) {
        std::fprintf(stderr, "could not write %s\n", strSource.c_str());
        return 1;
    }

    auto pDecoded = std::make_unique<SampleRing>(kSampleRingCapacity);
    auto pProcessed = std::make_unique<SampleRing>(kSampleRingCapacity);
    g_pDecodedRing = pDecoded.get();
    g_pProcessedRing = pProcessed.get();
    g_settings.bitrateIndex = 11;

    double dPipeline = 1e30;
    for (int i = 0; i < kRepeats; ++i)
        dPipeline = std::min(dPipeline, TimePipeline(strSource, strDest, nFrames));

    // What the encoder receives: the decoder's left-justified, masked
    // samples through the same filters (libsox was set up by the pipeline).
    std::vector<int32_t> decoded(shape.samples.size());
    for (size_t i = 0; i < decoded.size(); ++i)
        decoded[i] = static_cast<int32_t>(static_cast<uint32_t>(shape.samples[i]) << 16 & g_nSampleMask);
    const std::vector<int32_t> filtered = FilterLikeThePipeline(decoded, kRate, kChannels);

    double dLame = 1e30;
    for (int i = 0; i < kRepeats; ++i)
        dLame = std::min(dLame, TimeLameAlone(filtered));

    std::printf("audio: %.1f s of 44,100 Hz stereo 16-bit, CBR 128 kbit/s, quality 9, best of %d\n", dAudioSeconds,
                kRepeats);
    std::printf("pipeline (FLAC -> sox -> lame_enc, 3 threads): %7.3f s  %6.1fx real time\n", dPipeline,
                dAudioSeconds / dPipeline);
    std::printf("LAME alone (filtered audio, in memory):        %7.3f s  %6.1fx real time\n", dLame,
                dAudioSeconds / dLame);
    std::printf("pipeline time / LAME time: %.3f\n", dPipeline / dLame);

    g_pDecodedRing = nullptr;
    g_pProcessedRing = nullptr;
    std::error_code error;
    fs::remove_all(folder, error);
    return 0;
}
