#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "song/pattern.h"

namespace vortel {

// The arranged song: an ordered list of pattern instances whose notes are
// handed to the Synth one second ahead of the time they sound.
class Sequencer {
public:
    explicit Sequencer(Synth& synth);

    // Appends a deep copy of `pattern` (notes included) placed at `offset`
    // seconds, with its transpose, instrument override (null = none), volume,
    // chord override (-1 = none), length override (-1 = none) and channel
    // override (null = none) replaced by the arguments.
    void addInstance(const Pattern& pattern, float offset, int32_t transpose, Instrument* instrument,
                     float volume, int32_t chord, float lengthOverride, Channel* channel);

    // Called with the song time of every output sample, before the synth
    // mixes that sample. Once per second of song time (the first call with
    // t - lastTick >= 1) it schedules the window [t, t + 1) of every
    // instance, in list order.
    void tick(float t);

    // Drops every instance whose part label is not `part`, keeping the order
    // of the others: the song then plays that one part alone (stem export).
    void keepOnlyPart(std::string_view part);

    Synth* synth;
    float lastTick = -1.5f;          // song time of the last scheduling pass
    std::vector<Pattern> instances;  // in the order added
};

}  // namespace vortel
