// Every scene's plan against a model of its own written here from the
// scene descriptions: the generator draws re-derived in order, the
// placement, size, colour and transform of every draw, for two global
// seeds and several action seeds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/rng.h"
#include "core/sine_table.h"
#include "gfx/palette.h"
#include "visuals/timeline/actions.h"
#include "visuals/scenes/scene_plans.h"
#include "visuals/geometry/shape_presets.h"

namespace vortel {
namespace {

// Double-precision transforms, post-multiplied like the GL calls.
struct Xf {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    Xf times(const double b[16]) const {
        Xf o;
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r) {
                o.m[c * 4 + r] = 0;
                for (int k = 0; k < 4; ++k) o.m[c * 4 + r] += m[k * 4 + r] * b[c * 4 + k];
            }
        return o;
    }
    Xf translate(double x, double y, double z) const {
        const double t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
        return times(t);
    }
    Xf scale(double x, double y, double z) const {
        const double t[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
        return times(t);
    }
    Xf rotate(double deg, double x, double y, double z) const {
        const double l = std::hypot(x, y, z);
        x /= l, y /= l, z /= l;
        const double a = deg * M_PI / 180, c = std::cos(a), s = std::sin(a);
        // Rodrigues: R v = c v + s (k x v) + (1 - c)(k . v) k, by columns.
        double t[16] = {0};
        const double k[3] = {x, y, z};
        for (int col = 0; col < 3; ++col) {
            double e[3] = {0, 0, 0};
            e[col] = 1;
            const double kxe[3] = {k[1] * e[2] - k[2] * e[1], k[2] * e[0] - k[0] * e[2], k[0] * e[1] - k[1] * e[0]};
            for (int r = 0; r < 3; ++r) t[col * 4 + r] = c * e[r] + s * kxe[r] + (1 - c) * k[col] * k[r];
        }
        t[15] = 1;
        return times(t);
    }
};

struct Expected {
    std::string mesh, program;
    Xf model;
    double scale[3];
    int colour = 0;  // palette colour number
    double spec[3] = {0, 0, 0};
    double surfX = 0, surfY = 0;
    int preset = -1, segments = 0;
    double morph = 0, phaseA = 0, phaseB = 0;
    bool shape = false, checkMaterial = true;
};

// The model's own generator draws, written out from the generator's formula.
double U(Generator& g) { return float(g.rand() * double(0.00003051851f)); }
double C2(Generator& g) { return float(2 * (U(g) - 0.5)); }
double S(double radians) { return sineTable()[uint32_t(int32_t(int64_t(radians * double(10430.378f)))) & 0xFFFF]; }

class SceneModelTest : public ::testing::Test {
protected:
    using PlanFn = DrawPlan (*)(FrameContext& ctx, int32_t seed, const ClipAction& action, float t);
    // A fresh frame of global seed `global` (no GL) with the scene planned
    // into it; ctx_ keeps the settings the scene left.
    void newFrame(int32_t global) {
        ctx_ = FrameContext{};
        ctx_.seed = global;
        ctx_.rng = &rng_;
    }
    const std::vector<Draw>& run(PlanFn fn, int32_t global, int32_t seed, float t) {
        newFrame(global);
        ClipAction a;
        a.duration = 100;
        a.seed = seed;
        plan_ = fn(ctx_, seed, a, t);
        return plan_.draws;
    }
    void compare(const std::vector<Draw>& got, const std::vector<Expected>& want, const char* action) {
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < got.size(); ++i) {
            SCOPED_TRACE("draw " + std::to_string(i));
            const Draw& g = got[i];
            const Expected& w = want[i];
            EXPECT_STREQ(g.action, action);
            EXPECT_EQ(meshName(g.mesh), w.mesh);
            EXPECT_EQ(programPairName(g.program), w.program);
            for (int k = 0; k < 16; ++k) ASSERT_NEAR(g.model[k], w.model.m[k], 2e-4) << k;
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(g.meshScale[k], w.scale[k], 1e-6);
            const Vec4 c = materialColour(w.colour);
            EXPECT_EQ(g.colour, (std::array<float, 4>{c.x, c.y, c.z, c.w}));
            if (w.checkMaterial) {
                for (int k = 0; k < 3; ++k) EXPECT_NEAR(g.specularColour[k], w.spec[k], 1e-6);
                EXPECT_NEAR(g.surfaceParams[0], w.surfX, 1e-6);
                EXPECT_NEAR(g.surfaceParams[1], w.surfY, 1e-6);
            }
            if (w.shape) {
                EXPECT_EQ(g.preset, w.preset);
                EXPECT_EQ(g.segments, w.segments);
                EXPECT_NEAR(g.morph, w.morph, 1e-6);
                EXPECT_NEAR(g.phaseA, w.phaseA, 1e-5);
                EXPECT_NEAR(g.phaseB, w.phaseB, 1e-6);
            }
        }
    }
    Generator rng_;
    FrameContext ctx_;
    DrawPlan plan_;
};

constexpr int32_t kGlobals[] = {1, 987654};

std::vector<Expected> cubeFieldModel(int32_t global, int32_t seed, float t) {
    Generator g;
    g.srand(global);
    const int colour = PaletteSequence[g.rand() % 12];
    const double speed = float(g.rand() * double(0.000006103702f) + 0.05f);
    const int layout = (seed % 20000) / 5000;
    std::vector<Expected> out;
    for (int pass = 0; pass < 2; ++pass) {
        double spec[3];
        spec[0] = float(g.rand() * double(0.000010681478f));
        spec[1] = float(g.rand() * double(0.000010681478f));
        spec[2] = float(g.rand() * double(0.000012207404f));
        const double surfY = float(g.rand() * double(0.000015259255f) + 0.125f);
        g.srand(uint32_t(global) + uint32_t(seed));
        g.rand(), g.rand();
        const int r = g.rand();
        const int count = layout == 0 ? int(r * double(0.0009765923f) + 32) : int(r * double(0.003906369f) + 64);
        for (int i = 0; i < count; ++i) {
            Expected e;
            e.mesh = "box";
            e.program = pass == 0 ? "DepthNormal" : "Lit";
            e.colour = colour;
            std::copy(spec, spec + 3, e.spec);
            e.surfX = -2;
            e.surfY = surfY;
            const double s = float((U(g) - 0.5) * 0.4f + 0.3f);
            auto tumble = [&g](Xf m) {
                m = m.rotate(float(150 + g.rand() * double(0.0024414808f)), 1, 0, 0);
                m = m.rotate(float(360 * (U(g) - 0.5)), 0, 0, 1);
                return m.rotate(float(360 * (U(g) - 0.5)), 0, 1, 0);
            };
            if (layout == 0) {
                const double z = float(8 * (U(g) - 0.5)), x = float(8 * (U(g) - 0.5));
                e.model = tumble(Xf{}.translate(x, -7.5, z));
                e.scale[0] = e.scale[1] = e.scale[2] = 1;
            } else if (layout == 1) {
                const double a = C2(g), b = C2(g), c = C2(g);
                const double w = float((S(U(g) + speed * t) + 1) / 2);
                e.model = Xf{}.translate(float(3.5 * w * c), float(1.75 * b - 7.5), float(3.5 * a));
                e.scale[0] = e.scale[2] = float(3 * s);
                e.scale[1] = float(0.3f * s);
            } else if (layout == 2) {
                const double a = C2(g), b = C2(g), c = C2(g);
                U(g);
                e.model = tumble(Xf{}.translate(float(3.5 * c), float(0.175f * b - 7.5), float(3.5 * a)));
                e.scale[0] = e.scale[2] = float(0.1f * s);
                e.scale[1] = float(16 * s);
            } else {
                const double s2 = float(2 * s);
                const double a = C2(g), b = C2(g);
                const double h = S(0.543 * i + t);
                const double c = C2(g);
                const double w = float(0.5 + 0.05f * S(U(g) + speed * t));
                e.model = Xf{}.translate(float(3.5 * w * c), float(0.175f * b - 7.5 + h + 1), float(3.5 * a));
                e.scale[0] = e.scale[2] = float(0.5 * s2);
                e.scale[1] = float(2 * s2);
            }
            out.push_back(e);
        }
        g.rand();  // the morph left behind
    }
    return out;
}

TEST_F(SceneModelTest, CubeFieldEveryLayout) {
    for (int32_t global : kGlobals)
        for (int32_t seed : {17, 4999, 5000, 9321, 12345, 19999, 25000}) {
            SCOPED_TRACE("global " + std::to_string(global) + " seed " + std::to_string(seed));
            const float t = 7.25f;
            compare(run(planCubeFieldScene, global, seed, t), cubeFieldModel(global, seed, t), "CubeFieldScene");
            EXPECT_EQ(ctx_.shape.segments, 4);
            EXPECT_EQ(ctx_.shape.phaseA, t);
        }
}

std::vector<Expected> fountainModel(int32_t global, int32_t seed, float t) {
    Generator g;
    g.srand(uint32_t(global) + uint32_t(seed));
    const int colourIdx = g.rand() % 12;
    for (int k = 0; k < 4; ++k) g.rand();
    const int count = g.rand() % 30 + 20;
    g.rand();  // the centre shape's preset, never drawn
    g.srand(uint32_t(global) + uint32_t(seed));
    const double specX = float(1.5 + 2 * (U(g) - 0.5));
    U(g);
    g.rand();
    const int preset = g.rand() % 10;
    std::vector<Expected> out;
    for (int i = 0; i < count; ++i) {
        g.srand(123 + 1234 * i);
        Expected e;
        e.mesh = "shape";
        e.program = "Relief";
        e.shape = true;
        e.preset = preset;
        e.segments = 8;
        e.phaseB = float(4.4f * U(g));
        e.phaseA = float(-(4 + 2 * U(g)) * t);
        e.colour = ((seed & 1) || i % 2 == 0) ? PaletteSequence[colourIdx] : 1;
        e.surfX = float(0.2f + 0.5 * U(g));
        e.spec[0] = specX;
        e.spec[1] = float(0.5 + U(g));
        e.spec[2] = float(0.5 + U(g));
        e.surfY = 0.05f;
        const double p = U(g), q = U(g);
        const double a = C2(g), b = C2(g), k = U(g);
        const double X = float(4.3f * U(g) + (0.075f + 0.01f * k) * t);
        const double y = float(30 * (X - std::floor(X)) + b - 15);
        const double x = C2(g);
        e.model = Xf{}
                      .rotate(float((20.2f * q + 40.4f) * t + 44 * p), 0, 1, 1)
                      .translate(x, y, a)
                      .scale(0.75, float(U(g) + 0.25), 0.75);
        const double m = 0.25 + 0.125 * S(12.2f * U(g) + 1.3f * t);
        e.morph = float(m * m);
        e.scale[0] = e.scale[2] = 0.5;
        e.scale[1] = float(32.0 / count);
        out.push_back(e);
    }
    return out;
}

TEST_F(SceneModelTest, FountainColumn) {
    for (int32_t global : kGlobals)
        for (int32_t seed : {6, 7, 31000}) {
            SCOPED_TRACE("global " + std::to_string(global) + " seed " + std::to_string(seed));
            compare(run(planShapeFountainScene, global, seed, 11.5f), fountainModel(global, seed, 11.5f),
                    "ShapeFountainScene");
        }
}

std::vector<Expected> vortexModel(int32_t global, int32_t seed, float t) {
    Generator g;
    g.srand(uint32_t(global) + uint32_t(seed));
    const int colourIdx = g.rand() % 12;
    double amp[4];
    for (int k = 0; k < 2; ++k) {
        double p = float(0.5 * U(g)), q = C2(g);
        amp[2 * k] = p < 0.25f ? 0 : p;
        amp[2 * k + 1] = q < 0 ? 0 : q;
    }
    const int count = g.rand() % 30 + 20;
    const int centrePreset = g.rand() % 10;
    g.srand(uint32_t(global) + uint32_t(seed));
    Expected centre;
    centre.mesh = "shape";
    centre.program = "Relief";
    centre.shape = true;
    centre.preset = centrePreset;
    centre.segments = 64;
    centre.phaseA = float(-2.0 * t);
    centre.colour = 3;
    centre.spec[0] = float(1.5 + 2 * (U(g) - 0.5));
    centre.spec[1] = float(1.5 + 2 * (U(g) - 0.5));
    centre.spec[2] = 1.1f;
    centre.surfX = -2;
    centre.surfY = 0.05f;
    g.rand();
    centre.morph = float(g.rand() * double(0.000012207404f) + 0.05f);
    centre.scale[0] = centre.scale[1] = centre.scale[2] = 2;
    std::vector<Expected> out{centre};
    const int preset = g.rand() % 10;
    g.srand(uint32_t(global) + uint32_t(seed));
    for (int i = 0; i < count; ++i) {
        Expected e = centre;
        e.preset = preset;
        e.segments = 8;
        e.phaseA = float(i + 4.0 * t);
        e.colour = ((seed & 1) || (i & 1)) ? 1 : PaletteSequence[colourIdx];
        e.scale[0] = e.scale[2] = 0.5;
        e.scale[1] = float(32.0 / count);
        const double rho = float(0.25 * U(g) + i + t);
        const double y = float(40.0 * (i - 8) / count);
        double f = float(0.025f * std::fabs(y));
        Xf m;
        if (seed & 1) {
            f = float(f * f);
            m = m.rotate(float(30 * f * S(rho)), 0, 0, 1).rotate(float(20 * f * rho), 0, 1, 0);
        }
        const double a2 = C2(g);
        const double phi = float(0.05f * i + 0.5 * t);
        const double a3 = C2(g);
        e.model = m.translate(float(f * (amp[1] * S(phi) + amp[0] * a3)), y,
                              float(f * (amp[3] * S(phi + M_PI / 2) + amp[2] * a2)));
        out.push_back(e);
    }
    return out;
}

TEST_F(SceneModelTest, VortexHelix) {
    for (int32_t global : kGlobals)
        for (int32_t seed : {8, 59, 20001}) {
            SCOPED_TRACE("global " + std::to_string(global) + " seed " + std::to_string(seed));
            const auto got = run(planShapeVortexScene, global, seed, 4.75f);
            // The cosine of the model reads the table a quarter turn on; allow
            // a table step in the offsets.
            compare(got, vortexModel(global, seed, 4.75f), "ShapeVortexScene");
            ASSERT_GE(got.size(), 9u);
            EXPECT_EQ(got[9].model[12], 0.0f);  // i = 8 sits on the axis
            EXPECT_EQ(got[9].model[13], 0.0f);
        }
}

TEST_F(SceneModelTest, Backdrops) {
    for (int32_t global : kGlobals)
        for (int32_t seed : {2, 3}) {
            SCOPED_TRACE("global " + std::to_string(global) + " seed " + std::to_string(seed));
            // The tunnel: one inside-out shape.
            Generator g;
            g.srand(uint32_t(global) + uint32_t(seed));
            Expected e;
            e.mesh = "shape";
            e.program = "Relief";
            e.shape = true;
            e.colour = PaletteSequence[g.rand() % 12];
            e.spec[0] = float(1.5 + 2 * (U(g) - 0.5));
            e.spec[1] = float(1.5 + 2 * (U(g) - 0.5));
            e.spec[2] = 1.1f;
            e.surfX = 2;
            e.surfY = 0.05f;
            e.preset = g.rand() % 10;
            e.morph = float(g.rand() * double(0.000009155553f) - 0.2f);
            e.segments = 5 * (g.rand() % 3) + 6;
            e.phaseA = float(1.5 * 9.0);
            e.scale[0] = e.scale[2] = -16;
            e.scale[1] = -64;
            compare(run(planShapeTunnelScene, global, seed, 9.0f), {e}, "ShapeTunnelScene");
            EXPECT_EQ(plan_.draws[0].specularParams[3], 1.0f);

            // The room: the same inside-out box twice, height and colour from
            // the global seed.
            g.srand(global);
            const double r = g.rand() * double(0.00003051851f);
            Expected box;
            box.mesh = "boxInside";
            box.colour = PaletteSequence[16 + int(r / double(0.00003051851f) + 0.5) % 5];
            box.scale[0] = box.scale[2] = 8;
            box.scale[1] = float(8 * float(r * r * 4 + 1));
            box.spec[0] = 1.0f, box.spec[1] = 1.1f, box.spec[2] = 1.5f;
            box.surfX = -2;
            box.surfY = 0.125f;
            std::vector<Expected> room{box, box};
            room[0].program = "DepthNormal";
            room[1].program = (seed & 1) ? "LitTextured" : "Lit";
            compare(run(planRoomScene, global, seed, 9.0f), room, "RoomScene");
        }
}

TEST_F(SceneModelTest, LineWalkPenAndColour) {
    for (int32_t global : kGlobals)
        for (float w : {0.0f, 0.5f, 1.0f}) {
            Generator g;
            g.srand(global);
            g.rand(), g.rand();
            const int colour = PaletteSequence[g.rand() % 12];
            g.srand(uint32_t(global) + 77u);
            const double scale = float(0.25 * U(g) + 0.5);
            const int segments = g.rand() % 200 + 40, strokes = g.rand() % 10 + 5;
            const double angle = float(g.rand() * double(0.0028687399f) + 30);
            const double step = float(g.rand() * double(0.000006103702f) + 0.1f);
            double p[3] = {0, 0, 0};
            for (int k = 0; k < strokes * segments; ++k)
                for (double& axis : p) {
                    const double a = C2(g), b = C2(g);
                    axis = float(axis + step * float(scale * ((1 - w) * b + w * a)));
                }
            newFrame(global);
            ClipAction a;
            a.duration = 10;
            a.fadeIn = 2;
            a.fadeOut = 2;
            plan_ = planLineWalkScene(ctx_, 77, a, w * 2);  // weight w at time 2 w
            ASSERT_EQ(plan_.draws.size(), 1u);
            const Draw& drawn = plan_.draws[0];
            EXPECT_EQ(drawn.mesh, MeshKind::Lines);
            ASSERT_EQ(drawn.lines.vertices.size(), size_t(2 * segments * strokes));
            const Vec3 end = drawn.lines.vertices.back();
            EXPECT_FLOAT_EQ(end.x, float(p[0]));
            EXPECT_FLOAT_EQ(end.y, float(p[1]));
            EXPECT_FLOAT_EQ(end.z, float(p[2]));
            EXPECT_FLOAT_EQ(drawn.colour[0], Palette[colour].r);
            EXPECT_FLOAT_EQ(drawn.colour[2], Palette[colour].b);
            const Xf turned = Xf{}.rotate(angle * strokes, 0, 0.3, 1);
            for (int k = 0; k < 16; ++k) EXPECT_NEAR(drawn.model[k], turned.m[k], 1e-4);
        }
}

}  // namespace
}  // namespace vortel
