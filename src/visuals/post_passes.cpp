#include "visuals/post_passes.h"

#include "core/demo_state.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/gpu_programs.h"
#include "gfx/palette.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"
#include "visuals/actions.h"
#include "visuals/dispatch.h"
#include "visuals/frame_log.h"

namespace vortel {

namespace {

// Full-viewport quads are image operations: they ignore the depth the scene
// left behind. With the depth test on, geometry nearer than ~0.02 units would
// hold them back (holes of stale pixels), and every quad would write depth
// 0.5 over the whole area, hiding the foreground lane that follows a glow
// pass. Each reset that precedes quads is followed by this; the closing
// reset of every pass turns the test back on for the actions after it.
void resetForQuads() {
    resetRenderState();
    glDisable(GL_DEPTH_TEST);
}

// Seven blur iterations, each replacing the glow by g times the sum of four
// copies of itself shifted by 0.01 (1.28 texels) diagonally each way, read
// with GL_CLAMP (the border is black). One pass of the blur programs does
// what four blended quads would, tap by tap rounded the same way. The
// iterations go back and forth between the two glow textures, starting from
// the spare one, so the seventh lands in slot 6.
void blurIterations(float gain) {
    const float shift = 0.01f;
    const float params[4] = {shift, shift, static_cast<float>(gain * 255.0), 255.0f};
    glProgramEnvParameter4fvARB(GL_VERTEX_PROGRAM_ARB, 5, params);
    glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, 5, params);
    enableGpuPrograms(GpuProgramId::BlurVP, GpuProgramId::BlurFP);
    glDisable(GL_BLEND);
    static_assert(kBlurIterations % 2 == 1, "an odd number of iterations ends in slot 6");
    for (int it = 0; it < kBlurIterations; ++it) {
        const int from = it % 2 == 0 ? 0 : 1;
        bindGlowTarget(1 - from);
        bindGlowTexture(from, GL_CLAMP);
        drawViewportQuad();
    }
    disableGpuPrograms();
    glEnable(GL_BLEND);
    bindTextureSlot(kSlotGlow, GL_REPEAT);
}

// GlowPass and BlurFadePass: blur the frame with gain g, then lay the glow
// over it, added or (crossFade) blended with opacity w.
void glowOver(float gain, bool crossFade, float w) {
    resetForQuads();
    shrinkAndBlur(gain);
    resetForQuads();
    glEnable(GL_BLEND);
    if (crossFade) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(1, 1, 1, w);
    }
    drawTextureQuad(kSlotGlow, GL_REPEAT);
    resetRenderState();
}

}  // namespace

TintColour tintColour(int32_t seed, float w) {
    const PaletteColour& c = Palette[static_cast<size_t>(((seed % kPaletteSize) + kPaletteSize) % kPaletteSize)];
    auto channel = [w](float p) {
        return static_cast<float>(1.0 - w + static_cast<double>(w) * (static_cast<double>(0.85f) * p + 0.15f));
    };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

void shrinkAndBlur(float gain) {
    bindGlowTarget(0);
    glViewport(0, 0, kGlowSize, kGlowSize);
    bindWorkingTexture(GL_REPEAT);
    drawViewportQuad();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3f(gain, gain, gain);
    blurIterations(gain);
    bindWorkingArea();
}

void TintPass(int32_t seed, const ClipAction& action, float time, float, float) {
    if (!visualsUseGl()) return;
    resetRenderState();
    const float w = actionWeight(action, time);
    // The picture goes to slot 2 and comes back multiplied by the tint, so
    // the working area is drawn over entirely: the slot takes the picture's
    // texture instead of a copy.
    exchangeWithWorkingArea(kSlotCapture);
    bindTextureSlot(kSlotCapture, GL_REPEAT);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const TintColour c = tintColour(seed, w);
    glColor4f(c.r, c.g, c.b, 1);
    // The depth test stays off after this pass: the foreground lane that
    // follows draws over the picture until the next reset.
    glDisable(GL_DEPTH_TEST);
    // Texel for pixel: at the texel centres linear filtering is the texel
    // itself, so the draw samples the nearest one, which costs half as much.
    // The slot is left filtering linearly, as every bind leaves a slot.
    bindTextureSlot(kSlotCapture, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    drawViewportQuad();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void GlowPass(int32_t, const ClipAction& action, float time, float, float) {
    if (!visualsUseGl()) return;
    const float w = actionWeight(action, time);
    glowOver(0.25f * w, false, w);
}

void BlurFadePass(int32_t seed, const ClipAction& action, float time, float, float) {
    if (!visualsUseGl()) return;
    const float w = actionWeight(action, time);
    const bool odd = (seed & 1) != 0;
    glowOver(odd ? 0.25f : 0.25f * w, odd, w);
}

}  // namespace vortel
