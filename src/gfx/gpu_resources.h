#pragma once
// The GL objects one show draws with: its eleven texture slots, its GPU
// programs and the render targets of its frames. A plain record of GL
// names; the functions of textures.h, gpu_programs.h and render_targets.h
// create, use and delete them. Names belong to the context they were made
// in. Several shows may each hold their own set in one context.
#include <array>
#include <cstdint>

#include "gfx/glsl_resources.h"
#include "gfx/renderer.h"

namespace vortel {

constexpr int kTextureSlotCount = 11;
constexpr int kGpuProgramCount = 10;  // see GpuProgramId (gpu_programs.h)

// Where a frame is drawn: the 512 x 512 working area, a texture attached to
// a framebuffer object with its own depth buffer (render_targets.h).
struct RenderTargets {
    bool ready = false;
    uint32_t workingTexture = 0;
    uint32_t depth = 0;
    uint32_t workingFbo = 0;
    uint32_t readFbo = 0;      // attached to whatever slot is read
    bool inWorkingArea = false;  // whether the working area is the bound target
};

struct GpuResources {
    // Texture names by slot (textures.h). Exchanges with the working area
    // swap names, so a slot is always looked up here, never remembered.
    std::array<uint32_t, kTextureSlotCount> textureSlots{};
    std::array<uint32_t, kGpuProgramCount> programs{};  // by GpuProgramId
    RenderTargets targets;
    // Which programs draw the plans (renderer.h); set before the objects
    // are made. The GLSL renderer's own objects and state follow.
    Renderer renderer = Renderer::Arb;
    GlslObjects glsl;
    GlslState glslState;
};

}  // namespace vortel
