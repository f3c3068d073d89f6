#pragma once
// A plain, unoptimised evaluation of the synthesizer's formulas, written
// directly from the definitions: no caches beyond the filter's own
// coefficient cache, std::sin/std::cos/std::pow, every division as written.
// The engine's optimised kernels are checked against it. Noise is drawn from
// `rng`, one value per noise evaluation, in the order written.
#include <array>
#include <cstdint>

#include "audio/synth.h"

namespace vortel::reference {

float wave(WaveformFn w, float x, float f, Generator& rng);
float level(const Envelope& e, float t, float hold);
float lfo(const Lfo& l, float d, float start, Generator& rng);
float slot(OscSlot& s, float note, float d, float hold, float start, Generator& rng);
float filter(Filter& f, float x, float d, float hold, float start, Generator& rng);
float instrument(Instrument& in, float note, float d, float hold, float start, Generator& rng);

// The voice pool and mixer over the reference evaluation.
struct Pool {
    struct Voice {
        bool active = false;
        float start = 0, holdLength = 0, lifetime = 0, gain = 0;
        int32_t note = 0;
        const Channel* channel = nullptr;
        Instrument instance;
    };
    std::array<Voice, 50> voices;

    bool noteOn(const Instrument& tmpl, const Channel& channel, float gain, int32_t note,
                float start, float length);
    float mix(float t, Generator& rng);
};

}  // namespace vortel::reference
