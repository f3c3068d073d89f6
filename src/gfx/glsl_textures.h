#pragma once
// The texture uploads of the GLSL renderer: the images of texture_images.h
// as they are (R, G, B, A bytes), the one layout OpenGL ES takes without an
// extension. The ARB renderer's uploads (textures.h) hand the driver B, G,
// R, A bytes instead; the colours are the same.
#include "gfx/gpu_resources.h"
#include "gfx/texture_images.h"

namespace vortel {

// What uploadTextureImages (textures.h) does, in R, G, B, A order.
void uploadTextureImagesRgba(GpuResources& gpu, const TextureImages& images);

}  // namespace vortel
