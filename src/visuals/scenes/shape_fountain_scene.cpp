// ShapeFountainScene: a thin column of 20..49 small spinning harmonic
// shapes that rise from y = -15 to +15 and wrap round to the bottom. Each
// shape's motion is re-seeded from its index alone, so it is the same in
// every show; count, colours and preset come from the seeds.
#include <cmath>

#include "core/rng.h"
#include "core/sine_table.h"
#include "gfx/palette.h"
#include "gfx/shader_params.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/timeline/random_draws.h"
#include "visuals/scenes/scene_planner.h"
#include "visuals/scenes/scene_plans.h"
#include "visuals/geometry/shape_presets.h"

namespace vortel {

DrawPlan planShapeFountainScene(FrameContext& ctx, int32_t seed, const ClipAction&, float t) {
    ScenePlanner d = beginScene(ctx, "ShapeFountainScene");
    loadCamera(d);
    ctx.srand(sceneSeed(ctx, seed));
    const int colourIdx = ctx.rand() % 12;
    setShaderDefaults(ctx.surface);
    for (int k = 0; k < 4; ++k) ctx.rand();
    const int count = ctx.rand() % 30 + 20;

    beginReliefShapes(d, seed);

    // The settings of a centre shape this scene never draws.
    ctx.shape.phaseA = static_cast<float>(-2.0 * t);
    ctx.surface.specularColour.x = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw(*ctx.rng)) - 0.5));
    ctx.surface.specularColour.y = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw(*ctx.rng)) - 0.5));
    ctx.surface.surfaceParams.y = 0.05f;
    ctx.rand();
    ctx.shape.meshScale = {2, 2, 2};
    ctx.shape.segments = 64;
    ctx.surface.texCoordScale[0] = ctx.surface.texCoordScale[1] = 0.4f;
    ctx.shape.morph = 0.2f;

    beginSmallShapes(d, seed, count);

    const bool oddSeed = (seed & 1) != 0;
    const int ownColour = PaletteSequence[static_cast<size_t>(colourIdx)];
    for (int i = 0; i < count; ++i) {
        ctx.srand(static_cast<uint32_t>(123 + 1234 * i));
        ctx.shape.phaseB = static_cast<float>(4.4f * static_cast<double>(unitDraw(*ctx.rng)));
        ctx.shape.phaseA = static_cast<float>(-(4 + 2 * static_cast<double>(unitDraw(*ctx.rng))) * t);
        useMaterial(d, oddSeed || (i & 1) == 0 ? ownColour : 1);
        ctx.surface.surfaceParams.x = static_cast<float>(0.2f + 0.5 * static_cast<double>(unitDraw(*ctx.rng)));
        ctx.surface.specularColour.y = static_cast<float>(0.5 + static_cast<double>(unitDraw(*ctx.rng)));
        ctx.surface.specularColour.z = static_cast<float>(0.5 + static_cast<double>(unitDraw(*ctx.rng)));

        const float p = unitDraw(*ctx.rng);
        const float q = unitDraw(*ctx.rng);
        ModelMatrix m = rotateModel(identityModel(),
                                    static_cast<float>((20.2f * static_cast<double>(q) + 40.4f) * t + 44.0 * p), 0, 1,
                                    1);
        const float a = signedDraw(*ctx.rng);
        const float b = signedDraw(*ctx.rng);
        const float k = unitDraw(*ctx.rng);
        const double rise = unitDraw(*ctx.rng);
        const float X = static_cast<float>(4.3f * rise + (0.075f + 0.01f * static_cast<double>(k)) * t);
        const float y = static_cast<float>(30.0 * (X - std::trunc(static_cast<double>(X))) + b - 15);
        const float x = signedDraw(*ctx.rng);
        m = translateModel(m, x, y, a);
        m = scaleModel(m, 0.75f, static_cast<float>(static_cast<double>(unitDraw(*ctx.rng)) + 0.25), 0.75f);
        const double phase = unitDraw(*ctx.rng);
        const double wobble = tableAt(phase * static_cast<double>(127250.61f) + static_cast<double>(t) * 13559.491f);
        ctx.shape.morph = signedPower(2, static_cast<float>(0.5 * (0.5 + 0.25 * wobble)), true);
        planShape(d, m);
    }
    return std::move(d.plan);
}

void ShapeFountainScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t, float, float) {
    runPlan(ctx, planShapeFountainScene(ctx, seed, action, t));
}

}  // namespace vortel
