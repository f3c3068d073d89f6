#include "visuals/timeline/timeline_player.h"

#include "core/demo_state.h"
#include "gfx/gl_helpers.h"
#include "visuals/timeline/action_tables.h"
#include "visuals/plan/draw_executor.h"
#include "visuals/plan/step_executor.h"
#include "visuals/frame/frame_log.h"

namespace vortel {

namespace {
const char* gLastAction = "";
}  // namespace

const char* lastActionName() { return gLastAction; }

float actionWeight(const ClipAction& action, float t) {
    const double start = action.offset;
    const double time = t;
    float fi = 0;
    if (time >= start) fi = time - start >= action.fadeIn ? 1.0f : static_cast<float>((time - start) / action.fadeIn);
    const float end = static_cast<float>(start + action.duration - action.fadeOut);
    float fo = 0;
    if (time >= end) fo = time - end >= action.fadeOut ? 1.0f : static_cast<float>((time - end) / action.fadeOut);
    return static_cast<float>(static_cast<double>(fi) * (1.0 - fo));
}

void runPlan(const DrawPlan& plan) {
    if (FrameLog* log = frameLog()) log->draws.insert(log->draws.end(), plan.draws.begin(), plan.draws.end());
    if (visualsUseGl()) executePlan(plan);
}

void runSteps(const FrameSteps& steps) {
    if (visualsUseGl()) executeSteps(steps);
}

void runClip(const TimelineClip& clip, float time, float clipValue, float frameDelta) {
    for (const ClipAction& a : clip.actions) {
        const double begin = static_cast<double>(clip.start) + a.offset;
        if (!(begin <= time && time < begin + a.duration)) continue;
        const int32_t seed = clip.seedOverride != -1 ? clip.seedOverride : a.seed;
        ClipAction running = a;
        if (clip.fadeInOverride != 0) running.fadeIn = clip.fadeInOverride;
        if (clip.fadeOutOverride != 0) running.fadeOut = clip.fadeOutOverride;
        running.offset = static_cast<float>(begin);
        gLastAction = actionName(a.action);
        if (FrameLog* log = frameLog())
            log->actions.push_back({clip.lane, gLastAction, seed, actionWeight(running, time)});
        if (running.action) running.action(seed, running, time, clipValue, frameDelta);
    }
}

void playTimeline(float time, float frameDelta) {
    if (visualsUseGl()) resetRenderState();
    DemoState& s = demo();
    s.cameraFrom = {0, 0, -1};
    s.cameraTarget = {0, 0, 0};
    s.cameraDolly = 0;
    s.lightPosition.x = s.lightPosition.y = s.lightPosition.z = 0;
    gLastAction = "";
    if (!s.timeline) return;
    for (const TimelineClip& c : s.timeline->clips) runClip(c, time, c.clipValue, frameDelta);
}

}  // namespace vortel
