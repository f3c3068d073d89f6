#include "gfx/textures.h"

#include "core/demo_state.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"

namespace vortel {

namespace {

void upload(int slot, int size, const uint8_t* rgba) {
    bindTextureSlot(slot, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

}  // namespace

TextureImages generateTextures() {
    DemoState& s = demo();
    glGenTextures(kTextureSlotCount, s.textureSlots.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    TextureImages images = makeTextureImages(s.seed);
    for (int slot : {3, 2, 1, 0}) upload(slot, kTextureSize, images.pattern.data());
    upload(kSlotRelief, kTextureSize, images.relief.data());
    upload(kSlotGlow, kGlowSize, images.pattern.data());
    for (int slot = kSlotDepthNormal; slot < kTextureSlotCount; ++slot)
        upload(slot, kTextureSize, images.pattern.data());
    return images;
}

}  // namespace vortel
