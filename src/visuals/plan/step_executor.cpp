#include "visuals/plan/step_executor.h"

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"
#include "visuals/plan/glow_upload.h"
#include "visuals/plan/glsl_step_executor.h"
#include "gfx/glsl_programs.h"

namespace vortel {

namespace {

// The glow's round trip (glow_upload.h) into slot 6, then the state its
// quads draw with.
void glow(GpuResources& gpu, FrameScratch& scratch, bool computed, float gain) {
    bindTextureSlot(gpu, kSlotGlow, GL_REPEAT);
    if (computed) readBlurAndUploadGlow(scratch, gain, GlowBytes::Bgra);
    glViewport(0, 0, kGlowSize, kGlowSize);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3f(gain, gain, gain);
}

void setFilter(GLint filter) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

void quad(const GpuResources& gpu, const QuadStep& q) {
    if (q.viewportWidth > 0 && q.viewportHeight > 0) glViewport(0, 0, q.viewportWidth, q.viewportHeight);
    if (q.blend != QuadBlend::Keep) glEnable(GL_BLEND);
    if (q.blend == QuadBlend::Alpha) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (q.setsColour) glColor4f(q.colour[0], q.colour[1], q.colour[2], q.colour[3]);
    bindTextureSlot(gpu, q.slot, q.clamp ? GL_CLAMP : GL_REPEAT);
    // At the texel centres linear filtering is the texel itself, so
    // sampling the nearest one draws the same for half the cost.
    if (q.nearest) setFilter(GL_NEAREST);
    drawViewportQuad();
    if (q.nearest) setFilter(GL_LINEAR);  // as every bind leaves a slot
}

}  // namespace

void resetRenderStateOf(GpuResources& gpu) {
    if (gpu.renderer == Renderer::Glsl) resetGlslRenderState(gpu);
    else resetRenderState();
}

void executeSteps(const FrameSteps& steps, GpuResources& gpu, FrameScratch& scratch, bool glowComputed) {
    if (gpu.renderer == Renderer::Glsl) return executeGlslSteps(steps, gpu, scratch, glowComputed);
    for (const FrameStep& s : steps) {
        switch (s.kind) {
        case StepKind::ClearWorkingArea:
            bindWorkingArea(gpu);
            glClearColor(0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            break;
        case StepKind::Reset:
            resetRenderState();
            if (s.forQuads) glDisable(GL_DEPTH_TEST);
            break;
        case StepKind::DepthTestOn: glEnable(GL_DEPTH_TEST); break;
        case StepKind::Glow: glow(gpu, scratch, glowComputed, s.gain); break;
        case StepKind::Exchange: exchangeWithWorkingArea(gpu, s.slot); break;
        case StepKind::Window: bindWindow(gpu); break;
        case StepKind::Quad: quad(gpu, s.quad); break;
        }
    }
}

}  // namespace vortel
