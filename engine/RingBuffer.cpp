#include "engine/RingBuffer.h"

SampleRing* g_pDecodedRing = nullptr;
SampleRing* g_pProcessedRing = nullptr;
