#include "gfx/textures.h"

#include <vector>

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/glsl_textures.h"

namespace vortel {

namespace {

// The texels are handed over in B, G, R, A byte order: the driver then keeps
// them in the framebuffer's own layout, which makes the frame pipeline's
// many framebuffer-to-texture copies about three times cheaper (llvmpipe).
// The colours a texture holds are the same either way.
std::vector<uint8_t> toBgra(const std::vector<uint8_t>& rgba) {
    std::vector<uint8_t> bgra(rgba.size());
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        bgra[i] = rgba[i + 2];
        bgra[i + 1] = rgba[i + 1];
        bgra[i + 2] = rgba[i];
        bgra[i + 3] = rgba[i + 3];
    }
    return bgra;
}

void upload(const GpuResources& gpu, int slot, int size, const uint8_t* bgra) {
    bindTextureSlot(gpu, slot, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bgra);
}

}  // namespace

TextureImages generateTextures(GpuResources& gpu, int32_t seed, Generator& rng) {
    TextureImages images = makeTextureImages(seed, rng);
    uploadTextureImages(gpu, images);
    return images;
}

void uploadTextureImages(GpuResources& gpu, const TextureImages& images) {
    if (gpu.renderer == Renderer::Glsl) return uploadTextureImagesRgba(gpu, images);
    glGenTextures(kTextureSlotCount, gpu.textureSlots.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    const std::vector<uint8_t> pattern = toBgra(images.pattern);
    for (int slot : {kSlotDetail, kSlotCapture, kSlotPattern, kSlotPreviousFrame}) upload(gpu, slot, kTextureSize, pattern.data());
    upload(gpu, kSlotRelief, kTextureSize, toBgra(images.relief).data());
    upload(gpu, kSlotGlow, kGlowSize, pattern.data());
    for (int slot = kSlotDepthNormal; slot <= kSlotLastStorage; ++slot) upload(gpu, slot, kTextureSize, pattern.data());
}

void deleteTextures(GpuResources& gpu) {
    if (glApiLoaded()) glDeleteTextures(kTextureSlotCount, gpu.textureSlots.data());
    gpu.textureSlots.fill(0);
}

}  // namespace vortel
