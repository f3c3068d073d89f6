// The executor on the headless context: planned draws land where their
// matrices put them, and a plan without draws leaves pixels and state alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "gfx/camera_math.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/textures.h"
#include "support/gl_test_support.h"
#include "visuals/frame/show.h"
#include "visuals/plan/draw_executor.h"

namespace vortel {
namespace {

constexpr int kArea = kWorkingAreaSize;

struct Pixel {
    int r, g, b;
};

// The working area read back, rows bottom-up.
struct Area {
    std::vector<uint8_t> rgba = test::readPixels(0, 0, kArea, kArea);
    Pixel at(int x, int y) const {
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * kArea + x) * 4];
        return {p[0], p[1], p[2]};
    }
    bool black(int x, int y) const {
        const Pixel p = at(x, y);
        return p.r == 0 && p.g == 0 && p.b == 0;
    }
};

// A window position (pixels of the working area) for a world point under
// the camera of the neutral pose, from the camera's own matrices.
std::array<double, 2> project(const Mat4& viewProjection, double x, double y, double z) {
    const auto c = transform(viewProjection, x, y, z, 1);
    return {(c[0] / c[3] + 1) / 2 * kArea, (c[1] / c[3] + 1) / 2 * kArea};
}

class DrawExecutorTest : public test::ShowContextTest {
protected:
    void SetUp() override {
        ShowContextTest::SetUp();
        if (HasFatalFailure()) return;
        setUpShow(1234);
        resetRenderState();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // A lit box of colour (1, 0.5, 0.25) with the light at the eye and no
    // highlight: the faces turned to the eye show the colour itself.
    static Draw litBox(const ModelMatrix& model, std::array<float, 3> meshScale) {
        Draw d;
        d.action = "test";
        d.mesh = MeshKind::Box;
        d.program = ProgramPair::Lit;
        d.model = model;
        d.meshScale = meshScale;
        d.texCoordScale = {1, 1};
        d.colour = {1, 0.5f, 0.25f, 0};
        d.specularParams = {32, -1, 0, 1};  // specularColour stays 0
        d.state.cull = Toggle::On;
        d.state.blend = Toggle::Off;
        d.state.setsLight = true;
        d.state.light = {0, 0, 0, 1};  // eye space: at the eye
        return d;
    }

    // The view of the neutral pose: one unit in front of the origin,
    // looking at it.
    static Mat4 neutralView() {
        const CameraPose pose;
        return cameraViewMatrix(pose.from, pose.target, pose.dolly);
    }

    static DrawPlan withCamera(std::vector<Draw> draws) {
        DrawPlan plan;
        plan.loadsCamera = true;
        plan.projection = cameraProjectionMatrix();
        plan.view = neutralView();
        plan.draws = std::move(draws);
        return plan;
    }

    void execute(const DrawPlan& plan) { executePlan(plan, show_->gpu, show_->scratch); }
};

TEST_F(DrawExecutorTest, PlannedBoxLandsWhereItsMatricesPutIt) {
    // The box [-1, 1]^3 scaled by (0.3, 0.1, 0.1), turned 90 degrees about z
    // and moved to (0.25, 0.2, 0): x in [0.15, 0.35], y in [-0.1, 0.5],
    // z in [-0.1, 0.1] in the world.
    const ModelMatrix model = rotateModel(translateModel(identityModel(), 0.25, 0.2, 0), 90, 0, 0, 1);
    execute(withCamera({litBox(model, {0.3f, 0.1f, 0.1f})}));
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const Area area;

    const Mat4 vp = multiply(cameraProjectionMatrix(), neutralView());
    // The face nearest the eye (z = -0.1) is a rectangle on the screen; the
    // whole box lies within the rectangle round all eight corners.
    const auto a = project(vp, 0.15, -0.1, -0.1), b = project(vp, 0.35, 0.5, -0.1);
    const double faceX0 = std::min(a[0], b[0]), faceX1 = std::max(a[0], b[0]);
    const double faceY0 = std::min(a[1], b[1]), faceY1 = std::max(a[1], b[1]);
    double boxX0 = kArea, boxX1 = 0, boxY0 = kArea, boxY1 = 0;
    for (double x : {0.15, 0.35})
        for (double y : {-0.1, 0.5})
            for (double z : {-0.1, 0.1}) {
                const auto p = project(vp, x, y, z);
                boxX0 = std::min(boxX0, p[0]), boxX1 = std::max(boxX1, p[0]);
                boxY0 = std::min(boxY0, p[1]), boxY1 = std::max(boxY1, p[1]);
            }
    // World +x is to the left for this camera: the box sits left of centre
    // and above it, clear of the middle.
    ASSERT_LT(boxX1, kArea / 2 - 10);
    ASSERT_GT(boxY1, kArea / 2 + 10);

    int inside = 0, outside = 0;
    for (int y = 0; y < kArea; ++y)
        for (int x = 0; x < kArea; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            if (cx > faceX0 + 1.5 && cx < faceX1 - 1.5 && cy > faceY0 + 1.5 && cy < faceY1 - 1.5) {
                // N.l over the near face (0.9 from the eye, corners up to
                // (0.35, 0.5) off its axis) stays above 0.82: the colour
                // itself, dimmed a little towards the corners.
                const Pixel p = area.at(x, y);
                ASSERT_GE(p.r, 205) << x << "," << y;
                ASSERT_NEAR(p.g, p.r / 2.0, 4) << x << "," << y;
                ASSERT_NEAR(p.b, p.r / 4.0, 4) << x << "," << y;
                ++inside;
            } else if (cx < boxX0 - 1.5 || cx > boxX1 + 1.5 || cy < boxY0 - 1.5 || cy > boxY1 + 1.5) {
                ASSERT_TRUE(area.black(x, y)) << x << "," << y;
                ++outside;
            }
        }
    EXPECT_GT(inside, 1000);
    EXPECT_GT(outside, 200000);

    // The plan leaves the programs off and the view current.
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_PROGRAM_ARB));
    EXPECT_FALSE(glIsEnabled(GL_FRAGMENT_PROGRAM_ARB));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLdouble modelview[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    const Mat4 view = neutralView();
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(modelview[i], view[static_cast<size_t>(i)], 1e-6) << i;
}

