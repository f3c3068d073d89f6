#pragma once
// The arithmetic of the three cameras, apart from GL. A camera adds its own
// motion, scaled by its fade weight, to the shared camera and light fields.
#include <cstdint>

#include "core/vec.h"

namespace vortel {

struct CameraPose {
    Vec3 from{0, 0, -1};  // cameraFrom
    Vec3 target{};        // cameraTarget
    float dolly = 0;      // cameraDolly
    Vec4 light{};         // lightPosition
};

// w: the action's fade weight; T: song time plus the clip value (s).
CameraPose floatCameraStep(const CameraPose& in, float w, float T);
CameraPose overheadCameraStep(const CameraPose& in, float w, float T);
// Re-seeds the shared generator with globalSeed + seed and draws twice.
CameraPose wanderCameraStep(const CameraPose& in, float w, float T, int32_t globalSeed, int32_t seed);

// The pose held in demo(), and back.
CameraPose demoCameraPose();
void setDemoCameraPose(const CameraPose& pose);

}  // namespace vortel
