#include "visuals/plan/glow_upload.h"

#include <vector>

#include "gfx/gl_helpers.h"
#include "gfx/textures.h"
#include "visuals/plan/glow_image.h"

namespace vortel {

void readBlurAndUploadGlow(FrameScratch& scratch, float gain, GlowBytes order) {
    std::vector<uint8_t>& area = scratch.area;
    std::vector<uint8_t>& image = scratch.glowImage;
    area.resize(static_cast<size_t>(kWorkingAreaSize) * kWorkingAreaSize * 4);
    image.resize(static_cast<size_t>(kGlowSize) * kGlowSize * 4);
    const bool bgra = order == GlowBytes::Bgra;
    readWorkingArea(bgra, area.data());
    shrinkForGlow(area.data(), image.data());
    blurGlow(image, gain, kBlurIterations, scratch.glowWork);
    uploadGlowImage(bgra, image.data());
}

}  // namespace vortel
