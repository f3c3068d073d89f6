#include "visuals/timeline/timeline_player.h"

#include "gfx/gl_helpers.h"
#include "visuals/timeline/frame_log.h"
#include "visuals/plan/draw_executor.h"
#include "visuals/plan/step_executor.h"
#include "visuals/timeline/action_tables.h"

namespace vortel {

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

void runPlan(FrameContext& ctx, const DrawPlan& plan) {
    if (FrameLog* log = ctx.log) log->draws.insert(log->draws.end(), plan.draws.begin(), plan.draws.end());
    if (ctx.gpu) executePlan(plan, *ctx.gpu, *ctx.scratch);
}

void runSteps(FrameContext& ctx, const FrameSteps& steps) {
    if (ctx.gpu) executeSteps(steps, *ctx.gpu, *ctx.scratch, ctx.glowComputed);
}

void runClip(FrameContext& ctx, const TimelineClip& clip, float time, float clipValue, float frameDelta) {
    for (const ClipAction& a : clip.actions) {
        const double begin = static_cast<double>(clip.start) + a.offset;
        if (!(begin <= time && time < begin + a.duration)) continue;
        const int32_t seed = clip.seedOverride != -1 ? clip.seedOverride : a.seed;
        ClipAction running = a;
        if (clip.fadeInOverride != 0) running.fadeIn = clip.fadeInOverride;
        if (clip.fadeOutOverride != 0) running.fadeOut = clip.fadeOutOverride;
        running.offset = static_cast<float>(begin);
        ctx.lastAction = actionName(a.action);
        if (FrameLog* log = ctx.log)
            log->actions.push_back({clip.lane, ctx.lastAction, seed, actionWeight(running, time)});
        if (running.action) running.action(ctx, seed, running, time, clipValue, frameDelta);
    }
}

void playTimeline(FrameContext& ctx, const Timeline& timeline, float time, float frameDelta) {
    if (ctx.gpu) resetRenderStateOf(*ctx.gpu);
    CameraPose& c = ctx.camera;
    c.from = {0, 0, -1};
    c.target = {0, 0, 0};
    c.dolly = 0;
    c.light.x = c.light.y = c.light.z = 0;
    ctx.lastAction = "";
    for (const TimelineClip& clip : timeline.clips) runClip(ctx, clip, time, clip.clipValue, frameDelta);
}

}  // namespace vortel
