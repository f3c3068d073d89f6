#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "core/rng.h"
#include "audio/fast_trig.h"
#include "audio/waveforms.h"

namespace vortel {
namespace {

// Sets `rng` so that its next value is `value`: the state after the step
// must have `value` in bits 16..30, so solve
// state * 214013 + 2531011 = value << 16 (mod 2^32) with the inverse of the
// (odd) multiplier.
void primeNextRand(Generator& rng, uint32_t value) {
    uint32_t inverse = 214013u;
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;  // Newton, mod 2^32
    rng.srand(((value << 16) - 2531011u) * inverse);
}

TEST(Waveforms, WorkedValues) {
    Generator rng;
    EXPECT_EQ(waveSquare(0.25f, 1, rng), -1.0f);
    EXPECT_EQ(waveSquare(0.5f, 1, rng), 1.0f);
    EXPECT_EQ(waveSquare(0.75f, 1, rng), 1.0f);
    EXPECT_EQ(waveRampUp(0.25f, 1, rng), -0.5f);
    EXPECT_EQ(waveRampDown(0.25f, 1, rng), 0.5f);
    EXPECT_FLOAT_EQ(waveSine(0.25f, 1, rng), 1.0f);
    // The product x * f is the phase: 2 s at 0.125 Hz is a quarter cycle.
    EXPECT_FLOAT_EQ(waveSine(2.0f, 0.125f, rng), 1.0f);
    EXPECT_EQ(waveRampUp(2.25f, 2, rng), waveRampUp(0.5f, 1, rng));
}

TEST(Waveforms, ShapesAcrossCyclesAndNegativePhases) {
    Generator rng;
    // Truncation is towards zero, so the ramps and the square mirror their
    // pattern for negative phases instead of continuing it.
    EXPECT_FLOAT_EQ(waveRampUp(-0.25f, 1, rng), 2 * -0.25f - 1);
    EXPECT_FLOAT_EQ(waveRampDown(-0.25f, 1, rng), 2 * (1 + 0.25f) - 1);
    EXPECT_EQ(waveSquare(-0.25f, 1, rng), -1.0f);  // trunc(-0.5) = 0
    EXPECT_EQ(waveSquare(-0.75f, 1, rng), 1.0f);   // trunc(-1.5) = -1, odd
    EXPECT_EQ(waveSquare(1000.25f, 1, rng), -1.0f);
    EXPECT_EQ(waveSquare(1000.75f, 1, rng), 1.0f);
    EXPECT_FLOAT_EQ(waveRampUp(1000.5f, 1, rng), 0.0f);
}

TEST(Waveforms, NoiseSpansTheRangeAndUsesOneDrawPerCall) {
    Generator rng;
    primeNextRand(rng, 0);
    EXPECT_EQ(waveNoise(123.0f, 4.0f, rng), -1.0f);
    primeNextRand(rng, 32767);
    EXPECT_EQ(waveNoise(-5.0f, 0.0f, rng), 1.0f);

    // Otherwise it follows the generator exactly, ignoring its arguments.
    rng.srand(77);
    Generator draws = rng;
    int r1 = draws.rand(), r2 = draws.rand();
    EXPECT_FLOAT_EQ(waveNoise(0, 0, rng), float((r1 / 32767.0 - 0.5) * 2));
    EXPECT_FLOAT_EQ(waveNoise(9, 9, rng), float((r2 / 32767.0 - 0.5) * 2));
}

TEST(Waveforms, TableOrder) {
    EXPECT_EQ(kWaveforms[0], &waveSine);
    EXPECT_EQ(kWaveforms[1], &waveNoise);
    EXPECT_EQ(kWaveforms[2], &waveRampUp);
    EXPECT_EQ(kWaveforms[3], &waveRampDown);
    EXPECT_EQ(kWaveforms[4], &waveSquare);
}

// The engine's sine and cosine must round to the same floats as the
// standard library's over the arguments the synthesizer produces: filter
// angles in [0, pi], LFO times and oscillator phases of up to ~10^5 cycles.
TEST(Waveforms, FastSineMatchesTheStandardLibraryInFloat) {
    std::mt19937 gen(7);
    const double ranges[] = {1.0, 3.2, 100.0, 1e5, 6e5};
    int mismatches = 0;
    for (double range : ranges) {
        std::uniform_real_distribution<float> dist(float(-range), float(range));
        for (int i = 0; i < 200000; ++i) {
            const double x = double(dist(gen)) * double(6.2831855f) / (range > 10 ? 6.2831855 : 1);
            double s, c;
            fastSinCos(x, s, c);
            mismatches += float(s) != float(std::sin(x));
            mismatches += float(c) != float(std::cos(x));
            mismatches += fastSin(x) != s;
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Beyond the reduction range and for non-finite values it defers to the
    // library.
    EXPECT_EQ(fastSin(1e7), std::sin(1e7));
    EXPECT_TRUE(std::isnan(fastSin(INFINITY)));
    EXPECT_EQ(fastSin(0.0), 0.0);
}

}  // namespace
}  // namespace vortel
