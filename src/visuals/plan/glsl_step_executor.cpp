#include "visuals/plan/glsl_step_executor.h"

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/glsl_api.h"
#include "gfx/glsl_programs.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"
#include "visuals/plan/glow_upload.h"

namespace vortel {

namespace {

// The glow of step_executor.cpp, in the GLSL renderer's state.
void glow(GpuResources& gpu, FrameScratch& scratch, bool computed, float gain) {
    bindTextureSlot(gpu, kSlotGlow, GL_REPEAT);
    gpu.glslState.unit0Border = false;
    if (computed) readBlurAndUploadGlow(scratch, gain, GlowBytes::Rgba);
    setGlslViewport(gpu, 0, 0, kGlowSize, kGlowSize);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    gpu.glslState.colour = {gain, gain, gain, 1};
}

void setFilter(GLint filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

void quad(GpuResources& gpu, const QuadStep& q) {
    if (q.viewportWidth > 0 && q.viewportHeight > 0) setGlslViewport(gpu, 0, 0, q.viewportWidth, q.viewportHeight);
    if (q.blend != QuadBlend::Keep) glEnable(GL_BLEND);
    if (q.blend == QuadBlend::Alpha) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (q.setsColour) gpu.glslState.colour = q.colour;
    // The quad samples the texel centres only, where clamping to the edge
    // is the ARB renderer's clamping to the border; what draws after it
    // samples the texture as that would.
    bindTextureSlot(gpu, q.slot, q.clamp ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    gpu.glslState.unit0Border = q.clamp;
    if (q.nearest) setFilter(GL_NEAREST);
    drawGlslViewportQuad(gpu);
    if (q.nearest) setFilter(GL_LINEAR);
}

}  // namespace

void executeGlslSteps(const FrameSteps& steps, GpuResources& gpu, FrameScratch& scratch, bool glowComputed) {
    for (const FrameStep& s : steps) {
        switch (s.kind) {
        case StepKind::ClearWorkingArea:
            bindWorkingArea(gpu);
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            break;
        case StepKind::Reset:
            resetGlslRenderState(gpu);
            if (s.forQuads) glDisable(GL_DEPTH_TEST);
            break;
        case StepKind::DepthTestOn: glEnable(GL_DEPTH_TEST); break;
        case StepKind::Glow: glow(gpu, scratch, glowComputed, s.gain); break;
        case StepKind::Exchange: exchangeWithWorkingArea(gpu, s.slot); break;
        case StepKind::Window: bindWindow(gpu); break;
        case StepKind::Quad: quad(gpu, s.quad); break;
        }
    }
    glUseProgram(0);
}

}  // namespace vortel
