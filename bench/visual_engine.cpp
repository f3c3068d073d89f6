// Frame composition without scenes: a camera, two post passes, the
// per-frame glow and the stretch to the 800 x 600 window, rendered headless
// on the offscreen context. Reports milliseconds per frame.
#include <benchmark/benchmark.h>

#include "offline/offline_show.h"
#include "offline/show_layout.h"
#include "gfx/gl_api.h"
#include "visuals/timeline/actions.h"
#include "visuals/frame/frame.h"
#include "visuals/timeline/timeline.h"

namespace vortel {
namespace {

TimelineClip clip(ActionFn fn, int32_t seed, Lane lane) {
    TimelineClip c;
    c.start = 0;
    c.lane = lane;
    c.actions.push_back({0, 1000.0f, 0.5f, 0.5f, seed, fn});
    return c;
}

void BM_EngineFrame(benchmark::State& state) {
    std::string why;
    static auto show = OfflineShow::open(showLayout(1234), &why);
    if (!show) {
        state.SkipWithError(why.c_str());
        return;
    }
    Timeline timeline;
    // 0: glow pass and tint; 1: blur-fade pass and tint; 2: the frame's own
    // glow alone; 3: only a tint.
    const int variant = static_cast<int>(state.range(0));
    timeline.clips.push_back(clip(FloatCamera, 1, Lane::Camera));
    if (variant < 2) timeline.clips.push_back(clip(variant ? BlurFadePass : GlowPass, 3, Lane::PostA));
    if (variant != 2) timeline.clips.push_back(clip(TintPass, 5, Lane::PostB));
    std::swap(show->show().timeline, timeline);
    float t = 10.0f;
    for (auto _ : state) {
        show->render(t, 1.0f / 60);
        glFinish();
        t += 1.0f / 60;
    }
    std::swap(show->show().timeline, timeline);
}
BENCHMARK(BM_EngineFrame)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace vortel

// The per-frame glow's share on the processor: the 512 x 512 working area
// shrunk to 128 x 128 and blurred seven times (what every frame does between
// its read-back and its upload).
#include <random>
#include <vector>

#include "visuals/plan/glow_image.h"
#include "visuals/passes/post_passes.h"

static void BM_GlowOnProcessor(benchmark::State& state) {
    std::vector<uint8_t> area(512 * 512 * 4), glow(128 * 128 * 4);
    std::mt19937 random(7);
    for (uint8_t& b : area) b = static_cast<uint8_t>(random() % 256);
    for (auto _ : state) {
        vortel::shrinkForGlow(area.data(), glow.data());
        vortel::blurGlow(glow, vortel::kFrameGlowGain, vortel::kBlurIterations);
        benchmark::DoNotOptimize(glow.data());
    }
}
BENCHMARK(BM_GlowOnProcessor)->Unit(benchmark::kMicrosecond);
