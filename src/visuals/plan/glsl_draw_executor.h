#pragma once
// executePlan (draw_executor.h) for the GLSL renderer: the same plans with
// the same state carried from draw to draw and from plan to plan, the
// fixed-function GL's part (matrices, current colour and texture
// coordinate, texturing of unit 0, program parameters) kept in
// gpu.glslState, meshes and lines drawn from vertex buffers.
#include "gfx/gpu_resources.h"
#include "visuals/plan/draw_plan.h"
#include "visuals/plan/frame_scratch.h"

namespace vortel {

void executeGlslPlan(const DrawPlan& plan, GpuResources& gpu, FrameScratch& scratch);

}  // namespace vortel
