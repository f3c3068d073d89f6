#include "offline/show_layout.h"

#include "core/rng.h"
#include "song/song_setup.h"

namespace vortel {

SongLayout showLayout(int32_t seed) {
    SongLayout layout;
    layout.seed = seed;
    Generator rng;
    setupSong(layout, rng);
    return layout;
}

}  // namespace vortel
