#pragma once
// The arithmetic of the three cameras, apart from GL. A camera adds its own
// motion, scaled by its fade weight, to the shared camera and light fields.
#include <cstdint>

#include "core/rng.h"
#include "visuals/timeline/frame_context.h"

namespace vortel {

// w: the action's fade weight; T: song time plus the clip value (s).
CameraPose floatCameraStep(const CameraPose& in, float w, float T);
CameraPose overheadCameraStep(const CameraPose& in, float w, float T);
// Re-seeds `g` with globalSeed + seed and draws twice.
CameraPose wanderCameraStep(const CameraPose& in, float w, float T, int32_t globalSeed, int32_t seed, Generator& g);

}  // namespace vortel
