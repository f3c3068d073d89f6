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

// Shrinks the working area (already captured in slot 2) into the 128 x 128
// corner and blurs it there with gain g per tap; slot 6 then holds the
// finished glow. Leaves blending on with (ONE, ONE) and the viewport at
// 128 x 128.
void shrinkAndBlur(float gain);

// Puts the capture in slot 2 back over the glow corner, the only part of
// the working area that shrinkAndBlur changed: the same picture as redrawing
// the whole capture, for a sixteenth of the pixels. Needs the 512 x 512
// viewport and identity matrices.
void restoreGlowCorner();

}  // namespace vortel
