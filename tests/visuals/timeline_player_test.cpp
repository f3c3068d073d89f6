#include <gtest/gtest.h>

#include <vector>

#include "core/rng.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/timeline/frame_log.h"

namespace vortel {
namespace {

struct Call {
    const FrameContext* ctx;
    int32_t seed;
    ClipAction action;
    float time, clipValue;
};
std::vector<Call> gCalls;

void recordingAction(FrameContext& ctx, int32_t seed, const ClipAction& a, float time, float clipValue, float) {
    gCalls.push_back({&ctx, seed, a, time, clipValue});
}

// A frame without GL (no GPU resources: the player's own render-state reset
// is skipped) with a generator of its own.
struct DryRun {
    DryRun() {
        ctx.rng = &rng;
        gCalls.clear();
    }
    Generator rng;
    FrameContext ctx;
};

TimelineClip clipAt(float start, float duration, int32_t seed) {
    TimelineClip c;
    c.start = start;
    c.clipValue = 42;
    c.actions.push_back({0, duration, 0.5f, 0.25f, seed, recordingAction});
    return c;
}

TEST(Dispatch, WindowIsStartInclusiveEndExclusive) {
    DryRun dry;
    const TimelineClip c = clipAt(2.0f, 1.5f, 7);
    for (float t : {1.9999f, 2.0f, 3.4999f, 3.5f, 10.0f}) runClip(dry.ctx, c, t, c.clipValue, 0.016f);
    ASSERT_EQ(gCalls.size(), 2u);
    EXPECT_EQ(gCalls[0].time, 2.0f);
    EXPECT_EQ(gCalls[1].time, 3.4999f);
    // The action sees its absolute start; the stored clip keeps offset 0.
    EXPECT_EQ(gCalls[0].action.offset, 2.0f);
    EXPECT_EQ(gCalls[0].seed, 7);
    EXPECT_EQ(gCalls[0].clipValue, 42.0f);
    EXPECT_EQ(gCalls[0].ctx, &dry.ctx);  // the action works on the frame's context
    EXPECT_EQ(c.actions[0].offset, 0.0f);
}

TEST(Dispatch, OverridesReachOnlyTheCall) {
    DryRun dry;
    TimelineClip c = clipAt(1.0f, 2.0f, 7);
    c.seedOverride = 0;  // 0 is an override too; only -1 means none
    c.fadeInOverride = 0.75f;
    runClip(dry.ctx, c, 1.5f, c.clipValue, 0);
    c.fadeInOverride = 0;
    c.fadeOutOverride = 0.125f;
    c.seedOverride = -1;
    runClip(dry.ctx, c, 1.5f, c.clipValue, 0);
    ASSERT_EQ(gCalls.size(), 2u);
    EXPECT_EQ(gCalls[0].seed, 0);
    EXPECT_EQ(gCalls[0].action.fadeIn, 0.75f);
    EXPECT_EQ(gCalls[0].action.fadeOut, 0.25f);
    EXPECT_EQ(gCalls[1].seed, 7);
    EXPECT_EQ(gCalls[1].action.fadeIn, 0.5f);
    EXPECT_EQ(gCalls[1].action.fadeOut, 0.125f);
    EXPECT_EQ(c.actions[0].fadeIn, 0.5f);
    EXPECT_EQ(c.actions[0].fadeOut, 0.25f);
}

TEST(Dispatch, WeightRampsHoldsAndFalls) {
    ClipAction a{10.0f, 4.0f, 1.0f, 2.0f, 0, nullptr};  // offset = absolute start while running
    EXPECT_EQ(actionWeight(a, 9.0f), 0.0f);
    EXPECT_EQ(actionWeight(a, 10.0f), 0.0f);
    EXPECT_FLOAT_EQ(actionWeight(a, 10.25f), 0.25f);
    EXPECT_EQ(actionWeight(a, 11.0f), 1.0f);
    EXPECT_EQ(actionWeight(a, 12.0f), 1.0f);  // the fade-out starts here
    EXPECT_FLOAT_EQ(actionWeight(a, 13.0f), 0.5f);
    EXPECT_EQ(actionWeight(a, 14.0f), 0.0f);
    ClipAction step{1.0f, 1.0f, 0, 0, 0, nullptr};  // zero fades: an immediate step, no division
    EXPECT_EQ(actionWeight(step, 1.0f), 1.0f);
    EXPECT_EQ(actionWeight(step, 1.999f), 1.0f);
    EXPECT_EQ(actionWeight(step, 2.0f), 0.0f);
}

TEST(Dispatch, PlayResetsThePoseRunsInOrderAndLogs) {
    DryRun dry;
    Timeline tl;
    tl.clips.push_back(clipAt(0, 5, 1));
    tl.clips.push_back(clipAt(3, 5, 2));
    tl.clips.push_back(clipAt(6, 5, 3));
    tl.clips[1].lane = Lane::PostB;
    CameraPose& s = dry.ctx.camera;
    s.from = {5, 5, 5};
    s.target = {1, 2, 3};
    s.dolly = 0.5f;
    s.light = {1, 2, 3, 9};
    FrameLog log;
    dry.ctx.log = &log;
    playTimeline(dry.ctx, tl, 4.0f, 0.016f);
    dry.ctx.log = nullptr;
    EXPECT_EQ(s.from.z, -1.0f);
    EXPECT_EQ(s.from.x, 0.0f);
    EXPECT_EQ(s.target.y, 0.0f);
    EXPECT_EQ(s.dolly, 0.0f);
    EXPECT_EQ(s.light.x, 0.0f);
    EXPECT_EQ(s.light.w, 9.0f);  // w keeps accumulating over the run
    ASSERT_EQ(gCalls.size(), 2u);
    EXPECT_EQ(gCalls[0].seed, 1);
    EXPECT_EQ(gCalls[1].seed, 2);
    ASSERT_EQ(log.actions.size(), 2u);
    EXPECT_EQ(log.actions[1].lane, Lane::PostB);
    EXPECT_EQ(log.actions[1].seed, 2);
    EXPECT_FLOAT_EQ(log.actions[1].weight, 1.0f);  // 1 s after its start, fade-in 0.5 s
}

}  // namespace
}  // namespace vortel
