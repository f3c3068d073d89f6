#include "song/song_setup.h"

namespace vortel {

void setupSong(SongLayout& layout, Generator& rng) {
    rng.srand(static_cast<uint32_t>(layout.seed));
    int r = rng.rand();
    // 30/32767 as a float: the tempo spans 120..150 beats per minute.
    const float kTempoStep = 0.0009155553f;
    double bpm = 120.0 + static_cast<double>(r) * static_cast<double>(kTempoStep);
    layout.bpm = static_cast<float>(bpm);
    layout.stepLength = static_cast<float>(60.0 / bpm * 0.25);  // one sixteenth note
    layout.sectionCount = 4;
    layout.spanCount.fill(0);
    int spans = 0;
    for (int i = 0; i < layout.sectionCount; ++i) {
        layout.spanCount[i] = 4;
        spans += layout.spanCount[i];
    }
    layout.songLength = static_cast<float>(static_cast<double>(spans) * layout.stepLength * 32.0);
}

}  // namespace vortel
