#pragma once
#include <string>

namespace vortel {

// A linear attack-decay-sustain-release shape, used for amplitude, pitch and
// filter cutoff. Shared between instruments and never changed during playback.
struct Envelope {
    std::string name;
    float attack = 0;   // seconds to rise from 0 to 1
    float decay = 0;    // seconds to fall from 1 to the sustain level
    float sustain = 0;  // level held until note-off
    // Seconds to fall from the note-off level to 0. It also extends the
    // lifetime of a voice beyond its note-off.
    float release = 0;

    Envelope() = default;
    explicit Envelope(std::string name) : name(std::move(name)) {}

    // Level at `t` seconds after the note's start for a note released
    // `hold` seconds after its start. Before note-off the attack/decay ramp;
    // from note-off on a linear fall from whatever level the ramp had reached
    // at note-off, reaching 0 after `release` seconds.
    float level(float t, float hold) const;
};

}  // namespace vortel
