#pragma once
// The glow's round trip, as both renderers make it: the working area (the
// current target) read back, shrunk and blurred on the processor
// (glow_image.h), and uploaded into the texture bound on the active unit.
// The renderers differ only in the byte order of the read and the upload;
// shrink and blur treat the four channels alike but for alpha, the fourth
// in both orders.
#include <cstdint>

#include "visuals/plan/frame_scratch.h"

namespace vortel {

enum class GlowBytes : uint8_t {
    Bgra,  // the ARB renderer's (desktop GL)
    Rgba,  // the GLSL renderer's (what GL ES reads back)
};

void readBlurAndUploadGlow(FrameScratch& scratch, float gain, GlowBytes order);

}  // namespace vortel
