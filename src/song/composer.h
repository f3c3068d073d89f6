#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/rng.h"
#include "song/pattern.h"

namespace vortel {

class Sequencer;

// One pattern instance of a composed song, as it was handed to the Sequencer.
struct InstanceSummary {
    int32_t span = 0;         // 0..15
    std::string pattern;      // "drums", "pad", "hihat" or "bass"
    float offset = 0;         // song time of the pattern's start, seconds
    int32_t transpose = 0;    // semitones
    float volume = 1;
    std::vector<Note> notes;  // the pattern's notes (times relative to offset, untransposed)
};

// What the composer chose for a seed. The notes point into the Synth's
// library, so the summary must not outlive that Synth.
struct SongSummary {
    std::string kick, snare, pad, bass;  // chosen preset names
    std::array<int32_t, 4> rootOffsets{};  // per span i, pad and bass are transposed by rootOffsets[i % 4]
    int32_t bassPattern = 0;  // 1 = two-bar riff, 2 = arpeggio, 3 = the 13-note line
    float stepLength = 0;     // seconds per step, as the composer computed it from bpm
    float spanLength = 0;     // 32 steps
    std::vector<InstanceSummary> instances;  // the 54 instances, in addInstance order
};

// Writes the whole song: re-seeds `rng` with `seed`, fills the sequencer's
// Synth with the presets (its library must be empty), draws the kick, snare,
// pad and bass sounds, the four root offsets and the bass line from `rng`,
// and adds the 54 pattern instances to `sequencer`. `bpm` is the tempo in
// beats per minute (120..150). Leaves `rng` just after its last draw.
SongSummary compose(Sequencer& sequencer, int32_t seed, float bpm, Generator& rng);

}  // namespace vortel
