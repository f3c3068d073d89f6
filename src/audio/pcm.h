#pragma once
#include <cstdint>

namespace vortel {

constexpr int32_t kSampleRate = 22050;

// A mixed sample as stored in the wave image: scaled by 32767, clamped to
// [-32767, 32767] (so -32768 never appears) and truncated towards zero.
inline int16_t toPcm16(float mixed) {
    double v = static_cast<double>(mixed) * 32767.0;
    if (v > 32767.0) v = 32767.0;
    if (v < -32767.0) v = -32767.0;
    if (v != v) v = 0.0;  // a NaN from a runaway filter must not become garbage
    return static_cast<int16_t>(v);
}

// Song time of output sample n: n / 22050 rounded to a float.
inline float sampleTime(int64_t n, int32_t sampleRate = kSampleRate) {
    return static_cast<float>(static_cast<double>(n) / sampleRate);
}

}  // namespace vortel
