#pragma once
#include <cstdint>
#include <vector>

// The pipeline's filters (7 kHz low-pass, 100 Hz high-pass) applied to
// interleaved left-justified 32-bit samples in memory with libsox, so the
// encoder can be timed alone on what the pipeline hands it.
std::vector<int32_t> FilterLikeThePipeline(const std::vector<int32_t>& samples, double dRate, unsigned nChannels);
