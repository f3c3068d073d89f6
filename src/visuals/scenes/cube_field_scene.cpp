// CubeFieldScene: boxes standing on the floor level y = -7.5, in one of
// four layouts picked by the action seed mod 20000 (tumbling cubes,
// sliding slabs, leaning pillars, bobbing columns). Drawn twice, like the
// room: a depth-and-normal pass captured into slot 7, then the lit pass.
// Both passes re-seed before placing, so they place the same boxes.
#include "core/rng.h"
#include "core/sine_table.h"
#include "gfx/palette.h"
#include "gfx/textures.h"
#include "visuals/timeline/actions.h"
#include "visuals/scenes/cube_field.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/timeline/random_draws.h"
#include "visuals/scenes/scene_planner.h"
#include "visuals/scenes/scene_plans.h"
#include "visuals/geometry/shape_presets.h"

namespace vortel {

namespace {

constexpr double kFloor = 7.5;

double centred(float u) { return 2 * (static_cast<double>(u) - 0.5); }

// The three tumbling rotations: 150..230 degrees about x, then about z and y.
ModelMatrix tumble(Generator& g, ModelMatrix m) {
    m = rotateModel(m, static_cast<float>(150 + g.rand() * static_cast<double>(0.0024414808f)), 1, 0, 0);
    m = rotateModel(m, static_cast<float>(360 * (static_cast<double>(unitDraw(g)) - 0.5)), 0, 0, 1);
    m = rotateModel(m, static_cast<float>(360 * (static_cast<double>(unitDraw(g)) - 0.5)), 0, 1, 0);
    return m;
}

// sin(u + speed t) for one fresh draw u.
double drift(Generator& g, float speed, float t) {
    const double u = unitDraw(g);
    return tableAt((u + static_cast<double>(speed) * t) * kUnitsPerRadian);
}

}  // namespace

CubeFieldLayout cubeFieldLayout(int32_t actionSeed) {
    const int32_t l = actionSeed % 20000;
    if (l < 5000) return CubeFieldLayout::Tumbling;
    if (l < 10000) return CubeFieldLayout::Slabs;
    if (l < 15000) return CubeFieldLayout::Pillars;
    return CubeFieldLayout::Columns;
}

int cubeFieldCount(Generator& g, CubeFieldLayout layout) {
    const int r = g.rand();
    if (layout == CubeFieldLayout::Tumbling) return static_cast<int>(r * static_cast<double>(0.0009765923f) + 32);
    return static_cast<int>(r * static_cast<double>(0.003906369f) + 64);
}

CubePlacement placeCube(Generator& g, CubeFieldLayout layout, int i, float speed, float t) {
    CubePlacement p;
    ModelMatrix m = identityModel();
    const float s = static_cast<float>((static_cast<double>(unitDraw(g)) - 0.5) * 0.4f + 0.3f);
    switch (layout) {
    case CubeFieldLayout::Tumbling: {
        const float zc = static_cast<float>(8 * (static_cast<double>(unitDraw(g)) - 0.5));
        const float xc = static_cast<float>(8 * (static_cast<double>(unitDraw(g)) - 0.5));
        m = translateModel(m, xc, -kFloor, zc);
        p.meshScale = {1, 1, 1};  // every cube the same size
        m = tumble(g, m);
        break;
    }
    case CubeFieldLayout::Slabs: {
        const float a = static_cast<float>(centred(unitDraw(g)));
        const float b = static_cast<float>(centred(unitDraw(g)));
        const float c = static_cast<float>(centred(unitDraw(g)));
        const float w = static_cast<float>((drift(g, speed, t) + 1) / 2);
        m = translateModel(m, 3.5 * w * c, 1.75 * b - kFloor, 3.5 * a);
        p.meshScale = {static_cast<float>(3.0 * s), static_cast<float>(0.3f * static_cast<double>(s)),
                       static_cast<float>(3.0 * s)};
        break;
    }
    case CubeFieldLayout::Pillars: {
        const float a = static_cast<float>(centred(unitDraw(g)));
        const float b = static_cast<float>(centred(unitDraw(g)));
        const float c = static_cast<float>(centred(unitDraw(g)));
        drift(g, speed, t);  // drawn, then weighted by nothing
        m = translateModel(m, 3.5 * c, 0.175f * static_cast<double>(b) - kFloor, 3.5 * a);
        p.meshScale = {static_cast<float>(0.1f * static_cast<double>(s)), static_cast<float>(16.0 * s),
                       static_cast<float>(0.1f * static_cast<double>(s))};
        m = tumble(g, m);
        break;
    }
    case CubeFieldLayout::Columns: {
        const float s2 = static_cast<float>(2.0 * s);
        const float a = static_cast<float>(centred(unitDraw(g)));
        const float b = static_cast<float>(centred(unitDraw(g)));
        const float h = tableAt(static_cast<double>(i) * static_cast<double>(5663.6953f) + static_cast<double>(t) * kUnitsPerRadian);
        const float c = static_cast<float>(centred(unitDraw(g)));
        const float w = static_cast<float>(0.5 + 0.05f * drift(g, speed, t));
        m = translateModel(m, 3.5 * w * c, 0.175f * static_cast<double>(b) - kFloor + h + 1, 3.5 * a);
        p.meshScale = {static_cast<float>(0.5 * s2), static_cast<float>(2.0 * s2), static_cast<float>(0.5 * s2)};
        break;
    }
    }
    p.model = m;
    return p;
}

DrawPlan planCubeFieldScene(FrameContext& ctx, int32_t seed, const ClipAction&, float t) {
    ScenePlanner d = beginScene(ctx, "CubeFieldScene");
    // The lane runs after a post pass, under identity matrices: the field
    // needs the camera of the frame to stand on the floor.
    loadCamera(d);
    ctx.srand(static_cast<uint32_t>(ctx.seed));
    const int colourIdx = ctx.rand() % 12;
    const float speed = static_cast<float>(ctx.rand() * static_cast<double>(0.000006103702f) + 0.05f);

    beginBoxPasses(d);
    const CubeFieldLayout layout = cubeFieldLayout(seed);

    for (int pass = 0; pass < 2; ++pass) {
        ctx.shape.meshScale = {0.5f, 0.5f, 0.5f};
        ctx.surface.texCoordScale[0] = ctx.surface.texCoordScale[1] = 0.125f;
        ctx.surface.specularColour.x = static_cast<float>(ctx.rand() * static_cast<double>(0.000010681478f));
        ctx.surface.specularColour.y = static_cast<float>(ctx.rand() * static_cast<double>(0.000010681478f));
        ctx.surface.specularColour.z = static_cast<float>(ctx.rand() * static_cast<double>(0.000012207404f));
        ctx.surface.surfaceParams = {-2.0f, static_cast<float>(ctx.rand() * static_cast<double>(0.000015259255f) + 0.125f), 0.01f,
                           -0.005f};
        useTexture(d, kSlotRelief);
        useMaterial(d, PaletteSequence[static_cast<size_t>(colourIdx)]);
        usePrograms(d, pass == 0 ? ProgramPair::DepthNormal : ProgramPair::Lit);

        ctx.srand(sceneSeed(ctx, seed));
        ctx.rand();
        ctx.rand();
        const int count = cubeFieldCount(*ctx.rng, layout);
        if (pass == 0) d.plan.draws.reserve(2 * static_cast<size_t>(count));  // the same boxes in both passes
        for (int i = 0; i < count; ++i) {
            const CubePlacement p = placeCube(*ctx.rng, layout, i, speed, t);
            ctx.shape.meshScale = p.meshScale;
            planBox(d, false, p.model);
        }

        // Shape settings left for whoever draws a shape next.
        ctx.shape.meshScale = {0.5f, 0.5f, 0.5f};
        ctx.shape.phaseA = t;
        ctx.shape.segments = 4;
        ctx.shape.morph = static_cast<float>(ctx.rand() * static_cast<double>(0.000015259255f) + 0.25f);

        if (pass == 0) captureWorkingArea(d, kSlotDepthNormal);
    }
    return std::move(d.plan);
}

void CubeFieldScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t, float, float) {
    runPlan(ctx, planCubeFieldScene(ctx, seed, action, t));
}

}  // namespace vortel
