#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/palette.h"
#include "support/gl_test_support.h"
#include "visuals/timeline/actions.h"
#include "visuals/frame/frame.h"
#include "visuals/passes/post_passes.h"

namespace vortel {
namespace {

// A scene for tests: fills the working area with one grey level.
float gGrey = 0;
void GreyScene(FrameContext&, int32_t, const ClipAction&, float, float, float) {
    glClearColor(gGrey, gGrey, gGrey, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);  // the blur's clears expect black, as the show leaves it
}

// A uniform picture of byte value v after the per-frame glow: each blur
// iteration adds four taps of the 8-bit corner, each rounded from gain x
// value, and the glow is added back at full size.
double withFrameGlow(int v) {
    int corner = v;
    for (int i = 0; i < 7; ++i) corner = 4 * static_cast<int>(std::lround(0.24 * corner));
    return std::min(255, v + corner);
}

class PostPasses : public test::ShowContextTest {
protected:
    void SetUp() override {
        ShowContextTest::SetUp();
        if (HasFatalFailure()) return;
        setUpShow(77);
        show_->timeline = Timeline{};  // only the clips each test adds
    }
    // A clip running `fn` from t = 1 for 2 s, fading in and out over 0.5 s.
    void addClip(ActionFn fn, int32_t seed) {
        TimelineClip c;
        c.start = 1.0f;
        c.actions.push_back({0, 2.0f, 0.5f, 0.5f, seed, fn});
        show_->timeline.clips.push_back(c);
    }
    // The centre pixel of the window after a whole frame at `time`.
    std::array<int, 3> centre(float time) {
        renderFrame(*show_, time, 1.0f / 60);
        auto px = test::readPixels(400, 300, 1, 1);
        return {px[0], px[1], px[2]};
    }
};

TEST_F(PostPasses, FrameGlowOfAUniformPicture) {
    // Each of the seven iterations keeps 4 x 0.24 of a uniform picture, so
    // the glow adds 0.96^7 of it back.
    addClip(GreyScene, 0);
    gGrey = 64 / 255.0f;
    const double expected = withFrameGlow(64);
    EXPECT_NEAR(expected, 64 * (1 + std::pow(0.96, 7)), 2);
    for (int c : centre(1.5f)) EXPECT_NEAR(c, expected, 2);
    // The working area is stretched over the whole window.
    auto far = test::readPixels(700, 500, 1, 1);
    EXPECT_NEAR(far[0], expected, 2);
}

TEST_F(PostPasses, TintScalesEachChannelTowardsThePalette) {
    addClip(GreyScene, 0);
    addClip(TintPass, 6);  // palette colour 6: (0.1, 0.15, 1.0)
    gGrey = 100 / 255.0f;
    const PaletteColour& c = Palette[6];
    const auto full = centre(2.0f);  // weight 1
    const double k[3] = {0.15 + 0.85 * c.r, 0.15 + 0.85 * c.g, 0.15 + 0.85 * c.b};
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(full[i], withFrameGlow(static_cast<int>(std::lround(100 * k[i]))), 2) << i;
    // At the very start its weight is 0: nothing changes.
    const auto none = centre(1.0f);
    for (int v : none) EXPECT_NEAR(v, withFrameGlow(100), 2);
    const TintColour half = tintColour(6, 0.5f);
    EXPECT_FLOAT_EQ(half.r, 0.5f + 0.5f * k[0]);
}

TEST_F(PostPasses, GlowAndBlurFadeAtZeroWeightChangeNothing) {
    addClip(GreyScene, 0);
    addClip(GlowPass, 3);
    addClip(BlurFadePass, 4);  // even seed: its glow is scaled by the weight
    gGrey = 80 / 255.0f;
    for (int v : centre(1.0f)) EXPECT_NEAR(v, withFrameGlow(80), 2);
    // At full weight each adds a strong glow: the picture saturates.
    for (int v : centre(2.0f)) EXPECT_GE(v, 250);
}

TEST_F(PostPasses, OddBlurFadeCrossFadesIntoTheBlur) {
    // A picture with a bright square in the middle: fully weighted, the odd
    // pass replaces it by its blurred copy, so the square's edge softens.
    static bool drawn;
    drawn = false;
    auto square = [](FrameContext&, int32_t, const ClipAction&, float, float, float) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(192, 192, 128, 128);
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 0);
        drawn = true;
    };
    addClip(square, 0);
    addClip(BlurFadePass, 5);
    renderFrame(*show_, 2.0f, 1.0f / 60);
    ASSERT_TRUE(drawn);
    // Just outside the square (in window pixels: x scaled by 800/512) the
    // blur has spread light that a sharp picture would not have.
    auto outside = test::readPixels(static_cast<int>(185 * 800 / 512.0), 300, 1, 1);
    EXPECT_GT(outside[0], 40);
    show_->timeline.clips.pop_back();
    renderFrame(*show_, 2.0f, 1.0f / 60);
    auto sharp = test::readPixels(static_cast<int>(185 * 800 / 512.0), 300, 1, 1);
    EXPECT_LT(sharp[0], outside[0]);
}

}  // namespace
}  // namespace vortel
