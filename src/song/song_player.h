#pragma once
// The song as a sample source: the synthesizer, the sequencer that feeds it
// and the composed song, wired together once for every place that plays or
// renders the song.
#include <cstdint>
#include <string_view>

#include "audio/pcm.h"
#include "audio/sample_source.h"
#include "audio/synth.h"
#include "song/composer.h"
#include "song/sequencer.h"

namespace vortel {

class SongPlayer final : public SampleSource {
public:
    // Composes the song of `seed` at `bpm` (see compose), drawing from `rng`,
    // into a fresh synth at `sampleRate` whose noise then draws from `rng`
    // as well, continuing where the composer left it. `rng` must outlive
    // the player (or the synth's noise be pointed elsewhere first).
    SongPlayer(int32_t seed, float bpm, Generator& rng, int32_t sampleRate = kSampleRate);
    SongPlayer(const SongPlayer&) = delete;
    SongPlayer& operator=(const SongPlayer&) = delete;

    // Keeps only the named part's pattern instances (a stem).
    void keepOnlyPart(std::string_view part) { sequencer.keepOnlyPart(part); }

    // One sample: the sequencer hands over the notes due by `t`, then the
    // synth mixes the sample at `t`.
    float next(float t) override {
        sequencer.tick(t);
        return synth.mix(t);
    }

    Synth synth;
    Sequencer sequencer;
    SongSummary song;
};

}  // namespace vortel
