#include "gfx/glsl_textures.h"

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/textures.h"

namespace vortel {

namespace {

void upload(const GpuResources& gpu, int slot, int size, const uint8_t* rgba) {
    bindTextureSlot(gpu, slot, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

}  // namespace

void uploadTextureImagesRgba(GpuResources& gpu, const TextureImages& images) {
    glGenTextures(kTextureSlotCount, gpu.textureSlots.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const uint8_t* pattern = images.pattern.data();
    for (int slot : {kSlotDetail, kSlotCapture, kSlotPattern, kSlotPreviousFrame}) upload(gpu, slot, kTextureSize, pattern);
    upload(gpu, kSlotRelief, kTextureSize, images.relief.data());
    upload(gpu, kSlotGlow, kGlowSize, pattern);
    for (int slot = kSlotDepthNormal; slot <= kSlotLastStorage; ++slot) upload(gpu, slot, kTextureSize, pattern);
}

}  // namespace vortel
