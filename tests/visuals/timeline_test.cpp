#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rng.h"
#include "visuals/timeline/action_tables.h"
#include "visuals/timeline/timeline.h"

namespace vortel {
namespace {

// An independent model of the generator: the draws written out lane by
// lane, producing the clips as plain rows.
struct ModelClip {
    std::string lane;
    int section, span;
    float start, clipValue, duration, fadeIn, fadeOut;
    int seed;
    std::string action;
};

const char* const kCameraNames[] = {"FloatCamera", "WanderCamera", "OverheadCamera"};
const char* const kBackdropNames[] = {"ShapeTunnelScene", "RoomScene", "ShapeTunnelScene", "RoomScene"};
const char* const kPostANames[] = {"TintPass", "TintPass", "BlurFadePass", "GlowPass", "BlurFadePass"};
const char* const kForegroundNames[] = {"CubeFieldScene", "ShapeFountainScene", "ShapeVortexScene",
                                        "LineWalkScene"};
const char* const kPostBNames[] = {"TintPass", "GlowPass", "TintPass", "GlowPass"};

// `after` receives the generator as the model leaves it.
std::vector<ModelClip> model(int seed, float step, const std::vector<int>& spans, Generator* after = nullptr) {
    std::vector<ModelClip> out;
    Generator g;
    g.srand(static_cast<uint32_t>(seed));
    const float S = 32 * step;
    float sectionStart = 0;
    for (int k = 0; k < static_cast<int>(spans.size()); ++k) {
        std::vector<int> seeds;
        std::vector<float> values;
        for (int lane = 0; lane < 5; ++lane) {
            static const int seedMod[] = {4, 2, 0, 4, 0}, seedBase[] = {2, 1, 0, 2, 0};
            static const int valMod[] = {5, 2, 0, 5, 0}, valBase[] = {3, 2, 0, 3, 0};
            static const int fnMod[] = {2, 3, 4, 2, 3}, tableSize[] = {3, 4, 5, 4, 4};
            static const char* const* names[] = {kCameraNames, kBackdropNames, kPostANames, kForegroundNames,
                                                 kPostBNames};
            static const char* laneNames[] = {"camera", "backdrop", "postA", "foreground", "postB"};
            if (seedMod[lane]) {
                seeds.assign(g.rand() % seedMod[lane] + seedBase[lane], 0);
                for (int& s : seeds) s = g.rand();
                values.assign(g.rand() % valMod[lane] + valBase[lane], 0);
                for (float& v : values) v = static_cast<float>(g.rand() * double(0.006103702f));
            }
            std::vector<int> fns(g.rand() % fnMod[lane] + 1);
            for (int& f : fns) f = g.rand() % tableSize[lane];
            const int nTemplates = static_cast<int>(fns.size()) * (g.rand() % 4 + 1);
            struct Tpl {
                float duration, fadeIn, fadeOut;
                int seed, fn;
            };
            std::vector<Tpl> tpl;
            for (int j = 0; j < nTemplates; ++j) {
                float u1 = static_cast<float>(g.rand() * double(0.00003051851f));
                float u2 = static_cast<float>(g.rand() * double(0.00003051851f));
                float d = S;
                if (lane == 0) d = static_cast<float>((1 + 0.5 * static_cast<float>(g.rand() * double(0.00003051851f))) * S);
                if (lane == 2) d = static_cast<float>((1 + 0.25 * static_cast<float>(g.rand() * double(0.00003051851f))) * S);
                int sd = seeds[g.rand() % seeds.size()];
                int fn = fns[g.rand() % fns.size()];
                tpl.push_back({d, static_cast<float>((double(0.1f) + double(0.05f) * u2) * S),
                               static_cast<float>((double(0.1f) + double(0.05f) * u1) * S), sd, fn});
            }
            for (int i = 0; i < spans[k]; ++i) {
                float value = values[g.rand() % values.size()];
                const Tpl& t = tpl[g.rand() % nTemplates];
                out.push_back({laneNames[lane], k, i, static_cast<float>(sectionStart + double(i) * S), value,
                               t.duration, t.fadeIn, t.fadeOut, t.seed, names[lane][t.fn]});
            }
        }
        sectionStart = static_cast<float>(sectionStart + double(spans[k]) * S);
    }
    if (after) *after = g;
    return out;
}

void expectMatchesModel(int seed, float step, const std::vector<int>& spans) {
    Timeline tl;
    Generator rng;
    rng.srand(12345);  // whatever it held: the timeline re-seeds it
    buildTimeline(tl, seed, step, static_cast<int>(spans.size()), spans.data(), rng);
    Generator modelAfter;
    const std::vector<ModelClip> want = model(seed, step, spans, &modelAfter);
    // The generator is left just after the last draw.
    EXPECT_EQ(rng.state, modelAfter.state);
    ASSERT_EQ(tl.clips.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        const TimelineClip& c = tl.clips[i];
        const ModelClip& m = want[i];
        SCOPED_TRACE("seed " + std::to_string(seed) + " clip " + std::to_string(i));
        ASSERT_EQ(c.actions.size(), 1u);
        const ClipAction& a = c.actions[0];
        EXPECT_EQ(laneName(c.lane), m.lane);
        EXPECT_EQ(c.section, m.section);
        EXPECT_EQ(c.span, m.span);
        EXPECT_EQ(c.start, m.start);
        EXPECT_EQ(c.clipValue, m.clipValue);
        EXPECT_EQ(c.length, m.duration);
        EXPECT_EQ(a.duration, m.duration);
        EXPECT_EQ(a.fadeIn, m.fadeIn);
        EXPECT_EQ(a.fadeOut, m.fadeOut);
        EXPECT_EQ(a.seed, m.seed);
        EXPECT_EQ(a.offset, 0.0f);
        EXPECT_EQ(c.seedOverride, -1);
        EXPECT_STREQ(actionName(a.action), m.action.c_str());
    }
}

TEST(Timeline, DrawsMatchAnIndependentModel) {
    for (int seed : {0, 1, 1234, -7, 987654321}) expectMatchesModel(seed, 0.1171875f, {4, 4, 4, 4});
    expectMatchesModel(42, 0.1f, {4, 4, 4, 4});
    expectMatchesModel(42, 0.125f, {4, 4, 4, 4});
}

TEST(Timeline, EmptySectionStillDrawsItsPools) {
    // A section without spans adds no clips and no time, yet the sections
    // after it see the same random stream as before.
    expectMatchesModel(5, 0.12f, {4, 0, 4, 4});
    Timeline with, without;
    const int a[] = {2, 0, 3};
    const int b[] = {2, 3};
    Generator rng;
    buildTimeline(with, 9, 0.11f, 3, a, rng);
    buildTimeline(without, 9, 0.11f, 2, b, rng);
    ASSERT_EQ(with.clips.size(), 25u);
    // The third section starts where the second would have, but its draws differ.
    EXPECT_EQ(with.clips.back().start, without.clips.back().start);
    bool anyDifferent = false;
    for (size_t i = 10; i < 25; ++i)
        anyDifferent |= with.clips[i].clipValue != without.clips[i].clipValue ||
                        with.clips[i].actions[0].seed != without.clips[i].actions[0].seed;
    EXPECT_TRUE(anyDifferent);
}

TEST(Timeline, ShowLayoutHasEightyClipsCoveringTheSong) {
    Timeline tl;
    const int spans[] = {4, 4, 4, 4};
    const float step = 0.11f;
    Generator rng;
    buildTimeline(tl, 31337, step, 4, spans, rng);
    ASSERT_EQ(tl.clips.size(), 80u);
    const float S = 32 * step;
    for (const TimelineClip& c : tl.clips) {
        const ClipAction& a = c.actions[0];
        if (c.lane == Lane::Camera) {
            EXPECT_GE(a.duration, S);
            EXPECT_LE(a.duration, 1.5f * S * 1.0000001f);
        } else if (c.lane == Lane::PostA) {
            EXPECT_LE(a.duration, 1.25f * S * 1.0000001f);
        } else {
            EXPECT_EQ(a.duration, S);
        }
        EXPECT_GE(c.clipValue, 0.0f);
        EXPECT_LE(c.clipValue, 200.0f);
        EXPECT_GE(a.fadeIn, 0.1f * S * 0.999f);
        EXPECT_LE(a.fadeIn, 0.15f * S * 1.001f);
    }
    EXPECT_FLOAT_EQ(tl.clips.back().start, 15 * S);
}

}  // namespace
}  // namespace vortel
