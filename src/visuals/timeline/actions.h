#pragma once
// Every action the timeline can run. Each is an ActionFn (timeline.h).
#include "visuals/timeline/timeline.h"

namespace vortel {

// Cameras (cameras.cpp): add their weighted motion to the camera and light
// fields of demo() and load the matrices.
void FloatCamera(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void WanderCamera(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void OverheadCamera(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

// Backdrops: the world around the camera.
void ShapeTunnelScene(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void RoomScene(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void EmptyScene(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

// Foregrounds: objects in front of the backdrop.
void CubeFieldScene(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void ShapeFountainScene(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void ShapeVortexScene(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void LineWalkScene(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

// Post passes (post_passes.cpp): rework the picture drawn so far.
void TintPass(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void GlowPass(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void BlurFadePass(int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

}  // namespace vortel
