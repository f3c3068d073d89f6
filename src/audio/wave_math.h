#pragma once
#include <cstdint>
#include <limits>

namespace vortel {

// Constants of the synthesizer's formulas, each the nearest float to the
// exact value; arithmetic with them is done in double precision.
inline constexpr float kTwoPiF = 6.2831855f;              // 2 pi
inline constexpr float kInvRandMaxF = 1.0f / 32767.0f;    // 1 / 32767
inline constexpr float kTwelfthF = 1.0f / 12.0f;          // 1 / 12

// Truncation towards zero to a signed 32-bit integer. Values outside the
// integer range (and NaN) give INT32_MIN, as the x86 conversion does,
// instead of undefined behaviour.
inline int32_t truncToInt32(double v) {
    if (v > -2147483649.0 && v < 2147483648.0) return static_cast<int32_t>(v);
    return std::numeric_limits<int32_t>::min();
}

}  // namespace vortel
