#pragma once
// The building blocks of the synthesizer's per-sample code: the waveforms,
// the envelope level and the LFO value, inline so that the mixer's loops
// compile into one piece. Each computes exactly the plain formula (double
// precision intermediates, rounded where a value is stored as float); the
// sine is fastSin, float-identical to the standard library's but for rare
// rounding ties.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/rng.h"
#include "audio/envelope.h"
#include "audio/fast_trig.h"
#include "audio/lfo.h"
#include "audio/wave_math.h"
#include "audio/waveforms.h"

#define VORTEL_KERNEL inline __attribute__((always_inline))

namespace vortel::kernels {

// --- waveforms --------------------------------------------------------------

VORTEL_KERNEL float sineOf(double p) { return float(fastSin(p * double(kTwoPiF))); }
VORTEL_KERNEL float noise(Generator& rng) { return float((rng.rand() * double(kInvRandMaxF) - 0.5) * 2.0); }
VORTEL_KERNEL float rampUpOf(double p) { return float(2.0 * (p - truncToInt32(p)) - 1.0); }
VORTEL_KERNEL float rampDownOf(double p) { return float(2.0 * (1.0 - (p - truncToInt32(p))) - 1.0); }
VORTEL_KERNEL float squareOf(double p) { return float(2 * (truncToInt32(2.0 * p) & 1) - 1); }

// waveform(x, f, rng) with the five known shapes evaluated inline.
VORTEL_KERNEL float evalWaveform(WaveformFn w, float x, float f, Generator& rng) {
    const double p = double(x) * double(f);
    if (w == waveRampDown) return rampDownOf(p);
    if (w == waveSine) return sineOf(p);
    if (w == waveSquare) return squareOf(p);
    if (w == waveNoise) return noise(rng);
    if (w == waveRampUp) return rampUpOf(p);
    return w(x, f, rng);
}

// True for the shapes whose value is always finite and that draw nothing
// from the generator, so that skipping them is invisible.
VORTEL_KERNEL bool isPureFinite(WaveformFn w) {
    return w == waveSine || w == waveRampUp || w == waveRampDown || w == waveSquare ||
           w == nullptr;
}

// --- envelope ---------------------------------------------------------------

VORTEL_KERNEL double heldLevel(const Envelope& e, double x) {
    const double attack = e.attack;
    double a, d;
    if (x < attack) {
        a = x < 0 ? 0.0 : x / attack;
        d = 0.0;
    } else {
        a = 1.0;
        const double intoDecay = x - attack;
        d = intoDecay < e.decay ? intoDecay / e.decay : 1.0;
    }
    return a - (1.0 - e.sustain) * d;
}

VORTEL_KERNEL float envelopeLevel(const Envelope& e, float t, float hold) {
    if (t < hold) return float(heldLevel(e, t));
    const double r = double(t) - double(hold);
    if (r >= e.release) return 0.0f;
    return float((1.0 - r / e.release) * heldLevel(e, hold));
}

// Envelope levels of one voice at one sample. An instrument often uses the
// same envelope for its amplitude and a filter's cutoff (or a pitch), and
// the level depends only on (d, hold), which are the same for the whole
// voice-sample; a small memo avoids evaluating it twice.
struct LevelMemo {
    const Envelope* env[2] = {nullptr, nullptr};
    float level[2];
    int next = 0;

    VORTEL_KERNEL float get(const Envelope& e, float d, float hold) {
        if (env[0] == &e) return level[0];
        if (env[1] == &e) return level[1];
        const float l = envelopeLevel(e, d, hold);
        env[next] = &e;
        level[next] = l;
        next ^= 1;
        return l;
    }
};

// --- LFO --------------------------------------------------------------------

VORTEL_KERNEL float lfoValue(const Lfo& l, float d, float start, Generator& rng) {
    if (!l.waveform) return 0.0f;
    const float tau = l.retrigger ? d : float(double(d) + double(start));
    return evalWaveform(l.waveform, tau, l.rate, rng);
}

// LFO values of one sample, shared by the voices: the notes of a chord share
// their time, and so do all notes of an LFO that is not retriggered (mostly:
// d + start is rounded), so the last value is kept. Only for LFOs whose
// waveform draws nothing from the generator (isPureFinite), since a
// memoised value skips the draw.
struct LfoMemo {
    const Lfo* lfo = nullptr;
    uint32_t tauBits = 0;  // the time of the kept value, bit for bit
    float value = 0.0f;

    VORTEL_KERNEL float get(const Lfo& l, float d, float start, Generator& rng) {
        if (!l.waveform) return 0.0f;
        const float tau = l.retrigger ? d : float(double(d) + double(start));
        uint32_t bits;
        std::memcpy(&bits, &tau, sizeof bits);
        if (lfo != &l || bits != tauBits) {
            lfo = &l;
            tauBits = bits;
            value = evalWaveform(l.waveform, tau, l.rate, rng);
        }
        return value;
    }
};

// base * (v * depth + offset), v the LFO's value, rounded to float; the LFO
// is skipped when depth 0 makes its value irrelevant.
VORTEL_KERNEL float lfoScaled(const Lfo& l, float depth, float offset, float base, float d, float start,
                              Generator& rng) {
    if (depth == 0.0f && offset != 0.0f && isPureFinite(l.waveform))
        return float(double(offset) * base);
    const float v = lfoValue(l, d, start, rng);
    return float((double(v) * depth + offset) * base);
}

}  // namespace vortel::kernels
