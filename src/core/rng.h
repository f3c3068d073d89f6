#pragma once
#include <cstdint>

namespace vortel {

// The pseudo-random generator a show draws from. Its sequence is part of
// what a seed means: the textures, the timeline, the composer, the scenes
// and the noise waveform all draw from one show's generator, in a fixed
// order. Deliberately our own and not the C library's, whose sequence
// differs between platforms. A value: copy it to try draws without using
// them up.
//
// state' = state * 214013 + 2531011 (mod 2^32); the result is bits 16..30.
// After srand(1): 41, 18467, 6334, 26500, 19169.
struct Generator {
    uint32_t state = 1;

    void srand(uint32_t seed) { state = seed; }
    int rand() {  // 0 .. 32767
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    }
};

constexpr int kRandMax = 32767;

}  // namespace vortel
