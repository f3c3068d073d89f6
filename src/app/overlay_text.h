#pragma once
// The texts the live show lays over its picture: the information panel (I)
// and the key guide (H, F1). Plain text; the platform sets it in a font.
#include <string>
#include <vector>

#include "core/song_layout.h"
#include "visuals/timeline/frame_log.h"

namespace vortel {

// Where a song time falls in the song's layout, counted from 1. All zero
// before the start and past the last span.
struct SongPlace {
    int section = 0, sections = 0;            // section of the song
    int spanInSection = 0, spansInSection = 0;  // span within that section
    int span = 0, spans = 0;                  // span of the whole song
};
SongPlace songPlace(const SongLayout& layout, float time);

// The information panel: the title with the seed, the song time and
// length (and whether paused), the tempo, the section and span, and the
// actions the frame ran as `--inspect --at` names them (lane and action).
std::vector<std::string> infoLines(const SongLayout& layout, float songTime, bool paused,
                                   const std::vector<ActionRecord>& actions);

// The key guide, one key (or pair) a line.
std::vector<std::string> guideLines();

}  // namespace vortel
