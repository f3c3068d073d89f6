// ShapeTunnelScene: one huge harmonic shape turned inside out round the
// camera, a writhing cave of about 32 x 128 x 32 units. Colour, preset,
// morph and resolution come from global seed + action seed, so they hold
// for the whole clip; only the latitude phase moves (1.5 rad/s).
#include "core/rng.h"
#include "gfx/palette.h"
#include "gfx/shader_params.h"
#include "gfx/textures.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/timeline/random_draws.h"
#include "visuals/scenes/scene_planner.h"
#include "visuals/scenes/scene_plans.h"
#include "visuals/geometry/shape_presets.h"

namespace vortel {

DrawPlan planShapeTunnelScene(FrameContext& ctx, int32_t seed, const ClipAction&, float t) {
    ScenePlanner d = beginScene(ctx, "ShapeTunnelScene");
    // The picture so far goes to slot 2; the cave then replaces the colours
    // but keeps the depth.
    captureWorkingArea(d, kSlotCapture);
    clearColour(d);

    ctx.srand(sceneSeed(ctx, seed));
    setShaderDefaults(ctx.surface);
    ctx.shape.phaseB = 0;
    useMaterial(d, PaletteSequence[static_cast<size_t>(ctx.rand() % 12)]);
    useLight(d);
    useDetailTexture(d);
    usePrograms(d, ProgramPair::Relief);
    useTexture(d, kSlotRelief);

    setShaderDefaults(ctx.surface);
    ctx.shape.meshScale = {-16, -64, -16};  // all mirrored: the front faces look inwards
    ctx.surface.texCoordScale[0] = ctx.surface.texCoordScale[1] = 0.5f;
    ctx.shape.phaseA = static_cast<float>(1.5 * t);
    ctx.surface.specularColour.x = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw(*ctx.rng)) - 0.5));
    ctx.surface.specularColour.y = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw(*ctx.rng)) - 0.5));
    ctx.surface.surfaceParams.x = 2.0f;   // relief outwards from the viewer's side
    ctx.surface.surfaceParams.y = 0.05f;
    ctx.surface.specularParams.w = 1.0f;  // normal sign: the mirrored mesh already faces in
    ctx.shape.preset = ctx.rand() % 10;
    ctx.shape.morph = static_cast<float>(ctx.rand() * static_cast<double>(0.000009155553f) - static_cast<double>(0.2f));
    ctx.shape.segments = 5 * (ctx.rand() % 3) + 6;
    planShape(d, identityModel());
    return std::move(d.plan);
}

void ShapeTunnelScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t, float, float) {
    runPlan(ctx, planShapeTunnelScene(ctx, seed, action, t));
}

}  // namespace vortel
