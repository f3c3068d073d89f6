#pragma once
#include "core/rng.h"
#include "core/song_layout.h"

namespace vortel {

// Seeds `rng` with layout.seed and derives the tempo, the step length, the
// section layout and the song length from it: exactly one draw of `rng`.
void setupSong(SongLayout& layout, Generator& rng);

}  // namespace vortel