TEST_F(DrawExecutorTest, LineStrokesTurnTheMatrixTheyFindAndLeaveTheLastTurn) {
    // One horizontal stroke at y = 0.25, turned 90 degrees about z by its
    // stroke transform on top of a modelview moved 0.1 to the right: a
    // vertical line at x = -0.25 + 0.1.
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0.1f, 0, 0);
    Draw d;
    d.mesh = MeshKind::Lines;
    d.colour = {1, 1, 1, 0};
    d.state.texturing = Toggle::Off;
    d.lines.width = 2.5f;
    d.lines.vertices = {{-0.5f, 0.25f, 0}, {0.5f, 0.25f, 0}};
    const ModelMatrix turn = rotationMatrix(90, 0, 0, 1);
    d.lines.strokes.push_back({turn, 0, 2});
    d.model = turn;
    DrawPlan plan;
    plan.draws.push_back(d);
    execute(plan);
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const Area area;
    const int column = static_cast<int>((-0.15 + 1) / 2 * kArea);  // 217
    const int row = static_cast<int>((0.25 + 1) / 2 * kArea);      // 320
    for (int y = 140; y < 370; y += 10) EXPECT_GE(area.at(column, y).r, 128) << y;  // y from -0.45 to 0.45
    for (int x = 0; x < kArea; x += 7) {
        if (std::abs(x - column) > 3) {
            EXPECT_TRUE(area.black(x, row)) << x;
        }
    }
    // The last stroke's turn stays on the modelview matrix.
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const ModelMatrix want = multiplyModel(translateModel(identityModel(), 0.1f, 0, 0), turn);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(modelview[i], want[static_cast<size_t>(i)], 1e-7) << i;
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
}

TEST_F(DrawExecutorTest, PlanWithoutDrawsChangesNothing) {
    // A picture and a state to compare against: a box drawn, then a mix of
    // settings the scenes change.
    const ModelMatrix model = translateModel(identityModel(), -0.2, 0, 0);
    execute(withCamera({litBox(model, {0.2f, 0.2f, 0.2f})}));
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    bindTextureSlot(show_->gpu, kSlotGlow, GL_REPEAT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.5f, 0.25f, 0);

    auto snapshot = [] {
        std::vector<double> s;
        for (GLenum cap : {GL_BLEND, GL_CULL_FACE, GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LINE_SMOOTH,
                           GL_VERTEX_PROGRAM_ARB, GL_FRAGMENT_PROGRAM_ARB})
            s.push_back(glIsEnabled(cap));
        GLint binding = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
        s.push_back(binding);
        GLdouble m[16];
        for (GLenum which : {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX}) {
            glGetDoublev(which, m);
            s.insert(s.end(), m, m + 16);
        }
        GLfloat env[4];
        glGetProgramEnvParameterfvARB(GL_FRAGMENT_PROGRAM_ARB, 0, env);
        s.insert(s.end(), env, env + 4);
        glGetProgramEnvParameterfvARB(GL_VERTEX_PROGRAM_ARB, 0, env);
        s.insert(s.end(), env, env + 4);
        return s;
    };
    const Area before;
    const std::vector<double> stateBefore = snapshot();
    ASSERT_FALSE(std::all_of(before.rgba.begin(), before.rgba.end(), [](uint8_t v) { return v == 0; }));

    execute(DrawPlan{});
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(Area{}.rgba, before.rgba);
    EXPECT_EQ(snapshot(), stateBefore);
}

}  // namespace
}  // namespace vortel
