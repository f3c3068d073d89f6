#pragma once
// The fixed tables the timeline picks its actions from. Repeated entries act
// as weights.
#include <array>

#include "visuals/timeline/timeline.h"

namespace vortel {

extern const std::array<ActionFn, 3> CameraTable;      // FloatCamera, WanderCamera, OverheadCamera
extern const std::array<ActionFn, 4> BackdropTable;    // ShapeTunnelScene, RoomScene, ShapeTunnelScene, RoomScene
extern const std::array<ActionFn, 4> ForegroundTable;  // CubeFieldScene, ShapeFountainScene, ShapeVortexScene, LineWalkScene
extern const std::array<ActionFn, 5> PostTableA;       // TintPass, TintPass, BlurFadePass, GlowPass, BlurFadePass
extern const std::array<ActionFn, 4> PostTableB;       // TintPass, GlowPass, TintPass, GlowPass

// The name an action is known by ("FloatCamera", "TintPass", ...), or "?"
// for a function that is none of the show's actions.
const char* actionName(ActionFn fn);

}  // namespace vortel
