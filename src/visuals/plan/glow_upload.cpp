#include "visuals/plan/glow_upload.h"

#include <vector>

#include "gfx/gl_api.h"
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
    glReadPixels(0, 0, kWorkingAreaSize, kWorkingAreaSize, bgra ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE, area.data());
    shrinkForGlow(area.data(), image.data());
    blurGlow(image, gain, kBlurIterations, scratch.glowWork);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kGlowSize, kGlowSize, bgra ? GL_BGRA : GL_RGBA,
                    bgra ? GL_UNSIGNED_INT_8_8_8_8_REV : GL_UNSIGNED_BYTE, image.data());
}

}  // namespace vortel
