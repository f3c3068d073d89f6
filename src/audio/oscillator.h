#pragma once
#include <cstdint>
#include <limits>
#include <string>

#include "audio/envelope.h"
#include "audio/lfo.h"
#include "audio/waveforms.h"

namespace vortel {

// A sound source: a waveform with optional pitch modulation. Shared by many
// instruments through their slots and never changed during playback.
struct Oscillator {
    std::string name;
    WaveformFn waveform = waveSine;
    // Frequency factor (v * pitchLfoDepth + pitchLfoOffset), v the LFO value.
    Lfo* pitchLfo = nullptr;  // not owned; none = no LFO
    float pitchLfoDepth = 0;
    float pitchLfoOffset = 1.0f;
    // Frequency factor (level * pitchEnvDepth + pitchEnvOffset), applied after
    // the LFO factor.
    Envelope* pitchEnvelope = nullptr;  // not owned; none = no envelope
    float pitchEnvDepth = 0;
    float pitchEnvOffset = 1.0f;

    Oscillator() = default;
    explicit Oscillator(std::string name) : name(std::move(name)) {}
};

// One use of an oscillator inside an instrument, with its own tuning, level
// and running phase. Every voice's instrument copy owns its slots, so each
// note runs its own phase.
struct OscSlot {
    std::string name;
    Oscillator* oscillator = nullptr;  // the source; not owned
    float amplitude = 1.0f;            // output level
    int32_t octave = 0;                // octave offset (-1 = one octave down)
    int32_t semitone = 0;              // semitone offset
    float detune = 0;                  // counts double: 0.05 = +0.1 semitone
    // Running phase in cycles. It starts at the preset's value and grows
    // without wrapping for the life of the note.
    float phase = 0;

    // Derived cache, not a preset value: the unmodulated frequency for the
    // total pitch in semitones it was computed from (NaN = nothing cached).
    // A slot holds the same pitch for a whole note, so the power of two is
    // normally evaluated once per note.
    double cachedPitch = std::numeric_limits<double>::quiet_NaN();
    float cachedFrequency = 0;

    OscSlot() = default;
    explicit OscSlot(std::string name) : name(std::move(name)) {}

    // One output sample of the slot for `note` (semitones relative to
    // 440 Hz), `d` seconds after the note's start at song time `start`, for
    // a note released at `hold` seconds. Advances the phase by one sample at
    // the fixed rate of 22050 Hz. Noise (of the waveform or the pitch LFO)
    // is drawn from `rng`. Never allocates.
    float sample(float note, float d, float hold, float start, Generator& rng);
};

// Frequency in Hz of `semitones` relative to 440 Hz:
// 440 * 2^(semitones / 12), the power rounded to float before the product.
float noteFrequency(double semitones);

// Phase advance per sample: 1/22050 taken as the nearest float.
inline constexpr float kPhaseStep = 1.0f / 22050.0f;

}  // namespace vortel
