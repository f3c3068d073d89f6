#pragma once
// The scenes' planning halves: each computes what its scene draws at song
// time t, as plain data, with every draw of the shared generator and every
// change to the shape and material settings of demo() the scene makes. The
// scene actions (actions.h) hand these plans to runPlan (timeline_player.h).
#include <cstdint>

#include "visuals/plan/draw_plan.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

// Backdrops.
DrawPlan planShapeTunnelScene(int32_t seed, const ClipAction& action, float t);
DrawPlan planRoomScene(int32_t seed, const ClipAction& action, float t);

// Foregrounds.
DrawPlan planCubeFieldScene(int32_t seed, const ClipAction& action, float t);
DrawPlan planShapeFountainScene(int32_t seed, const ClipAction& action, float t);
DrawPlan planShapeVortexScene(int32_t seed, const ClipAction& action, float t);
DrawPlan planLineWalkScene(int32_t seed, const ClipAction& action, float t);

}  // namespace vortel
