#pragma once
// One picture of the show: the timeline's actions drawn into the 512 x 512
// working area, a soft glow added, the square kept in slot 0 for the next
// frame and stretched over the window.

#include "visuals/plan/frame_steps.h"

namespace vortel {

// Where a finished frame goes besides slot 0: stretched over the window, or
// nowhere (a frame only the next frames build on, or one read from slot 0).
enum class FramePresent { Window, SlotOnly };

// Draws the frame for demo().songTime and frameDelta into the back buffer,
// all of it: the working area is a texture of its own (render_targets.h),
// cleared here, so the window's content before does not matter. Needs a
// current context, the textures, the render targets, the GPU programs and
// the Timeline.
void renderFrame(FramePresent present = FramePresent::Window);

// The quad that stretches the finished square (slot 0) over a window of
// width x height.
QuadStep windowQuad(int width, int height);

// With reporting on, renderFrame checks glGetError once per frame and
// prints the first error of each kind on stderr, naming the action that
// ran last.
void setGlErrorReporting(bool on);

// Renders the frame at song time `time` as the live show would, after
// `frameDelta` seconds since the previous one: sets demo().songTime and
// frameDelta, and draws (the window needs no clear: the finished square
// covers all of it).
void renderFrameAt(float time, float frameDelta, FramePresent present = FramePresent::Window);

}  // namespace vortel

#include "visuals/frame/frame_log.h"

namespace vortel {

// Runs the Timeline of demo() at `time` without GL and returns what it did:
// the actions in order with their seeds and weights, and every draw of the
// scenes. The camera and light fields of demo() are left as the frame's
// cameras set them.
FrameLog dryRunFrame(float time, float frameDelta);

}  // namespace vortel
