#pragma once
// The song as samples without a sound device: the whole mix or one part.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/song_layout.h"

namespace vortel {

// The four parts of a song, as the stem files are named.
inline constexpr std::string_view kStemParts[] = {"drums", "hihat", "pad", "bass"};

// Seconds of release tail rendered after the song's last step offline.
constexpr float kTailSeconds = 5.0f;

// Number of samples an offline render of a song `songLength` seconds long
// produces: the song plus the tail, rounded to whole samples.
int64_t offlineSampleCount(float songLength);

// Called now and then during a long render with the fraction done (0..1).
// Returning false stops the render early.
using Progress = std::function<bool(double done)>;

// Renders the song of `layout` (show_layout.h) without a window, sample by
// sample exactly as the show does (sequencer tick, then mix, for t = n /
// 22050). With a part name only that part's pattern instances play.
// Returns fewer samples than asked only when `progress` stopped it.
std::vector<int16_t> renderSongOffline(const SongLayout& layout, std::string_view part, const Progress& progress);

}  // namespace vortel
