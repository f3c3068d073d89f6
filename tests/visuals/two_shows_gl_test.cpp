// Two shows in one process and one context: nothing of one reaches the
// other, so drawing them frame by frame in turn gives each exactly the
// pictures it gives alone.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/gl_test_support.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/show_graphics.h"
#include "visuals/frame/warm_up.h"

namespace vortel {
namespace {

constexpr int kFrames = 12;

// Frame k of a run: from `start`, at 60 frames per second, the first one
// a whole second after the show's beginning as a seek would have it.
float frameTime(float start, int k) { return start + static_cast<float>(k) / 60.0f; }
float frameDelta(int k) { return k == 0 ? 1.0f : 1.0f / 60.0f; }

class TwoShows : public test::GlContextTest {};

TEST_F(TwoShows, InterleavedFramesAreThoseOfEachShowAlone) {
    struct Seed {
        int32_t seed;
        float bpm;
        float start;  // where its frames begin: scenes, passes and a tint running
    };
    const Seed seeds[2] = {{5, 128.0f, 9.5f}, {2026, 141.0f, 23.0f}};

    // Each alone: warm-up, then the frames, the window read back after each.
    std::vector<std::vector<uint8_t>> alone[2];
    for (int i = 0; i < 2; ++i) {
        auto show = test::makeShow(seeds[i].seed, seeds[i].bpm);
        ASSERT_TRUE(show);
        warmUpFrames(*show);
        for (int k = 0; k < kFrames; ++k) {
            renderFrame(*show, frameTime(seeds[i].start, k), frameDelta(k));
            alone[i].push_back(test::readPixels(0, 0, test::kTestWindowWidth, test::kTestWindowHeight));
        }
        releaseShowGraphics(*show);
    }
    ASSERT_NE(alone[0][kFrames - 1], alone[1][kFrames - 1]);  // two different pictures to mix up

    // Both at once: built and warmed up one after the other, then one frame
    // of each in turn.
    std::unique_ptr<Show> shows[2] = {test::makeShow(seeds[0].seed, seeds[0].bpm),
                                      test::makeShow(seeds[1].seed, seeds[1].bpm)};
    ASSERT_TRUE(shows[0] && shows[1]);
    warmUpFrames(*shows[0]);
    warmUpFrames(*shows[1]);
    for (int k = 0; k < kFrames; ++k)
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(testing::Message() << "seed " << seeds[i].seed << ", frame " << k);
            renderFrame(*shows[i], frameTime(seeds[i].start, k), frameDelta(k));
            const std::vector<uint8_t> pixels =
                test::readPixels(0, 0, test::kTestWindowWidth, test::kTestWindowHeight);
            size_t differing = 0;
            for (size_t b = 0; b < pixels.size(); ++b) differing += pixels[b] != alone[i][k][b];
            EXPECT_EQ(differing, 0u);
        }
    for (auto& show : shows) releaseShowGraphics(*show);
}

}  // namespace
}  // namespace vortel
