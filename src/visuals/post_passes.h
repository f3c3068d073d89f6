#pragma once
// The glow machinery shared by the frame composition and the post passes.
#include <cstdint>

namespace vortel {

constexpr float kFrameGlowGain = 0.24f;  // per-frame glow: each iteration keeps 0.96 of the energy
constexpr int kBlurIterations = 7;

// The colour a TintPass of palette colour (seed mod 12) multiplies the frame
// by at weight w: 1 - w + w * (0.85 * channel + 0.15), alpha 1.
struct TintColour {
    float r, g, b;
};
TintColour tintColour(int32_t seed, float w);

// Shrinks the working area into the spare glow texture and blurs it with
// gain g per tap; slot 6 then holds the finished glow. The working area is
// left as it was and bound again as the target, with blending on with
// (ONE, ONE), slot 6 bound and the viewport at 128 x 128. Only while a
// frame is drawn (renderFrame binds the working area).
void shrinkAndBlur(float gain);

}  // namespace vortel
