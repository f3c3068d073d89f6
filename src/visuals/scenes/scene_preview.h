#pragma once
// A Timeline of one camera and one scene, for looking at a scene on its own
// (stills, benchmarks): the camera clip first, then the scene's clip, both
// from time 0 for `length` seconds, at full weight (no fades).
#include "visuals/timeline/timeline.h"

namespace vortel {

Timeline scenePreview(ActionFn camera, ActionFn scene, int32_t sceneSeed, float length);

}  // namespace vortel
