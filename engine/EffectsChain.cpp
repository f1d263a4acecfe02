// The effects stage: a libsox chain between two effects of our own, "input"
// draining g_pDecodedRing and "output" filling g_pProcessedRing.
#include <sox.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <type_traits>

#include "engine/ConvRunState.h"
#include "engine/ConversionTask.h"
#include "engine/Stages.h"
#include "platform/Tick.h"

static_assert(std::is_same_v<sox_sample_t, int>, "the rings carry libsox's own sample type");

namespace
{

constexpr int kLowpassHz = 7000;
constexpr int kHighpassHz = 100;

void DiscardSoxMessage(unsigned, const char*, const char*, va_list) {}

// libsox keeps process-wide state (its FFT cache among it) that has to be
// set up before the first chain; its "rate" effect aborts otherwise. Its
// diagnostics are never shown, so they are not even formatted.
void InitSoxOnce()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] {
        sox_globals_t* pGlobals = sox_get_globals();
        pGlobals->verbosity = 0;
        pGlobals->output_message_handler = DiscardSoxMessage;
        if (sox_init() != SOX_SUCCESS)
            throw std::runtime_error("libsox initialisation failed");
    });
}

bool IsRunning()
{
    return g_pConvProg->m_bRunning.load(std::memory_order_acquire) != 0;
}

// First effect of the chain: hands over whole frames from the decoded ring,
// waiting until a full request is there or decoding has ended.
int InputEffectDrain(sox_effect_t* pEffect, sox_sample_t* pOut, size_t* pnCount)
{
    const size_t nChannels = std::max<size_t>(pEffect->out_signal.channels, 1);
    const size_t nAsked = std::min<size_t>(*pnCount, kSampleRingCapacity - 1);  // most the ring can hold
    const uint32_t nWanted = static_cast<uint32_t>(nAsked - nAsked % nChannels);
    *pnCount = 0;
    while (IsRunning()) {
        if (g_pDecodedRing->Readable(0) >= nWanted ||
            !g_pCurrentTask->m_bDecoding.load(std::memory_order_acquire)) {
            *pnCount = g_pDecodedRing->Read(pOut, nWanted, 0);
            return *pnCount > 0 ? SOX_SUCCESS : SOX_EOF;
        }
        SleepMs(1);
    }
    return SOX_EOF;
}

// Last effect of the chain: takes every sample it is given (the input count
// stays as it is) into the processed ring and produces none.
int OutputEffectFlow(sox_effect_t*, const sox_sample_t* pIn, sox_sample_t*, size_t* pnInCount, size_t* pnOutCount)
{
    const uint32_t nCount = static_cast<uint32_t>(*pnInCount);
    *pnOutCount = 0;
    while (IsRunning()) {
        if (g_pProcessedRing->Writable() >= nCount)
            return g_pProcessedRing->Write(pIn, nCount) < nCount ? SOX_EOF : SOX_SUCCESS;
        SleepMs(1);
    }
    return SOX_EOF;
}

const sox_effect_handler_t kInputEffect = {
    "input", nullptr, SOX_EFF_MCHAN, nullptr, nullptr, nullptr, InputEffectDrain, nullptr, nullptr, 0,
};

const sox_effect_handler_t kOutputEffect = {
    "output", nullptr, SOX_EFF_MCHAN, nullptr, nullptr, OutputEffectFlow, nullptr, nullptr, nullptr, 0,
};

// Frees an effect that never made it into the chain.
void DiscardEffect(sox_effect_t* pEffect)
{
    pEffect->handler.kill(pEffect);
    std::free(pEffect->priv);
    std::free(pEffect);
}

// Owns the libsox chain for one run, so an exception deletes it too.
class CSoxChain
{
public:
    explicit CSoxChain(const sox_encodinginfo_t& encoding) : m_pChain(sox_create_effects_chain(&encoding, &encoding))
    {
        if (!m_pChain)
            throw std::runtime_error("no effects chain");
    }
    ~CSoxChain() { sox_delete_effects_chain(m_pChain); }
    CSoxChain(const CSoxChain&) = delete;
    CSoxChain& operator=(const CSoxChain&) = delete;

