#pragma once
// Per-frame playback of the Timeline: every action whose time window holds
// the song time runs, in Timeline order.
#include "visuals/plan/draw_plan.h"
#include "visuals/plan/frame_steps.h"
#include "visuals/timeline/frame_context.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

// The fade weight of a running action at song time t: rises linearly from 0
// to 1 over fadeIn after the action's start (its offset, absolute while it
// runs), holds 1, and falls back to 0 over the last fadeOut seconds of its
// duration. A zero fade is an immediate step.
float actionWeight(const ClipAction& action, float t);

// Resets the render state (when drawing), puts the frame's camera and
// light back to the neutral pose (eye at (0, 0, -1) looking at the origin,
// no dolly, light x, y, z = 0 with w kept), then runs the clips of
// `timeline` in order.
void playTimeline(FrameContext& ctx, const Timeline& timeline, float time, float frameDelta);

// Runs every action of `clip` whose window [start + offset, start + offset +
// duration) holds `time`. The action sees its absolute start in `offset`,
// the clip's fade overrides (where non-zero) and the clip's seed override
// (where not -1); the stored clip is not changed.
void runClip(FrameContext& ctx, const TimelineClip& clip, float time, float clipValue, float frameDelta);

// What an action hands over to be drawn: appended to the frame log's draws
// when a log is attached, and drawn by the executor (draw_executor.h) when
// the frame draws (ctx.gpu).
void runPlan(FrameContext& ctx, const DrawPlan& plan);

// What a screen pass hands over: executed (step_executor.h) when the frame
// draws.
void runSteps(FrameContext& ctx, const FrameSteps& steps);

}  // namespace vortel
