#pragma once
// executeSteps (step_executor.h) for the GLSL renderer: the same image
// steps, the quads drawn with the Fixed program (glsl_programs.h), the glow
// read back and uploaded as R, G, B, A bytes.
#include "gfx/gpu_resources.h"
#include "visuals/plan/frame_scratch.h"
#include "visuals/plan/frame_steps.h"

namespace vortel {

void executeGlslSteps(const FrameSteps& steps, GpuResources& gpu, FrameScratch& scratch, bool glowComputed);

}  // namespace vortel
