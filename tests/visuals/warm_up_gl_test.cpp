// The warm-up before the live show: its frames hold every pair of
// successive actions of the show, and drawing them changes nothing the
// show's frames then draw.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/demo_state.h"
#include "core/rng.h"
#include "gfx/gl_api.h"
#include "support/gl_test_support.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/frame_log.h"
#include "visuals/timeline/timeline.h"
#include "visuals/frame/warm_up.h"

namespace vortel {
namespace {

using Pairs = std::set<std::string>;

// The pairs of successive drawing actions of the frame at t.
Pairs pairsAt(float t) {
    Pairs pairs;
    std::string previous = "start";
    for (const ActionRecord& a : dryRunFrame(t, 1.0f / 60).actions) {
        if (a.lane == Lane::Camera) continue;
        const std::string action = std::string(a.action) + ((a.seed & 1) ? "/odd" : "/even");
        pairs.insert(previous + " " + action);
        previous = action;
    }
    return pairs;
}

class WarmUpTest : public test::ShowContextTest {
protected:
    // Three frames from time t, the window read back.
    std::vector<uint8_t> frames(float t) {
        for (int k = 0; k < 3; ++k) renderFrameAt(t + k / 60.0f, 1.0f / 60);
        return test::readPixels(0, 0, test::kTestWindowWidth, test::kTestWindowHeight);
    }
    void TearDown() override {
        demo().timeline = nullptr;
        ShowContextTest::TearDown();
    }
};

TEST_F(WarmUpTest, FramesHoldEveryPairOfTheShow) {
    for (int32_t seed : {3, 1234}) {
        setUpShow(seed);
        demo().timeline = &demoTimeline();
        const uint32_t rng = randState();
        const std::vector<float> times = warmUpTimes();
        EXPECT_EQ(randState(), rng);
        ASSERT_FALSE(times.empty());
        Pairs covered;
        for (float t : times) {
            const Pairs p = pairsAt(t);
            covered.insert(p.begin(), p.end());
        }
        // Every 20th of a second of the show, independently of the clips'
        // boundaries.
        for (float t = 0; t < demo().songLength + 1.0f; t += 0.05f)
            for (const std::string& pair : pairsAt(t)) EXPECT_TRUE(covered.count(pair)) << seed << " at " << t << ": " << pair;
        // Far fewer frames than the show's distinct moments.
        EXPECT_LT(times.size(), 40u) << seed;
    }
}

TEST_F(WarmUpTest, LeavesThePicturesAsTheyWere) {
    // The same frames drawn after a warm-up and after a fresh set-up.
    for (float t : {0.0f, 21.3f}) {
        setUpShow(1234);
        demo().timeline = &demoTimeline();
        const uint32_t rng = randState();
        const DemoState before = demo();
        EXPECT_GT(warmUpFrames(), 0);
        // The generator (the drums' noise draws from it too) and the slot
        // table are as they were.
        EXPECT_EQ(randState(), rng);
        EXPECT_EQ(demo().textureSlots, before.textureSlots);
        EXPECT_EQ(demo().shapeSegments, before.shapeSegments);
        const std::vector<uint8_t> warmed = frames(t);
        setUpShow(1234);
        demo().timeline = &demoTimeline();
        const std::vector<uint8_t> fresh = frames(t);
        EXPECT_TRUE(warmed == fresh) << "at " << t;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

}  // namespace
}  // namespace vortel
