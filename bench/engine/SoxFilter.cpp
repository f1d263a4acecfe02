#include "bench/engine/SoxFilter.h"

#include <sox.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace
{

// The chain ends read and write these; one filter run at a time.
const std::vector<int32_t>* s_pInput = nullptr;
size_t s_nInputPos = 0;
std::vector<int32_t>* s_pOutput = nullptr;

int DrainInput(sox_effect_t*, sox_sample_t* pOut, size_t* pnCount)
{
    const size_t n = std::min(*pnCount, s_pInput->size() - s_nInputPos);
    std::copy_n(s_pInput->data() + s_nInputPos, n, pOut);
    s_nInputPos += n;
    *pnCount = n;
    return n ? SOX_SUCCESS : SOX_EOF;
}

int FlowOutput(sox_effect_t*, const sox_sample_t* pIn, sox_sample_t*, size_t* pnIn, size_t* pnOut)
{
    s_pOutput->insert(s_pOutput->end(), pIn, pIn + *pnIn);
    *pnOut = 0;
    return SOX_SUCCESS;
}

const sox_effect_handler_t kMemoryInput = {"input", nullptr, SOX_EFF_MCHAN, nullptr, nullptr,
                                           nullptr, DrainInput, nullptr, nullptr, 0};
const sox_effect_handler_t kMemoryOutput = {"output", nullptr, SOX_EFF_MCHAN, nullptr, nullptr,
                                            FlowOutput, nullptr, nullptr, nullptr, 0};

void Add(sox_effects_chain_t* pChain, sox_effect_t* pEffect, sox_signalinfo_t& signal)
{
    if (sox_add_effect(pChain, pEffect, &signal, &signal) != SOX_SUCCESS)
        throw std::runtime_error("libsox effect failed");
    std::free(pEffect);
}

void AddFilter(sox_effects_chain_t* pChain, const char* pszName, const char* pszArgument, sox_signalinfo_t& signal)
{
    sox_effect_t* pEffect = sox_create_effect(sox_find_effect(pszName));
    char szArgument[16];
    std::snprintf(szArgument, sizeof szArgument, "%s", pszArgument);
    char* argv[] = {szArgument};
    sox_effect_options(pEffect, 1, argv);
    Add(pChain, pEffect, signal);
}

}  // namespace

std::vector<int32_t> FilterLikeThePipeline(const std::vector<int32_t>& samples, double dRate, unsigned nChannels)
{
    std::vector<int32_t> filtered;
    filtered.reserve(samples.size());
    s_pInput = &samples;
    s_nInputPos = 0;
    s_pOutput = &filtered;

    sox_encodinginfo_t encoding = {};
    encoding.encoding = SOX_ENCODING_SIGN2;
    encoding.bits_per_sample = 32;
    sox_signalinfo_t signal = {dRate, nChannels, 32, SOX_UNKNOWN_LEN, nullptr};
    sox_effects_chain_t* pChain = sox_create_effects_chain(&encoding, &encoding);
    Add(pChain, sox_create_effect(&kMemoryInput), signal);
    AddFilter(pChain, "lowpass", "7000", signal);
    AddFilter(pChain, "highpass", "100", signal);
    Add(pChain, sox_create_effect(&kMemoryOutput), signal);
    sox_flow_effects(pChain, nullptr, nullptr);
    sox_delete_effects_chain(pChain);
    return filtered;
}
