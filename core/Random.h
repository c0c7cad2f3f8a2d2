#pragma once
// The process-wide random source and the two draws every generator takes from it.
// The source is the classic 15-bit linear congruential generator of the C runtime
// (state = state * 214013 + 2531011, draw = bits 16..30), so that one seed gives the same draws on
// every platform and in every build, and two draws always multiply inside 32 bits.

#include <cstdint>

constexpr int RAND_DRAW_MAX = 32767;

// Seeds from the clock: whole seconds since 1970, as an unsigned 32-bit value.
void SeedRandom();
// Seeds with a given value, to reproduce a run.
void SeedRandom(std::uint32_t seed);
// One draw, 0 to RAND_DRAW_MAX.
int RandDraw();

// lo + (draw mod (hi - lo + 1)): one draw, no bias correction, so a range wider than 32768 only
// ever yields lo .. lo + 32767. A range whose size does not fit 32 bits behaves the same way;
// hi < lo yields lo.
int RandBetween(int lo, int hi);

// A whole number of ten-thousandths from trunc(lo * 10000) up to trunc(hi * 10000) - 1, times the
// single-precision 0.0001. When both bounds truncate to the same number the result is that number
// (equal bounds give the bound itself) instead of a division by zero.
double RandFloat(float lo, float hi);

// Float-to-integer conversion truncating toward zero, clamped to the signed 32-bit range (NaN is
// 0).
int TruncToInt(double value);
