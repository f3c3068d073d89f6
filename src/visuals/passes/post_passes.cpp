#include "visuals/passes/post_passes.h"

#include <vector>

#include "core/demo_state.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/gpu_programs.h"
#include "gfx/palette.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/frame/frame_log.h"
#include "visuals/passes/glow_image.h"

namespace vortel {

namespace {

bool gGlowComputed = true;

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

void setGlowComputed(bool on) { gGlowComputed = on; }

void shrinkAndBlur(float gain) {
    static std::vector<uint8_t> area(static_cast<size_t>(kWorkingAreaSize) * kWorkingAreaSize * 4);
    static std::vector<uint8_t> glow(static_cast<size_t>(kGlowSize) * kGlowSize * 4);
    bindTextureSlot(kSlotGlow, GL_REPEAT);
    if (gGlowComputed) {
        glReadPixels(0, 0, kWorkingAreaSize, kWorkingAreaSize, GL_BGRA, GL_UNSIGNED_BYTE, area.data());
        shrinkForGlow(area.data(), glow.data());
        blurGlow(glow, gain, kBlurIterations);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kGlowSize, kGlowSize, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                        glow.data());
    }
    glViewport(0, 0, kGlowSize, kGlowSize);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3f(gain, gain, gain);
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
