#include "visuals/frame/frame.h"

#include <cstdio>

#include "gfx/gl_state.h"
#include "gfx/textures.h"
#include "visuals/passes/post_passes.h"
#include "visuals/plan/step_executor.h"
#include "visuals/timeline/timeline_player.h"

namespace vortel {

namespace {

void reportGlErrors(Show& show, const char* last, float time) {
    for (int guard = 0; guard < 16; ++guard) {
        const uint32_t e = nextGlError();
        if (e == 0) return;
        if (!show.glErrorsSeen.insert(e).second) continue;
        std::fprintf(stderr, "vortel: %s (0x%04X) at %.3f s, after %s\n", errorName(e), e, static_cast<double>(time),
                     *last ? last : "the frame composition");
    }
}

}  // namespace

QuadStep windowQuad(int width, int height) {
    QuadStep q;
    q.slot = kSlotPreviousFrame;
    q.viewportWidth = width;
    q.viewportHeight = height;
    return q;
}

void renderFrame(Show& show, float time, float frameDelta, FramePresent present, FrameLog* log) {
    renderFrameWith(show, show.frame, show.rng, show.gpu, time, frameDelta, present, log);
}

void renderFrameWith(Show& show, FrameContext& ctx, Generator& rng, GpuResources& gpu, float time, float frameDelta,
                     FramePresent present, FrameLog* log) {
    ctx.seed = show.layout.seed;
    ctx.rng = &rng;
    ctx.gpu = &gpu;
    ctx.scratch = &show.scratch;
    ctx.log = log;

    FrameSteps& steps = show.scratch.frameSteps;
    // The working area starts as the window would: cleared to transparent
    // black, depth at its far end.
    steps.clear();
    addStep(steps, StepKind::ClearWorkingArea);
    addReset(steps, false);
    executeSteps(steps, gpu, show.scratch, ctx.glowComputed);
    playTimeline(ctx, show.timeline, time, frameDelta);

    // The per-frame glow.
    steps.clear();
    planGlowOver(kFrameGlowGain, false, 1, steps);
    // Keep the finished square for the next frame (the next frame draws into
    // the texture slot 0 held so far) and stretch it over the window.
    addReset(steps, true);
    addExchange(steps, kSlotPreviousFrame);
    addStep(steps, StepKind::Window);
    if (present == FramePresent::Window) addQuad(steps, windowQuad(show.windowWidth, show.windowHeight));
    addStep(steps, StepKind::DepthTestOn);
    executeSteps(steps, gpu, show.scratch, ctx.glowComputed);

    ctx.log = nullptr;
    if (show.reportGlErrors) reportGlErrors(show, ctx.lastAction, time);
}

FrameLog dryRunFrame(const Show& show, float time, float frameDelta, FrameContext* after) {
    FrameLog log;
    FrameContext ctx = show.frame;
    Generator rng = show.rng;
    ctx.seed = show.layout.seed;
    ctx.rng = &rng;
    ctx.gpu = nullptr;
    ctx.scratch = nullptr;
    ctx.log = &log;
    playTimeline(ctx, show.timeline, time, frameDelta);
    if (after) {
        *after = ctx;
        after->rng = nullptr;
        after->log = nullptr;
    }
    return log;
}

}  // namespace vortel
