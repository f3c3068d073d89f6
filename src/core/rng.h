#pragma once
#include <cstdint>

namespace vortel {

// The one pseudo-random generator the whole show draws from. Its sequence is
// part of what a seed means: the textures, the timeline, the composer and the
// noise waveform all draw from it, in a fixed order. Deliberately our own and
// not the C library's, whose sequence differs between platforms.
//
// state' = state * 214013 + 2531011 (mod 2^32); the result is bits 16..30.
// After srand(1): 41, 18467, 6334, 26500, 19169.
void srand(uint32_t seed);
int rand();                 // 0 .. 32767

uint32_t randState();       // for tests and diagnostics
constexpr int kRandMax = 32767;

}  // namespace vortel
