#pragma once
// The scenes' planning halves: each computes what its scene draws at song
// time t, as plain data, with every draw of the frame's generator and every
// change to the frame's shape and material settings the scene makes. The
// scene actions (actions.h) hand these plans to runPlan (timeline_player.h).
#include <cstdint>

#include "visuals/plan/draw_plan.h"
#include "visuals/timeline/frame_context.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

// Backdrops.
DrawPlan planShapeTunnelScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t);
DrawPlan planRoomScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t);

// Foregrounds.
DrawPlan planCubeFieldScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t);
DrawPlan planShapeFountainScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t);
DrawPlan planShapeVortexScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t);
DrawPlan planLineWalkScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t);

}  // namespace vortel
