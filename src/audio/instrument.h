#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "audio/envelope.h"
#include "audio/filter.h"
#include "audio/oscillator.h"

namespace vortel {

// A patch: oscillator slots summed, a chain of filters over the sum, an
// amplitude envelope and an output gain. The preset library keeps templates;
// each voice plays its own copy (assignFrom), because slots carry a running
// phase and filters a sample history.
struct Instrument {
    std::vector<OscSlot> oscSlots;  // sound sources, summed in order
    std::string name;               // preset name; empty for a voice's copy
    float gain = 1.0f;              // output gain
    // Note length in seconds used for notes started with length -1;
    // -1 = none (such notes cannot sound).
    float defaultLength = -1.0f;
    std::vector<Filter> filters;    // applied in order to the summed slots
    Envelope* envelope = nullptr;   // amplitude envelope; shared, not owned

    Instrument() = default;
    explicit Instrument(std::string name) : name(std::move(name)) {}

    // One output sample for `note` (semitones relative to 440 Hz), `d`
    // seconds after the note's start at song time `start`, released at
    // `hold` seconds: sum of slots, through the filters, times the envelope
    // level and the gain. Without an envelope the result is 0. Noise is
    // drawn from `rng`, in slot order, then filter order. Never allocates.
    float sample(float note, float d, float hold, float start, Generator& rng);

    // Makes this instrument a copy of `other`: the envelope reference, gain
    // and default length, and every field of every
    // slot and filter, position by position. The name is kept. Existing
    // slot and filter objects are reused; memory is only allocated when the
    // template has more of them (or longer names) than this copy had before.
    void assignFrom(const Instrument& other);
};

}  // namespace vortel
