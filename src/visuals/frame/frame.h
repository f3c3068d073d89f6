#pragma once
// One picture of the show: the timeline's actions drawn into the 512 x 512
// working area, a soft glow added, the square kept in slot 0 for the next
// frame and stretched over the window.

#include "visuals/timeline/frame_log.h"
#include "visuals/frame/show.h"
#include "visuals/plan/frame_steps.h"

namespace vortel {

// Where a finished frame goes besides slot 0: stretched over the window, or
// nowhere (a frame only the next frames build on, or one read from slot 0).
enum class FramePresent { Window, SlotOnly };

// Draws the frame of `show` at song time `time`, `frameDelta` seconds after
// the previous one, into the back buffer, all of it: the working area is a
// texture of its own (render_targets.h), cleared here, so the window's
// content before does not matter. Needs a current context and the show's
// graphics (show_graphics.h).
// With `log` the frame also records what it ran (frame_log.h).
void renderFrame(Show& show, float time, float frameDelta, FramePresent present = FramePresent::Window,
                 FrameLog* log = nullptr);

// The same with what the frame carries and draws on given apart from the
// show: `ctx`, `rng` and `gpu` may be copies of the show's, which the frame
// then changes instead (the warm-up draws on copies it throws away). The
// timeline, the scratch storage and the window size are the show's.
void renderFrameWith(Show& show, FrameContext& ctx, Generator& rng, GpuResources& gpu, float time, float frameDelta,
                     FramePresent present, FrameLog* log = nullptr);

// The quad that stretches the finished square (slot 0) over a window of
// width x height.
QuadStep windowQuad(int width, int height);

// Runs the Timeline of `show` at `time` without GL and returns what it did:
// the actions in order with their seeds and weights, and every draw of the
// scenes. Works on a copy of what the frames carry: the show is unchanged.
// When `after` is given it receives the frame's settings as the actions
// left them (the camera and light as the cameras set them).
FrameLog dryRunFrame(const Show& show, float time, float frameDelta, FrameContext* after = nullptr);

}  // namespace vortel