    // Adds an effect with no options; updates signal to what it puts out.
    void Add(const sox_effect_handler_t* pHandler, sox_signalinfo_t& signal, const sox_signalinfo_t& target)
    {
        Append(Create(pHandler), signal, target);
    }

    // Adds one of libsox's effects with its one numeric argument.
    void Add(const char* pszName, int nArgument, sox_signalinfo_t& signal, const sox_signalinfo_t& target)
    {
        sox_effect_t* pEffect = Create(sox_find_effect(pszName));
        char szArgument[16];
        std::snprintf(szArgument, sizeof szArgument, "%d", nArgument);
        char* argv[] = {szArgument};
        if (sox_effect_options(pEffect, 1, argv) != SOX_SUCCESS) {
            DiscardEffect(pEffect);
            throw std::runtime_error("effect refused its argument");
        }
        Append(pEffect, signal, target);
    }

    void Flow() { sox_flow_effects(m_pChain, nullptr, nullptr); }

private:
    static sox_effect_t* Create(const sox_effect_handler_t* pHandler)
    {
        sox_effect_t* pEffect = pHandler ? sox_create_effect(pHandler) : nullptr;
        if (!pEffect)
            throw std::runtime_error("effect not available");
        return pEffect;
    }

    // An effect missing from the chain would change the result unnoticed.
    void Append(sox_effect_t* pEffect, sox_signalinfo_t& signal, const sox_signalinfo_t& target)
    {
        if (sox_add_effect(m_pChain, pEffect, &signal, &target) != SOX_SUCCESS) {
            DiscardEffect(pEffect);
            throw std::runtime_error("effect could not start");
        }
        std::free(pEffect);  // the chain keeps its own copy
    }

    sox_effects_chain_t* m_pChain;
};

}  // namespace

int CConversionTask::RunEffects()
{
    m_bEffecting.store(1, std::memory_order_release);
    int nResult = 1;
    try {
        InitSoxOnce();

        sox_encodinginfo_t encoding = {};
        encoding.encoding = SOX_ENCODING_SIGN2;
        encoding.bits_per_sample = 32;
        encoding.compression = 0.0;
        encoding.reverse_bytes = sox_option_no;
        encoding.reverse_nibbles = sox_option_no;
        encoding.reverse_bits = sox_option_no;
        encoding.opposite_endian = sox_false;

        sox_signalinfo_t signal = {};
        signal.rate = static_cast<double>(g_pCurrentTask->m_nInRate);
        signal.channels = static_cast<unsigned>(g_pCurrentTask->m_nInChannels);
        signal.precision = 32;
        signal.length = SOX_UNKNOWN_LEN;
        signal.mult = nullptr;
        const sox_signalinfo_t target = signal;

        const int nOutRate = g_pCurrentTask->m_nOutRate;
        const int nOutChannels = g_pCurrentTask->m_nOutChannels;
        {
            CSoxChain chain(encoding);
            chain.Add(&kInputEffect, signal, signal);
            if (nOutChannels != g_pCurrentTask->m_nInChannels)
                chain.Add("channels", nOutChannels, signal, target);
            if (nOutRate != g_pCurrentTask->m_nInRate)
                chain.Add("rate", nOutRate, signal, target);
            // libsox refuses a cut-off above the Nyquist frequency; at such
            // low output rates the rate conversion has already cut there.
            if (kLowpassHz * 2 < nOutRate)
                chain.Add("lowpass", kLowpassHz, signal, target);
            chain.Add("highpass", kHighpassHz, signal, target);
            chain.Add(&kOutputEffect, signal, target);

            StartStageThread(g_pConvProg->m_pEncoderThread, [this] { EncoderThreadProc(this); });
            chain.Flow();
        }
    } catch (...) {
        g_pConvProg->m_bRunning.store(0, std::memory_order_release);
        g_pConvProg->PostLog(LOG_ERROR, "An error occurred while processing audio data");
        nResult = 0;
    }
    m_bEffecting.store(0, std::memory_order_release);
    return nResult;
}

unsigned int EffectsThreadProc(CConversionTask* pTask)
{
    pTask->RunEffects();
    return 0;
}
