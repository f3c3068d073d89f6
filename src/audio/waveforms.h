#pragma once
#include <array>

#include "core/rng.h"

namespace vortel {

// A periodic shape. Oscillator slots call it with their running phase in
// cycles and f = 1; LFOs call it with a time in seconds and their rate in Hz.
// Every shape works on p = x * f (formed in double precision) and returns a
// value in [-1, 1]. `rng` is where a shape that draws takes its values from
// (the synth passes its noise generator); the periodic shapes ignore it.
using WaveformFn = float (*)(float x, float f, Generator& rng);

// sin(p * 2pi), 2pi taken as the nearest single-precision value.
float waveSine(float x, float f, Generator& rng);
// (r / 32767 - 0.5) * 2 with r = rng.rand(); x and f are ignored. Every
// call consumes one draw of `rng`.
float waveNoise(float x, float f, Generator& rng);
// 2 * frac(p) - 1: rises from -1 towards +1 over each cycle.
float waveRampUp(float x, float f, Generator& rng);
// 2 * (1 - frac(p)) - 1: falls from +1 towards -1 over each cycle.
float waveRampDown(float x, float f, Generator& rng);
// -1 for the first half of each cycle, +1 for the second.
float waveSquare(float x, float f, Generator& rng);

// frac(p) above is p - trunc(p), truncation towards zero to a 32-bit integer.

constexpr int kWaveformCount = 5;

// The five shapes, addressable by index (0 sine, 1 noise, 2 ramp up,
// 3 ramp down, 4 square).
inline constexpr std::array<WaveformFn, kWaveformCount> kWaveforms{
    waveSine, waveNoise, waveRampUp, waveRampDown, waveSquare};

}  // namespace vortel
