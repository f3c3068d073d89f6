// ShapeVortexScene: a large harmonic shape at the origin with 20..49 small
// ones on a helix round it. Their distance from the axis grows with height
// (linearly for even action seeds; quadratically, tumbling, for odd ones)
// and the helix turns at 0.5 rad/s.
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

namespace {

// A helix amplitude: 0.5 u (0 below 0.25) and 2 (u - 0.5) (0 below 0).
void amplitudes(Generator& g, float& p, float& q) {
    p = static_cast<float>(0.5 * static_cast<double>(unitDraw(g)));
    q = signedDraw(g);
    if (p < 0.25f) p = 0;
    if (q < 0) q = 0;
}

}  // namespace

DrawPlan planShapeVortexScene(FrameContext& ctx, int32_t seed, const ClipAction&, float t) {
    ScenePlanner d = beginScene(ctx, "ShapeVortexScene");
    loadCamera(d);
    ctx.srand(sceneSeed(ctx, seed));
    const int colourIdx = ctx.rand() % 12;
    setShaderDefaults(ctx.surface);
    float p1, q1, p2, q2;
    amplitudes(*ctx.rng, p1, q1);
    amplitudes(*ctx.rng, p2, q2);
    const int count = ctx.rand() % 30 + 20;

    beginReliefShapes(d, seed);

    // The centre shape.
    ctx.shape.phaseA = static_cast<float>(-2.0 * t);
    ctx.surface.specularColour.x = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw(*ctx.rng)) - 0.5));
    ctx.surface.specularColour.y = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw(*ctx.rng)) - 0.5));
    ctx.surface.surfaceParams.y = 0.05f;
    ctx.rand();
    ctx.shape.meshScale = {2, 2, 2};
    ctx.surface.texCoordScale[0] = ctx.surface.texCoordScale[1] = 0.4f;
    ctx.shape.segments = 64;
    ctx.shape.morph = static_cast<float>(ctx.rand() * static_cast<double>(0.000012207404f) + 0.05f);
    planShape(d, identityModel());

    beginSmallShapes(d, seed, count);

    const bool oddSeed = (seed & 1) != 0;
    for (int i = 0; i < count; ++i) {
        ctx.shape.phaseA = static_cast<float>(i + 4.0 * t);
        useMaterial(d, 1);
        useMaterial(d, oddSeed || (i & 1) != 0 ? 1 : PaletteSequence[static_cast<size_t>(colourIdx)]);
        const float rho = static_cast<float>(0.25 * static_cast<double>(unitDraw(*ctx.rng)) + i + t);
        const float y = static_cast<float>(40.0 * (i - 8) / count);
        float f = static_cast<float>(0.025f * std::abs(static_cast<double>(y)));
        ModelMatrix m = identityModel();
        if (oddSeed) {
            f = static_cast<float>(static_cast<double>(f) * f);
            m = rotateModel(m, static_cast<float>(30.0 * f * tableSin(rho)), 0, 0, 1);
            m = rotateModel(m, static_cast<float>(20.0 * f * rho), 0, 1, 0);
        }
        const float a2 = signedDraw(*ctx.rng);
        const float phi = static_cast<float>(0.05f * i + 0.5 * t);
        const float a3 = signedDraw(*ctx.rng);
        const double sphi = tableAt(static_cast<double>(phi) * kUnitsPerRadian);
        const double cphi = tableAt(static_cast<double>(phi) * kUnitsPerRadian + 16384.0);
        m = translateModel(m, f * (q1 * sphi + static_cast<double>(p1) * a3), y,
                           f * (q2 * cphi + static_cast<double>(p2) * a2));
        planShape(d, m);
    }
    return std::move(d.plan);
}

void ShapeVortexScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t, float, float) {
    runPlan(ctx, planShapeVortexScene(ctx, seed, action, t));
}

}  // namespace vortel
