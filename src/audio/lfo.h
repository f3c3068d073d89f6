#pragma once
#include <string>

#include "audio/waveforms.h"

namespace vortel {

// A low-frequency modulator: a waveform run at a fixed rate. Oscillators use
// one to wobble their pitch, filters to move their cutoff. Shared between
// instruments and never changed while the song plays.
struct Lfo {
    std::string name;
    WaveformFn waveform = nullptr;  // shape of the modulation
    float rate = 0;                 // Hz, passed to the waveform as f
    // true: the LFO's time is the time since the note's start;
    // false: the song time, so every note sees the same modulation.
    bool retrigger = false;

    Lfo() = default;
    explicit Lfo(std::string name) : name(std::move(name)) {}

    // The modulation value for a note that started at song time `start`,
    // `d` seconds ago: waveform(tau, rate, rng) with tau = d when
    // retriggered, else d + start (rounded to float). A noise LFO draws from
    // `rng`.
    float value(float d, float start, Generator& rng) const;
};

}  // namespace vortel
