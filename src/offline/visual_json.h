#pragma once
#include "io/json.h"
#include "visuals/timeline/frame_log.h"
#include "visuals/frame/show.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

// Every clip in Timeline order: {"lane", "section", "span", "start",
// "clipValue", "length", "action", "seed", "duration", "fadeIn", "fadeOut"}
// (a clip's first action; the generator gives each clip exactly one).
Json timelineToJson(const Timeline& timeline);

// What the frame of `show` at `time` runs, computed without GL (the show
// is unchanged): {"time", "actions": [{"lane", "action", "seed", "weight"}],
// "cameraFrom", "cameraTarget", "cameraDolly", "lightPosition", "draws"}.
Json frameToJson(const Show& show, float time);

}  // namespace vortel
