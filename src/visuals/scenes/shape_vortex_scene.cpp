// ShapeVortexScene: a large harmonic shape at the origin with 20..49 small
// ones on a helix round it. Their distance from the axis grows with height
// (linearly for even action seeds; quadratically, tumbling, for odd ones)
// and the helix turns at 0.5 rad/s.
#include <cmath>

#include "core/demo_state.h"
#include "core/rng.h"
#include "core/sine_table.h"
#include "gfx/palette.h"
#include "gfx/shader_params.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/timeline/random_draws.h"
#include "visuals/scenes/scene_planner.h"
#include "visuals/scenes/scene_plans.h"
#include "visuals/scenes/shape_presets.h"

namespace vortel {

namespace {

// A helix amplitude: 0.5 u (0 below 0.25) and 2 (u - 0.5) (0 below 0).
void amplitudes(float& p, float& q) {
    p = static_cast<float>(0.5 * static_cast<double>(unitDraw()));
    q = signedDraw();
    if (p < 0.25f) p = 0;
    if (q < 0) q = 0;
}

}  // namespace

DrawPlan planShapeVortexScene(int32_t seed, const ClipAction&, float t) {
    ScenePlanner d = beginScene("ShapeVortexScene");
    DemoState& s = demo();
    loadCamera(d);
    srand(sceneSeed(seed));
    const int colourIdx = rand() % 12;
    setShaderDefaults();
    float p1, q1, p2, q2;
    amplitudes(p1, q1);
    amplitudes(p2, q2);
    const int count = rand() % 30 + 20;

    beginReliefShapes(d, seed);

    // The centre shape.
    s.shapePhaseA = static_cast<float>(-2.0 * t);
    s.specularColour.x = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw()) - 0.5));
    s.specularColour.y = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw()) - 0.5));
    s.surfaceParams.y = 0.05f;
    rand();
    s.meshScale = {2, 2, 2};
    s.texCoordScale[0] = s.texCoordScale[1] = 0.4f;
    s.shapeSegments = 64;
    shapeMorph = static_cast<float>(rand() * static_cast<double>(0.000012207404f) + 0.05f);
    planShape(d, identityModel());

    beginSmallShapes(d, seed, count);

    const bool oddSeed = (seed & 1) != 0;
    for (int i = 0; i < count; ++i) {
        s.shapePhaseA = static_cast<float>(i + 4.0 * t);
        useMaterial(d, 1);
        useMaterial(d, oddSeed || (i & 1) != 0 ? 1 : PaletteSequence[static_cast<size_t>(colourIdx)]);
        const float rho = static_cast<float>(0.25 * static_cast<double>(unitDraw()) + i + t);
        const float y = static_cast<float>(40.0 * (i - 8) / count);
        float f = static_cast<float>(0.025f * std::abs(static_cast<double>(y)));
        ModelMatrix m = identityModel();
        if (oddSeed) {
            f = static_cast<float>(static_cast<double>(f) * f);
            m = rotateModel(m, static_cast<float>(30.0 * f * tableSin(rho)), 0, 0, 1);
            m = rotateModel(m, static_cast<float>(20.0 * f * rho), 0, 1, 0);
        }
        const float a2 = signedDraw();
        const float phi = static_cast<float>(0.05f * i + 0.5 * t);
        const float a3 = signedDraw();
        const double sphi = tableAt(static_cast<double>(phi) * kUnitsPerRadian);
        const double cphi = tableAt(static_cast<double>(phi) * kUnitsPerRadian + 16384.0);
        m = translateModel(m, f * (q1 * sphi + static_cast<double>(p1) * a3), y,
                           f * (q2 * cphi + static_cast<double>(p2) * a2));
        planShape(d, m);
    }
    return std::move(d.plan);
}

void ShapeVortexScene(int32_t seed, const ClipAction& action, float t, float, float) {
    runPlan(planShapeVortexScene(seed, action, t));
}

}  // namespace vortel
