// Whole frames of single scenes rendered headless: each scene must put
// something recognisable where it belongs.
#include <gtest/gtest.h>

#include <string>

#include "core/demo_state.h"
#include "support/gl_test_support.h"
#include "visuals/actions.h"
#include "visuals/frame.h"
#include "visuals/scene_preview.h"

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
        timeline_ = scenePreview(camera, scene, actionSeed, 60.0f);
        demo().timeline = &timeline_;
        renderFrameAt(time, 1.0f / 60);
        Coverage c{test::readPixels(0, 0, test::kTestWindowWidth, test::kTestWindowHeight)};
        const std::string dir = test::stillsDirectory();
        if (!dir.empty()) test::writePng(dir + "/" + still + ".png", test::kTestWindowWidth, test::kTestWindowHeight, c.rgba);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return c;
    }
    void TearDown() override {
        demo().timeline = nullptr;
        test::ShowContextTest::TearDown();
    }
    Timeline timeline_;
};

TEST_F(SceneRenderTest, Stills) {
    setUpShow(1234);
    render(FloatCamera, RoomScene, 2, 3.0f, "room_even");
    render(FloatCamera, RoomScene, 3, 3.0f, "room_odd");
    render(FloatCamera, ShapeTunnelScene, 7, 3.0f, "tunnel");
    render(FloatCamera, CubeFieldScene, 100, 3.0f, "cubes0");
    render(FloatCamera, CubeFieldScene, 5100, 3.0f, "cubes1");
    render(FloatCamera, CubeFieldScene, 10100, 3.0f, "cubes2");
    render(FloatCamera, CubeFieldScene, 15100, 3.0f, "cubes3");
    render(FloatCamera, ShapeFountainScene, 7, 3.0f, "fountain");
    render(FloatCamera, ShapeVortexScene, 7, 3.0f, "vortex_odd");
    render(FloatCamera, ShapeVortexScene, 8, 3.0f, "vortex_even");
    render(FloatCamera, LineWalkScene, 7, 3.0f, "lines");
}

}  // namespace
}  // namespace vortel
