#include "song/song_setup.h"

#include "core/rng.h"

namespace vortel {

void setupSong(DemoState& state) {
    srand(static_cast<uint32_t>(state.seed));
    int r = rand();
    // 30/32767 as a float: the tempo spans 120..150 beats per minute.
    const float kTempoStep = 0.0009155553f;
    double bpm = 120.0 + static_cast<double>(r) * static_cast<double>(kTempoStep);
    state.bpm = static_cast<float>(bpm);
    state.stepLength = static_cast<float>(60.0 / bpm * 0.25);  // one sixteenth note
    state.sectionCount = 4;
    state.spanCount.fill(0);
    int spans = 0;
    for (int i = 0; i < state.sectionCount; ++i) {
        state.spanCount[i] = 4;
        spans += state.spanCount[i];
    }
    state.songLength = static_cast<float>(static_cast<double>(spans) * state.stepLength * 32.0);
}

}  // namespace vortel
