#pragma once
// The one place where planned draws (draw_plan.h) reach GL.
//
// A plan runs on whatever state the actions before it left, except that
// both program targets are off and texture unit 0 is active between plans
// (every plan and every post pass leaves them so). The executor loads the
// plan's camera, then for each draw: captures and clears the working area
// if the draw asks, switches the state the draw needs where it is not
// already so within this plan, uploads the material and draws the mesh.
// After the last draw it turns the programs off. Fields left at Keep /
// kKeepSlot are not touched, so what a draw does not need stays as it was.
#include "gfx/gpu_resources.h"
#include "visuals/plan/draw_plan.h"
#include "visuals/plan/frame_scratch.h"

namespace vortel {

// Issues the GL calls of `plan` with the textures and programs of `gpu`,
// building meshes in `scratch`. Needs a current context. An empty plan (no
// camera, no draws) issues nothing.
void executePlan(const DrawPlan& plan, GpuResources& gpu, FrameScratch& scratch);

}  // namespace vortel
