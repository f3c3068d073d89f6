#pragma once
// The screen passes' steps (frame_steps.h), shared by the passes and the
// frame composition.
#include <cstdint>

#include "visuals/plan/frame_steps.h"

namespace vortel {

constexpr float kFrameGlowGain = 0.24f;  // per-frame glow: each iteration keeps 0.96 of the energy

// The colour a TintPass of palette colour (seed mod 12) multiplies the frame
// by at weight w: 1 - w + w * (0.85 * channel + 0.15), alpha 1.
struct TintColour {
    float r, g, b;
};
TintColour tintColour(int32_t seed, float w);

// A TintPass of `seed` at weight w: the picture goes to slot 2 and comes
// back multiplied by tintColour. The depth test stays off after it: the
// foreground lane that follows draws over the picture until the next reset.
void planTint(int32_t seed, float w, FrameSteps& steps);

// The working area blurred with gain `gain` per tap (slot 6), then laid over
// itself, added or (crossFade) blended with opacity w. Leaves the depth test
// off and blending on.
void planGlowOver(float gain, bool crossFade, float w, FrameSteps& steps);

}  // namespace vortel
