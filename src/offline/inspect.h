#pragma once
// --inspect: the seed's show as JSON.
#include <cstdint>
#include <optional>

#include "core/song_layout.h"
#include "io/json.h"

namespace vortel {

// The seed's show as data: seed, tempo, step and song length, the composed
// song, the textures' identity and the Timeline; with `at`, also what the
// frame at that song time runs ("frame").
Json inspectShow(const SongLayout& layout, std::optional<float> at = std::nullopt);

}  // namespace vortel
