#pragma once
// Every action the timeline can run. Each is an ActionFn (timeline.h).
#include "visuals/timeline/frame_context.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

// Cameras (cameras.cpp): add their weighted motion to the frame's camera and
// light and load the matrices.
void FloatCamera(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void WanderCamera(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void OverheadCamera(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

// Backdrops: the world around the camera.
void ShapeTunnelScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void RoomScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void EmptyScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

// Foregrounds: objects in front of the backdrop.
void CubeFieldScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void ShapeFountainScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void ShapeVortexScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void LineWalkScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

// Post passes (post_passes.cpp): rework the picture drawn so far.
void TintPass(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void GlowPass(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);
void BlurFadePass(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

}  // namespace vortel
