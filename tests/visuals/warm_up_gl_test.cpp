// The warm-up before the live show: its frames hold every pair of
// successive actions of the show, and drawing them changes nothing the
// show's frames then draw.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "core/rng.h"
#include "gfx/gl_api.h"
#include "support/gl_test_support.h"
#include "visuals/frame/frame.h"
#include "visuals/timeline/frame_log.h"
#include "visuals/timeline/timeline.h"
#include "visuals/frame/warm_up.h"

namespace vortel {
namespace {

using Pairs = std::set<std::string>;

// The pairs of successive drawing actions of the frame of `show` at t.
Pairs pairsAt(const Show& show, float t) {
    Pairs pairs;
    std::string previous = "start";
    for (const ActionRecord& a : dryRunFrame(show, t, 1.0f / 60).actions) {
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
        for (int k = 0; k < 3; ++k) renderFrame(*show_, t + k / 60.0f, 1.0f / 60);
        return test::readPixels(0, 0, test::kTestWindowWidth, test::kTestWindowHeight);
    }
};

// What a frame hands on to the next, field by field.
void expectSameSettings(const FrameContext& a, const FrameContext& b) {
    auto same3 = [](const Vec3& p, const Vec3& q) { return p.x == q.x && p.y == q.y && p.z == q.z; };
    auto same4 = [](const Vec4& p, const Vec4& q) { return p.x == q.x && p.y == q.y && p.z == q.z && p.w == q.w; };
    EXPECT_EQ(a.seed, b.seed);
    EXPECT_TRUE(same3(a.camera.from, b.camera.from));
    EXPECT_TRUE(same3(a.camera.target, b.camera.target));
    EXPECT_EQ(a.camera.dolly, b.camera.dolly);
    EXPECT_TRUE(same4(a.camera.light, b.camera.light));
    EXPECT_TRUE(same4(a.surface.specularColour, b.surface.specularColour));
    EXPECT_TRUE(same4(a.surface.specularParams, b.surface.specularParams));
    EXPECT_TRUE(same4(a.surface.surfaceParams, b.surface.surfaceParams));
    EXPECT_EQ(a.surface.texCoordScale, b.surface.texCoordScale);
    EXPECT_TRUE(same3(a.shape.meshScale, b.shape.meshScale));
    EXPECT_EQ(a.shape.phaseA, b.shape.phaseA);
    EXPECT_EQ(a.shape.phaseB, b.shape.phaseB);
    EXPECT_EQ(a.shape.segments, b.shape.segments);
    EXPECT_EQ(a.shape.preset, b.shape.preset);
    EXPECT_EQ(a.shape.morph, b.shape.morph);
    EXPECT_EQ(a.glowComputed, b.glowComputed);
}

TEST_F(WarmUpTest, FramesHoldEveryPairOfTheShow) {
    for (int32_t seed : {3, 1234}) {
        setUpShow(seed);
        const uint32_t rng = show_->rng.state;
        const std::vector<float> times = warmUpTimes(*show_);
        EXPECT_EQ(show_->rng.state, rng);
        ASSERT_FALSE(times.empty());
        Pairs covered;
        for (float t : times) {
            const Pairs p = pairsAt(*show_, t);
            covered.insert(p.begin(), p.end());
        }
        // Every 20th of a second of the show, independently of the clips'
        // boundaries.
        for (float t = 0; t < show_->layout.songLength + 1.0f; t += 0.05f)
            for (const std::string& pair : pairsAt(*show_, t)) EXPECT_TRUE(covered.count(pair)) << seed << " at " << t << ": " << pair;
        // Far fewer frames than the show's distinct moments.
        EXPECT_LT(times.size(), 40u) << seed;
    }
}

TEST_F(WarmUpTest, LeavesThePicturesAsTheyWere) {
    // The same frames drawn after a warm-up and after a fresh set-up.
    for (float t : {0.0f, 21.3f}) {
        setUpShow(1234);
        const uint32_t rng = show_->rng.state;
        const FrameContext before = show_->frame;
        const std::array<uint32_t, kTextureSlotCount> slots = show_->gpu.textureSlots;
        EXPECT_GT(warmUpFrames(*show_), 0);
        // The generator (the drums' noise draws from it too), the frame's
        // settings and the slot table are as they were.
        EXPECT_EQ(show_->rng.state, rng);
        expectSameSettings(show_->frame, before);
        EXPECT_EQ(show_->gpu.textureSlots, slots);
        const std::vector<uint8_t> warmed = frames(t);
        setUpShow(1234);
        const std::vector<uint8_t> fresh = frames(t);
        EXPECT_TRUE(warmed == fresh) << "at " << t;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

}  // namespace
}  // namespace vortel
