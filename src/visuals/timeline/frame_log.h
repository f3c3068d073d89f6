#pragma once
// What a frame does: the actions that ran and every draw they planned (the
// plans the executor draws, draw_plan.h). Filled only while a log is
// attached to the frame (FrameContext::log), so the show pays nothing for
// it; `--inspect --at` attaches one and runs the frame without GL.
#include <cstdint>
#include <vector>

#include "visuals/plan/draw_plan.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

struct ActionRecord {
    Lane lane = Lane::Camera;
    const char* action = "";  // actionName()
    int32_t seed = 0;         // the seed the action was called with
    float weight = 0;         // actionWeight at the frame's time
};

struct FrameLog {
    std::vector<ActionRecord> actions;
    std::vector<Draw> draws;
};

}  // namespace vortel
