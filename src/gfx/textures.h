#pragma once
// The show's GL textures, created once at start-up. Slots are addressed by
// number everywhere (GpuResources::textureSlots); several of them double as render
// targets that the frame pipeline copies the framebuffer into.
#include "core/rng.h"
#include "gfx/gpu_resources.h"
#include "gfx/texture_images.h"

namespace vortel {

// Slot numbers with a fixed role.
constexpr int kSlotPreviousFrame = 0;  // seeded pattern; later the previous finished frame
constexpr int kSlotPattern = 1;        // seeded pattern
constexpr int kSlotCapture = 2;        // seeded pattern; later framebuffer captures
constexpr int kSlotDetail = 3;         // seeded pattern: detail texture on unit 1
constexpr int kSlotUnused = 4;         // a name only, never given an image
constexpr int kSlotRelief = 5;         // relief map of the relief program
constexpr int kSlotGlow = 6;           // 128 x 128 glow buffer
constexpr int kSlotDepthNormal = 7;    // depth-and-normal capture
constexpr int kSlotLastStorage = 10;   // slots 7 to 10: 512 x 512 storage
static_assert(kSlotLastStorage + 1 == kTextureSlotCount, "slots 7 to 10 end the slot table");
constexpr int kGlowSize = 128;

// Generates the eleven texture names into gpu.textureSlots and uploads:
// the seeded pattern of `seed` into slots 3, 2, 1, 0 (in that order),
// its relief map into slot 5, the pattern's first 128 x 128 texels into
// slot 6, and 512 x 512 storage (holding the pattern) into slots 7 to 10.
// Every upload is RGBA bytes, level 0, repeat wrap, linear filtering, no
// mipmaps. Needs a current GL context. Leaves `rng` after the pattern's
// last draw and returns the images it uploaded.
TextureImages generateTextures(GpuResources& gpu, int32_t seed, Generator& rng);

// The GL half of generateTextures: the names and the uploads of `images`
// (made by makeTextureImages, perhaps on another thread); for the GLSL
// renderer (gpu.renderer) as glsl_textures.h uploads them.
void uploadTextureImages(GpuResources& gpu, const TextureImages& images);

// Deletes the eleven textures of gpu.textureSlots (where the GL's entry
// points are loaded) and zeroes the slots.
void deleteTextures(GpuResources& gpu);

}  // namespace vortel
