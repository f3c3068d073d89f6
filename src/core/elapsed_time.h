#pragma once
#include <cstdint>

namespace vortel {

// Milliseconds between two readings of a millisecond counter that wraps at
// 2^32: the difference is taken as a signed 32-bit value and a negative one
// (the counter wrapped) is lifted by 2^32.
inline double elapsedMilliseconds(uint32_t from, uint32_t now) {
    const int32_t d = static_cast<int32_t>(now - from);
    return d < 0 ? static_cast<double>(d) + 4294967296.0 : static_cast<double>(d);
}

// The same in seconds, scaled by the float nearest 0.001 and rounded to float
// (the frame clock and the audio budget both count time this way).
inline float elapsedSeconds(uint32_t from, uint32_t now) {
    return static_cast<float>(elapsedMilliseconds(from, now) * static_cast<double>(0.001f));
}

}  // namespace vortel
