#include "visuals/frame/frame.h"

#include <cstdio>
#include <set>

#include "core/demo_state.h"
#include "gfx/gl_state.h"
#include "gfx/textures.h"
#include "visuals/plan/step_executor.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/frame/frame_log.h"
#include "visuals/passes/post_passes.h"

namespace vortel {

namespace {

bool gReportErrors = false;

void reportGlErrors() {
    static std::set<uint32_t> seen;
    for (int guard = 0; guard < 16; ++guard) {
        const uint32_t e = nextGlError();
        if (e == 0) return;
        if (!seen.insert(e).second) continue;
        const char* last = lastActionName();
        std::fprintf(stderr, "vortel: %s (0x%04X) at %.3f s, after %s\n", errorName(e), e,
                     static_cast<double>(demo().songTime), *last ? last : "the frame composition");
    }
}

}  // namespace

void setGlErrorReporting(bool on) { gReportErrors = on; }

QuadStep windowQuad(int width, int height) {
    QuadStep q;
    q.slot = kSlotPreviousFrame;
    q.viewportWidth = width;
    q.viewportHeight = height;
    return q;
}

void renderFrame(FramePresent present) {
    const DemoState& s = demo();
    static FrameSteps steps;  // reused from frame to frame
    // The working area starts as the window would: cleared to transparent
    // black, depth at its far end.
    steps.clear();
    addStep(steps, StepKind::ClearWorkingArea);
    addReset(steps, false);
    executeSteps(steps);
    playTimeline(s.songTime, s.frameDelta);

    // The per-frame glow.
    steps.clear();
    planGlowOver(kFrameGlowGain, false, 1, steps);
    // Keep the finished square for the next frame (the next frame draws into
    // the texture slot 0 held so far) and stretch it over the window.
    addReset(steps, true);
    addExchange(steps, kSlotPreviousFrame);
    addStep(steps, StepKind::Window);
    if (present == FramePresent::Window) addQuad(steps, windowQuad(s.windowWidth, s.windowHeight));
    addStep(steps, StepKind::DepthTestOn);
    executeSteps(steps);

    if (gReportErrors) reportGlErrors();
}

void renderFrameAt(float time, float frameDelta, FramePresent present) {
    DemoState& s = demo();
    s.songTime = time;
    s.frameDelta = frameDelta;
    renderFrame(present);
}

}  // namespace vortel

namespace vortel {

FrameLog dryRunFrame(float time, float frameDelta) {
    FrameLog log;
    const bool usedGl = visualsUseGl();
    FrameLog* previous = frameLog();
    setVisualsUseGl(false);
    setFrameLog(&log);
    playTimeline(time, frameDelta);
    setFrameLog(previous);
    setVisualsUseGl(usedGl);
    return log;
}

}  // namespace vortel
