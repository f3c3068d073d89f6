#pragma once
// --summary: a seed's show in brief, for choosing among many seeds: its
// tempo and length, and for each span of 32 steps what runs in it.
#include <cstdint>

#include "core/song_layout.h"
#include "io/json.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

// {"seed", "bpm", "stepLength", "songLength", "spanLength",
//  "spans": [{"span", "start", "camera": [...], "scenes": [...], "post": [...]}]}
// Spans are numbered through the whole song in time order. A span lists, by
// action name and without repeats, every clip that runs during some part of
// it: cameras, then the backdrop and foreground scenes, then the post passes
// of both post lanes (a pass that outlasts its span is listed in the next
// one too).
Json summarizeTimeline(const Timeline& timeline, float stepLength, float songLength);

// The summary of `seed`'s show, built from the same Timeline --inspect
// prints. Needs no GL.
Json showSummary(const SongLayout& layout);

}  // namespace vortel
