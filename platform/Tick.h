#pragma once
#include <cstdint>

// A 32-bit millisecond count from a steady clock; wraps like the tick count it
// stands in for, so differences are taken in unsigned 32-bit arithmetic.
uint32_t GetTickCount();

void SleepMs(uint32_t nMilliseconds);
