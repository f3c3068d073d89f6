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

// Shrinks the working area (the current target) to 128 x 128 and blurs it
// there with gain g per tap, on the processor after one read-back
// (glow_image.h); slot 6 then holds the finished glow. The working area is
// left as it was, with blending on with (ONE, ONE), slot 6 bound and the
// viewport at 128 x 128.
void shrinkAndBlur(float gain);

// Whether shrinkAndBlur computes the glow (the default). Frames drawn only
// to warm the rasteriser up (warm_up.h) touch no pixel and skip it.
void setGlowComputed(bool on);

}  // namespace vortel
