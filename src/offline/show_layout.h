#pragma once
// A seed's song layout, worked out once for everything made offline.
#include <cstdint>

#include "core/song_layout.h"

namespace vortel {

// The tempo, step, sections and length of `seed`'s song (setupSong with a
// generator of its own: everything that draws after it re-seeds anyway).
SongLayout showLayout(int32_t seed);

}  // namespace vortel
