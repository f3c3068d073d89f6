#include "audio/waveforms.h"

#include <cmath>
#include <cstdint>

#include "app/rng.h"
#include "audio/wave_math.h"

namespace vortel {

float waveSine(float x, float f) {
    double p = double(x) * double(f);
    return float(std::sin(p * double(kTwoPiF)));
}

float waveNoise(float, float) {
    int r = vortel::rand();
    return float((r * double(kInvRandMaxF) - 0.5) * 2.0);
}

float waveRampUp(float x, float f) {
    double p = double(x) * double(f);
    return float(2.0 * (p - truncToInt32(p)) - 1.0);
}

float waveRampDown(float x, float f) {
    double p = double(x) * double(f);
    return float(2.0 * (1.0 - (p - truncToInt32(p))) - 1.0);
}

float waveSquare(float x, float f) {
    double p = double(x) * double(f);
    return float(2 * (truncToInt32(2.0 * p) & 1) - 1);
}

}  // namespace vortel
