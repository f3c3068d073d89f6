// ShapeTunnelScene: one huge harmonic shape turned inside out round the
// camera, a writhing cave of about 32 x 128 x 32 units. Colour, preset,
// morph and resolution come from global seed + action seed, so they hold
// for the whole clip; only the latitude phase moves (1.5 rad/s).
#include "core/demo_state.h"
#include "core/rng.h"
#include "gfx/palette.h"
#include "gfx/shader_params.h"
#include "gfx/textures.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/timeline/random_draws.h"
#include "visuals/scenes/scene_planner.h"
#include "visuals/scenes/scene_plans.h"
#include "visuals/scenes/shape_presets.h"

namespace vortel {

DrawPlan planShapeTunnelScene(int32_t seed, const ClipAction&, float t) {
    ScenePlanner d = beginScene("ShapeTunnelScene");
    DemoState& s = demo();
    // The picture so far goes to slot 2; the cave then replaces the colours
    // but keeps the depth.
    captureWorkingArea(d, kSlotCapture);
    clearColour(d);

    srand(sceneSeed(seed));
    setShaderDefaults();
    s.shapePhaseB = 0;
    useMaterial(d, PaletteSequence[static_cast<size_t>(rand() % 12)]);
    useLight(d);
    useDetailTexture(d);
    usePrograms(d, ProgramPair::Relief);
    useTexture(d, kSlotRelief);

    setShaderDefaults();
    s.meshScale = {-16, -64, -16};  // all mirrored: the front faces look inwards
    s.texCoordScale[0] = s.texCoordScale[1] = 0.5f;
    s.shapePhaseA = static_cast<float>(1.5 * t);
    s.specularColour.x = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw()) - 0.5));
    s.specularColour.y = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw()) - 0.5));
    s.surfaceParams.x = 2.0f;   // relief outwards from the viewer's side
    s.surfaceParams.y = 0.05f;
    s.specularParams.w = 1.0f;  // normal sign: the mirrored mesh already faces in
    shapePreset = rand() % 10;
    shapeMorph = static_cast<float>(rand() * static_cast<double>(0.000009155553f) - static_cast<double>(0.2f));
    s.shapeSegments = 5 * (rand() % 3) + 6;
    planShape(d, identityModel());
    return std::move(d.plan);
}

void ShapeTunnelScene(int32_t seed, const ClipAction& action, float t, float, float) {
    runPlan(planShapeTunnelScene(seed, action, t));
}

}  // namespace vortel
