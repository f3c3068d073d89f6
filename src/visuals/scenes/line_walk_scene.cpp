// LineWalkScene: a random walk drawn as smooth line strokes over the
// picture, with fixed-function lines under whatever matrices are current.
// Each stroke turns the modelview further about (0, 0.3, 1); the turns stay
// in force after the scene, until the next render-state reset.
#include <cstddef>

#include "core/rng.h"
#include "gfx/palette.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/scenes/line_walk.h"
#include "visuals/timeline/random_draws.h"
#include "visuals/scenes/scene_plans.h"

namespace vortel {

LineWalk lineWalk(Generator& g, int32_t globalSeed, int32_t actionSeed, float w) {
    LineWalk walk;
    g.srand(static_cast<uint32_t>(globalSeed));
    g.rand();
    g.rand();
    walk.colour = PaletteSequence[static_cast<size_t>(g.rand() % 12)];
    g.srand(static_cast<uint32_t>(globalSeed) + static_cast<uint32_t>(actionSeed));
    const float scale = static_cast<float>(0.25 * unitDraw(g) + 0.5);
    walk.segments = g.rand() % 200 + 40;
    walk.strokes = g.rand() % 10 + 5;
    walk.angle = static_cast<float>(g.rand() * static_cast<double>(0.0028687399f) + 30);
    const float step = static_cast<float>(g.rand() * static_cast<double>(0.000006103702f) + 0.1f);

    walk.vertices.reserve(static_cast<size_t>(walk.strokes) * walk.segments * 2);
    float p[3] = {0, 0, 0};
    const double wd = w;
    for (int stroke = 0; stroke < walk.strokes; ++stroke) {
        for (int seg = 0; seg < walk.segments; ++seg) {
            const Vec3 q{p[0], p[1], p[2]};
            for (float& axis : p) {
                const float a = signedDraw(g);
                const float b = signedDraw(g);
                const float d = static_cast<float>(scale * ((1 - wd) * b + wd * a));
                axis = static_cast<float>(axis + static_cast<double>(step) * d);
            }
            walk.vertices.push_back(q);
            walk.vertices.push_back({p[0], p[1], p[2]});
        }
    }
    return walk;
}

ModelMatrix strokeRotation(float angle, int k) {
    const ModelMatrix turn = rotationMatrix(angle, 0, 0.3f, 1);
    ModelMatrix m = turn;
    for (int i = 0; i < k; ++i) m = multiplyModel(m, turn);
    return m;
}

DrawPlan planLineWalkScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t) {
    // The weight is taken after the re-seed with the global seed; it draws
    // nothing, so the walk can do both.
    const float w = actionWeight(action, t);
    LineWalk walk = lineWalk(*ctx.rng, ctx.seed, seed, w);

    Draw d;
    d.action = "LineWalkScene";
    d.mesh = MeshKind::Lines;
    const Vec4 c = materialColour(walk.colour);
    d.colour = {c.x, c.y, c.z, 0};
    // Fixed-function smooth lines under whatever state the scene finds.
    LineBatch& b = d.lines;
    b.width = 2.5f;
    // Each stroke turns the modelview once more about (0, 0.3, 1).
    const ModelMatrix turn = rotationMatrix(walk.angle, 0, 0.3f, 1);
    ModelMatrix m = identityModel();
    const int32_t perStroke = walk.segments * 2;
    for (int stroke = 0; stroke < walk.strokes; ++stroke) {
        m = multiplyModel(m, turn);
        b.strokes.push_back({m, stroke * perStroke, perStroke});
    }
    d.model = strokeRotation(walk.angle, walk.strokes - 1);
    b.vertices = std::move(walk.vertices);

    DrawPlan plan;
    plan.draws.push_back(std::move(d));
    return plan;
}

void LineWalkScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t, float, float) {
    runPlan(ctx, planLineWalkScene(ctx, seed, action, t));
}

}  // namespace vortel
