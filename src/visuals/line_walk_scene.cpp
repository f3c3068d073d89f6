// LineWalkScene: a random walk drawn as smooth line strokes over the
// picture, with fixed-function lines under whatever matrices are current.
// Each stroke turns the modelview further about (0, 0.3, 1); the turns stay
// in force after the scene, until the next render-state reset.
#include "core/demo_state.h"
#include "core/rng.h"
#include "gfx/gl_api.h"
#include "gfx/palette.h"
#include "visuals/actions.h"
#include "visuals/dispatch.h"
#include "visuals/line_walk.h"
#include "visuals/scene_draw.h"

namespace vortel {

LineWalk lineWalk(int32_t globalSeed, int32_t actionSeed, float w) {
    LineWalk walk;
    srand(static_cast<uint32_t>(globalSeed));
    rand();
    rand();
    walk.colour = PaletteSequence[static_cast<size_t>(rand() % 12)];
    srand(static_cast<uint32_t>(globalSeed) + static_cast<uint32_t>(actionSeed));
    const float scale = static_cast<float>(0.25 * unitDraw() + 0.5);
    walk.segments = rand() % 200 + 40;
    walk.strokes = rand() % 10 + 5;
    walk.angle = static_cast<float>(rand() * static_cast<double>(0.0028687399f) + 30);
    const float step = static_cast<float>(rand() * static_cast<double>(0.000006103702f) + 0.1f);

    walk.vertices.reserve(static_cast<size_t>(walk.strokes) * walk.segments * 2);
    float p[3] = {0, 0, 0};
    const double wd = w;
    for (int stroke = 0; stroke < walk.strokes; ++stroke) {
        for (int seg = 0; seg < walk.segments; ++seg) {
            const Vec3 q{p[0], p[1], p[2]};
            for (float& axis : p) {
                const float a = signedDraw();
                const float b = signedDraw();
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

void LineWalkScene(int32_t seed, const ClipAction& action, float t, float, float) {
    const bool gl = visualsUseGl();
    // The weight is taken after the re-seed with the global seed; it draws
    // nothing, so the walk can do both.
    const float w = actionWeight(action, t);
    const LineWalk walk = lineWalk(demo().seed, seed, w);

    if (FrameLog* log = frameLog()) {
        DrawRecord r;
        r.action = "LineWalkScene";
        r.mesh = "lines";
        r.model = strokeRotation(walk.angle, walk.strokes - 1);
        const Vec4 c = materialColour(walk.colour);
        r.colour = {c.x, c.y, c.z, 0};
        r.vertices = static_cast<int32_t>(walk.vertices.size());
        if (!walk.vertices.empty()) {
            const Vec3& end = walk.vertices.back();
            r.end = {end.x, end.y, end.z};
        }
        log->draws.push_back(r);
    }
    if (!gl) return;

    glEnable(GL_LINE_SMOOTH);
    glLineWidth(2.5f);
    const PaletteColour& c = Palette[static_cast<size_t>(walk.colour)];
    glColor3f(c.r, c.g, c.b);
    // The turns accumulate on the current modelview: load the product
    // computed here on top of the matrix the scene found.
    GLfloat start[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, start);
    ModelMatrix base;
    for (int i = 0; i < 16; ++i) base[static_cast<size_t>(i)] = start[i];
    const ModelMatrix turn = rotationMatrix(walk.angle, 0, 0.3f, 1);
    ModelMatrix m = identityModel();
    const size_t perStroke = static_cast<size_t>(walk.segments) * 2;
    for (int stroke = 0; stroke < walk.strokes; ++stroke) {
        m = multiplyModel(m, turn);
        glLoadMatrixf(multiplyModel(base, m).data());
        glBegin(GL_LINES);
        for (size_t k = 0; k < perStroke; ++k) {
            const Vec3& v = walk.vertices[stroke * perStroke + k];
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
    glDisable(GL_LINE_SMOOTH);
}

}  // namespace vortel
