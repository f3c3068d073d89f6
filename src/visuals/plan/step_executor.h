#pragma once
// Where the image steps of the passes and of the frame's composition
// (frame_steps.h) reach GL, as planned draws do in draw_executor.h.
#include "gfx/gpu_resources.h"
#include "visuals/plan/frame_scratch.h"
#include "visuals/plan/frame_steps.h"

namespace vortel {

// Issues the GL calls of `steps`, in order, on the textures and render
// targets of `gpu`. Needs a current context. Texture unit 0 is active
// throughout. With glowComputed false a Glow step skips the read-back and
// the blur and slot 6 keeps what it held: frames drawn only to warm the
// rasteriser up (warm_up.h) touch no pixel.
void executeSteps(const FrameSteps& steps, GpuResources& gpu, FrameScratch& scratch, bool glowComputed = true);

// The known working state (resetRenderState, gl_helpers.h) for the
// renderer of `gpu`.
void resetRenderStateOf(GpuResources& gpu);

}  // namespace vortel
