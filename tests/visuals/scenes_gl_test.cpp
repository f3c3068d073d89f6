// Whole frames of single scenes rendered headless: each scene must put
// something recognisable where it belongs.
#include <gtest/gtest.h>

#include <string>

#include "support/gl_test_support.h"
#include "visuals/timeline/actions.h"
#include "visuals/frame/frame.h"
#include "visuals/scenes/scene_preview.h"

namespace vortel {
namespace {

// Fractions of lit pixels (any channel above a threshold) in regions of the
// window; the 512 x 512 working area is stretched over 800 x 600.
struct Coverage {
    std::vector<uint8_t> rgba;
    double lit(int x0, int y0, int x1, int y1, int threshold = 24) const {
        int n = 0, total = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x, ++total) {
                const uint8_t* p = &rgba[(static_cast<size_t>(y) * test::kTestWindowWidth + x) * 4];
                if (p[0] > threshold || p[1] > threshold || p[2] > threshold) ++n;
            }
        return total ? static_cast<double>(n) / total : 0;
    }
    double all() const { return lit(0, 0, test::kTestWindowWidth, test::kTestWindowHeight); }
};

class SceneRenderTest : public test::ShowContextTest {
protected:
    Coverage render(ActionFn camera, ActionFn scene, int32_t actionSeed, float time, const std::string& still) {
        show_->timeline = scenePreview(camera, scene, actionSeed, 60.0f);
        renderFrame(*show_, time, 1.0f / 60);
        Coverage c{test::readPixels(0, 0, test::kTestWindowWidth, test::kTestWindowHeight)};
        const std::string dir = test::stillsDirectory();
        if (!dir.empty()) test::writePng(dir + "/" + still + ".png", test::kTestWindowWidth, test::kTestWindowHeight, c.rgba);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return c;
    }
};

// Window regions (x0, y0, x1, y1), rows from the bottom.
constexpr int kW = test::kTestWindowWidth, kH = test::kTestWindowHeight;

TEST_F(SceneRenderTest, BackdropsSurroundTheCamera) {
    setUpShow(1234);
    // The tunnel encloses the eye: the whole picture is wall.
    EXPECT_GT(render(FloatCamera, ShapeTunnelScene, 7, 3.0f, "tunnel").lit(0, 0, kW, kH, 4), 0.95);
    // The room from this camera: its far walls fill the middle, lit.
    for (int32_t seed : {2, 3}) {
        const Coverage room = render(FloatCamera, RoomScene, seed, 3.0f, seed & 1 ? "room_odd" : "room_even");
        EXPECT_GT(room.lit(300, 250, 500, 400), 0.98) << seed;
        EXPECT_GT(room.all(), 0.3) << seed;
    }
    // Nothing drawn: black.
    EXPECT_EQ(render(FloatCamera, EmptyScene, 0, 3.0f, "empty").all(), 0.0);
}

TEST_F(SceneRenderTest, ForegroundsDrawWhereTheyStand) {
    setUpShow(1234);
    // The cube field stands at y = -7.5 under the frame's camera: its boxes
    // fill the middle of the picture and leave the rim black.
    for (int32_t seed : {100, 5100, 10100, 15100}) {
        const Coverage c = render(FloatCamera, CubeFieldScene, seed, 3.0f, "cubes" + std::to_string(seed / 5000));
        EXPECT_GT(c.lit(360, 270, 440, 330), 0.5) << seed;
        EXPECT_LT(c.lit(0, 0, kW, 100), 0.01) << seed;
    }
    // The fountain's column runs up the middle.
    for (int32_t seed : {6, 7}) {
        const Coverage f = render(FloatCamera, ShapeFountainScene, seed, 3.0f, "fountain" + std::to_string(seed));
        EXPECT_GT(f.lit(330, 100, 470, 550, 4), 0.01) << seed;
        EXPECT_LT(f.lit(0, 0, 250, kH, 4), 0.001) << seed;
        EXPECT_LT(f.lit(550, 0, kW, kH, 4), 0.001) << seed;
    }
    // The vortex's centre shape sits on the axis, in the middle.
    for (int32_t seed : {8, 59}) {
        const Coverage v = render(FloatCamera, ShapeVortexScene, seed, 3.0f, "vortex" + std::to_string(seed));
        EXPECT_GT(v.lit(380, 280, 420, 320), 0.9) << seed;
    }
    // Lines: thin strokes. They are textured with whatever is bound, here
    // the previous frame's corner texel, so a frame with a lit corner (the
    // tunnel) goes first.
    render(FloatCamera, ShapeTunnelScene, 7, 3.0f, "tunnel");
    const double lines = render(FloatCamera, LineWalkScene, 7, 3.0f, "lines").lit(0, 0, kW, kH, 4);
    EXPECT_GT(lines, 0.002);
    EXPECT_LT(lines, 0.5);
}

}  // namespace
}  // namespace vortel
