#pragma once
#include <cstdint>
#include <limits>

namespace vortel {

// Constants of the synthesizer's formulas, each the nearest float to the
// exact value; arithmetic with them is done in double precision.
inline constexpr float kTwoPiF = 6.2831855f;              // 2 pi
inline constexpr float kInvRandMaxF = 1.0f / 32767.0f;    // 1 / 32767
inline constexpr float kTwelfthF = 1.0f / 12.0f;          // 1 / 12

// v rounded to float and widened back, for float-valued intermediates kept
// in double variables. The empty asm statement pins the rounding: GCC 12's
// straight-line vectorizer (on at -O2) pairs two such roundings and then
// drops them, keeping the unrounded doubles.
inline double roundedToFloat(double v) {
    float f = static_cast<float>(v);
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    __asm__("" : "+x"(f));
#elif defined(__GNUC__)
    __asm__("" : "+g"(f));
#endif
    return f;
}

// Truncation towards zero to a signed 32-bit integer. Values outside the
// integer range (and NaN) give INT32_MIN, as the x86 conversion does,
// instead of undefined behaviour.
inline int32_t truncToInt32(double v) {
    // |v| < 2^31 covers every value that truncates into range but -2^31
    // itself, which gives INT32_MIN either way.
    if (__builtin_expect(v < 2147483648.0 && v > -2147483648.0, 1)) return static_cast<int32_t>(v);
    return std::numeric_limits<int32_t>::min();
}

}  // namespace vortel
