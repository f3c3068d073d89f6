#include "visuals/passes/post_passes.h"

#include "gfx/palette.h"
#include "gfx/textures.h"
#include "visuals/plan/frame_scratch.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"

namespace vortel {

TintColour tintColour(int32_t seed, float w) {
    const PaletteColour& c = Palette[static_cast<size_t>(((seed % kPaletteSize) + kPaletteSize) % kPaletteSize)];
    auto channel = [w](float p) {
        return static_cast<float>(1.0 - w + static_cast<double>(w) * (static_cast<double>(0.85f) * p + 0.15f));
    };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

void planTint(int32_t seed, float w, FrameSteps& steps) {
    addReset(steps, true);
    // The working area is drawn over entirely, so the slot takes the
    // picture's texture instead of a copy.
    addExchange(steps, kSlotCapture);
    const TintColour c = tintColour(seed, w);
    QuadStep q;
    q.slot = kSlotCapture;
    q.clamp = true;
    q.nearest = true;  // texel for pixel
    q.setsColour = true;
    q.colour = {c.r, c.g, c.b, 1};
    addQuad(steps, q);
}

// Full-viewport quads ignore the depth the scene left behind. With the depth
// test on, geometry nearer than ~0.02 units would hold them back (holes of
// stale pixels), and every quad would write depth 0.5 over the whole area,
// hiding the foreground lane that follows a glow pass. Each reset that
// precedes quads turns it off; the closing reset of every pass turns it back
// on for the actions after it.
void planGlowOver(float gain, bool crossFade, float w, FrameSteps& steps) {
    addReset(steps, true);
    addGlow(steps, gain);
    addReset(steps, true);
    QuadStep q;
    q.slot = kSlotGlow;
    q.blend = QuadBlend::Add;
    if (crossFade) {
        q.blend = QuadBlend::Alpha;
        q.setsColour = true;
        q.colour = {1, 1, 1, w};
    }
    addQuad(steps, q);
}

namespace {

// A pass plans its steps into the frame's reused storage (or, for a frame
// without any, its own) and hands them over.
template <typename Plan>
void runPass(FrameContext& ctx, Plan plan) {
    FrameSteps own;
    FrameSteps& steps = ctx.scratch ? ctx.scratch->passSteps : own;
    steps.clear();
    plan(steps);
    runSteps(ctx, steps);
}

// GlowPass and BlurFadePass: the glow laid over the frame, then the state
// the actions after it expect.
void glowPass(FrameContext& ctx, float gain, bool crossFade, float w) {
    runPass(ctx, [&](FrameSteps& steps) {
        planGlowOver(gain, crossFade, w, steps);
        addReset(steps, false);
    });
}

}  // namespace

void TintPass(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float, float) {
    runPass(ctx, [&](FrameSteps& steps) { planTint(seed, actionWeight(action, time), steps); });
}

void GlowPass(FrameContext& ctx, int32_t, const ClipAction& action, float time, float, float) {
    const float w = actionWeight(action, time);
    glowPass(ctx, 0.25f * w, false, w);
}

void BlurFadePass(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float, float) {
    const float w = actionWeight(action, time);
    const bool odd = (seed & 1) != 0;
    glowPass(ctx, odd ? 0.25f : 0.25f * w, odd, w);
}

}  // namespace vortel
