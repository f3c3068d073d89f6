#pragma once
// Where the image steps of the passes and of the frame's composition
// (frame_steps.h) reach GL, as planned draws do in draw_executor.h.
#include "visuals/plan/frame_steps.h"

namespace vortel {

// Issues the GL calls of `steps`, in order. Needs a current context, the
// textures and the render targets. Texture unit 0 is active throughout.
void executeSteps(const FrameSteps& steps);

// Whether a Glow step computes the glow (the default). Frames drawn only to
// warm the rasteriser up (warm_up.h) touch no pixel and skip the read-back
// and the blur; slot 6 keeps what it held.
void setGlowComputed(bool on);

}  // namespace vortel
