#pragma once
// Routines every renderer shares. All drawing works on a fixed 512 x 512
// working area in the lower-left corner of the framebuffer, whatever the
// window size.
#include <cstdint>

#include "gfx/camera_math.h"
#include "gfx/gpu_resources.h"
#include "gfx/shader_params.h"

namespace vortel {

constexpr int kWorkingAreaSize = 512;

// Puts the pipeline into the known working state, in this order: viewport
// to the working area; 2D texturing and depth test (GL_LEQUAL) on, culling
// off; identity texture, projection and modelview matrices (modelview left
// current); blending off, colour white, lighting off; GL_MODULATE.
// Leaves the program enables, bound programs and active texture unit alone.
void resetRenderState();

// Binds texture slot `slot` (0..10, see textures.h) of `gpu` on the active
// unit with `wrap` (GL_REPEAT or GL_CLAMP) in s and t and linear filtering.
void bindTextureSlot(const GpuResources& gpu, int slot, uint32_t wrap);

// The working area (the current target) read back, 4 bytes a pixel, rows
// bottom-up: B, G, R, A when `bgra`, else R, G, B, A (what GL ES reads).
void readWorkingArea(bool bgra, uint8_t* out);
// A glow image (kGlowSize square, the same byte orders) into the texture
// bound on the active unit.
void uploadGlowImage(bool bgra, const uint8_t* image);

// bindTextureSlot, then drawViewportQuad.
void drawTextureQuad(const GpuResources& gpu, int slot, uint32_t wrap);

// One quad covering the viewport with identity matrices: texture (0,0) at
// (-1,-1) ... (1,1) at (1,1), row 0 at the bottom; the texture coordinate
// (0, 1) of its last corner stays current.
void drawViewportQuad();

// Loads the show's projection and the view of the camera at `from` looking
// at `target` (cameraProjectionMatrix, cameraViewMatrix) and leaves the
// modelview matrix current.
void applyCamera(const Vec3& from, const Vec3& target, float dolly);

}  // namespace vortel
