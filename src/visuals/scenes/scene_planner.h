#pragma once
// What the scenes share while they plan their draws (draw_plan.h): the
// state the next draw will need (program pair, textures, material, light),
// the records of the draws as the frame's shape and material settings
// stand when a scene draws, and the openings common to several scenes.
// Nothing here touches GL; the plan is drawn by draw_executor.h.
#include <cstdint>

#include "core/vec.h"
#include "visuals/plan/draw_plan.h"
#include "visuals/geometry/model_matrix.h"
#include "visuals/timeline/frame_context.h"

namespace vortel {

// One scene call's plan as it is being built.
struct ScenePlanner {
    FrameContext* ctx = nullptr;  // the frame's settings the draws are recorded with
    const char* action = "";      // the scene's name, for the records
    DrawPlan plan;
    DrawState next;           // what the next draw needs
    ProgramPair program = ProgramPair::None;  // the pair chosen last
    Vec4 colour{};            // fragment parameter 0 as chosen last
};

// A planner for a scene of solid meshes: every draw is opaque (blending
// off) with back faces culled.
ScenePlanner beginScene(FrameContext& ctx, const char* action);

// The frame's camera is loaded before the scene's draws.
void loadCamera(ScenePlanner& p);

// Palette colour `colour` (materialColour) as fragment parameter 0.
void useMaterial(ScenePlanner& p, int colour);

// The program pair of the next draws.
void usePrograms(ScenePlanner& p, ProgramPair pair);

// Vertex parameter 0 := the frame's light as it is now.
void useLight(ScenePlanner& p);

// The detail texture (slot 3) on unit 1.
void useDetailTexture(ScenePlanner& p);

// Texture slot `slot` on unit 0; texturing (GL_TEXTURE_2D) on unit 0 off.
void useTexture(ScenePlanner& p, int slot);
void disableTexturing(ScenePlanner& p);

// Fragment parameter 4 := the depth packing of the depth-and-normal pass.
void useDepthPacking(ScenePlanner& p);

// Before the next draw the 512 x 512 working area is copied into texture
// slot `slot`; clearColour then clears the colour buffer, keeping depth.
void captureWorkingArea(ScenePlanner& p, int slot);
void clearColour(ScenePlanner& p);

// Plans the harmonic shape / the box under `model` (the scene's own
// transform, applied on top of the matrix current when the plan runs) with
// the frame's shape and material settings as they are now.
void planShape(ScenePlanner& p, const ModelMatrix& model);
void planBox(ScenePlanner& p, bool insideOut, const ModelMatrix& model);

// The action seed's share of a re-seed: the show's seed + action seed, as
// the unsigned sum the generator takes.
uint32_t sceneSeed(const FrameContext& ctx, int32_t actionSeed);

// The opening of the two-pass box scenes (room and cube field): shader
// defaults, no longitude phase, the light, the detail texture, the depth
// packing of the first pass.
void beginBoxPasses(ScenePlanner& p);

// The opening the two shape scenes share: no longitude phase, dark red
// material, the light, the detail texture, the relief programs with the
// relief map on unit 0, then a preset drawn and the generator re-seeded
// with the scene's seed.
void beginReliefShapes(ScenePlanner& p, int32_t actionSeed);

// The small shapes of both scenes: stone material, a preset drawn, 8
// segments, the height spread over `count` shapes, then the generator
// re-seeded with the scene's seed.
void beginSmallShapes(ScenePlanner& p, int32_t actionSeed, int count);

}  // namespace vortel
