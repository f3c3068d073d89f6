#pragma once
// What the scenes share: the programs and material they have bound, the
// draws of their meshes under a model matrix they computed themselves, and
// the records of those draws for the frame log. With visualsUseGl() off the
// GL calls are skipped and everything else (records included) happens.
#include <cstdint>

#include "core/vec.h"
#include "gfx/gpu_programs.h"
#include "visuals/frame_log.h"
#include "visuals/model_matrix.h"

namespace vortel {

enum class ProgramPair { Relief, Lit, LitTextured, DepthNormal };
const char* programPairName(ProgramPair pair);  // "Relief", "Lit", ...

// One scene call's drawing context.
struct SceneDraw {
    const char* action = "";  // the scene's name, for the records
    bool gl = true;           // visualsUseGl() when the scene began
    const char* program = ""; // the pair bound now
    Vec4 colour{};            // fragment parameter 0 as loaded last
};

SceneDraw beginScene(const char* action);

// Loads Palette colour `colour` (materialColour) as fragment parameter 0.
void useMaterial(SceneDraw& d, int colour);

// Enables both program targets and binds the pair; endPrograms disables.
void usePrograms(SceneDraw& d, ProgramPair pair);
void endPrograms(SceneDraw& d);

// Vertex parameter 0 := lightPosition.
void uploadLight(const SceneDraw& d);

// The detail texture (slot 3) on unit 1, back to unit 0.
void bindDetailTexture(const SceneDraw& d);

// Fragment parameter 4 := the depth packing of the depth-and-normal pass.
void uploadDepthPacking(const SceneDraw& d);

// Copies the 512 x 512 working area into texture slot `slot`.
void captureWorkingArea(const SceneDraw& d, int slot);

// Draw records as a scene's draw fills them from demo() and the shape globals.
DrawRecord meshRecord(const SceneDraw& d, const char* mesh, const ModelMatrix& model);

// Logs and draws the harmonic shape / the box under `model` (the scene's
// own transform, applied on top of the current modelview matrix).
void drawShape(const SceneDraw& d, const ModelMatrix& model);
void drawBox(const SceneDraw& d, bool insideOut, const ModelMatrix& model);

// The action seed's share of a re-seed: global seed + action seed, as the
// unsigned sum the generator takes.
uint32_t sceneSeed(int32_t actionSeed);

// The opening of the two-pass box scenes (room and cube field): shader
// defaults, no longitude phase, the light, the detail texture, the depth
// packing of the first pass, back faces culled.
void beginBoxPasses(SceneDraw& d);

// The opening the two shape scenes share: no longitude phase, dark red
// material, the light, the detail texture, the relief programs with the
// relief map on unit 0, then a preset drawn and the generator re-seeded
// with the scene's seed.
void beginReliefShapes(SceneDraw& d, int32_t actionSeed);

// The small shapes of both scenes: stone material, a preset drawn, 8
// segments, the height spread over `count` shapes, then the generator
// re-seeded with the scene's seed.
void beginSmallShapes(SceneDraw& d, int32_t actionSeed, int count);

// One draw of the shared generator as a fraction: rand() x (1 / 32767).
float unitDraw();

}  // namespace vortel

namespace vortel {

// 2 (u - 0.5) for one fresh draw u, stored as a float: uniform in [-1, 1].
float signedDraw();

}  // namespace vortel
