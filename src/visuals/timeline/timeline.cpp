#include "visuals/timeline/timeline.h"

#include <algorithm>
#include <array>

#include "core/rng.h"
#include "visuals/timeline/action_tables.h"
#include "visuals/timeline/random_draws.h"

namespace vortel {

const char* laneName(Lane lane) {
    switch (lane) {
    case Lane::Camera: return "camera";
    case Lane::Backdrop: return "backdrop";
    case Lane::PostA: return "postA";
    case Lane::Foreground: return "foreground";
    case Lane::PostB: return "postB";
    }
    return "?";
}

namespace {

constexpr int kTemplatesPerSection = 50;

// v in [0, 200]: one draw, scaled by the float nearest 200/32767 (u in
// [0, 1] is unitDraw).
float drawValue(Generator& g) { return static_cast<float>(g.rand() * static_cast<double>(0.006103702f)); }

// The pools a lane draws its clips from; two lanes borrow their
// neighbour's seeds and values.
struct Pools {
    std::vector<int32_t> seeds;
    std::vector<float> values;
};

// How one lane differs from the others.
struct LaneRecipe {
    Lane lane;
    bool ownPools;
    int seedMod, seedBase;    // nSeeds = rand() % seedMod + seedBase
    int valueMod, valueBase;  // nValues = rand() % valueMod + valueBase
    int fnMod, fnBase;        // nFns = rand() % fnMod + fnBase
    const ActionFn* table;
    int tableSize;
    float durationSpread;     // D = (1 + spread * u3) * S; 0: D = S and no u3 draw
};

void drawPools(Generator& g, const LaneRecipe& r, Pools& pools) {
    int nSeeds = g.rand() % r.seedMod + r.seedBase;
    pools.seeds.resize(static_cast<size_t>(nSeeds));
    for (int32_t& s : pools.seeds) s = g.rand();
    int nValues = g.rand() % r.valueMod + r.valueBase;
    pools.values.resize(static_cast<size_t>(nValues));
    for (float& v : pools.values) v = drawValue(g);
}

void buildLane(Generator& g, const LaneRecipe& r, const Pools& pools, int32_t section, int32_t spans, float sectionStart,
               float spanLength, Timeline& out) {
    const int nFns = g.rand() % r.fnMod + r.fnBase;
    std::array<ActionFn, 4> fns{};
    for (int i = 0; i < nFns; ++i) fns[static_cast<size_t>(i)] = r.table[g.rand() % r.tableSize];

    const int nTemplates = nFns * (g.rand() % 4 + 1);
    std::array<TimelineClip, kTemplatesPerSection> templates{};
    const double S = spanLength;
    for (int j = 0; j < nTemplates; ++j) {
        const float u1 = unitDraw(g);
        const float u2 = unitDraw(g);
        float duration = spanLength;
        if (r.durationSpread != 0) {
            const float u3 = unitDraw(g);
            duration = static_cast<float>((1.0 + static_cast<double>(r.durationSpread) * u3) * S);
        }
        ClipAction a;
        a.seed = pools.seeds[static_cast<size_t>(g.rand()) % pools.seeds.size()];
        a.action = fns[static_cast<size_t>(g.rand() % nFns)];
        a.offset = 0;
        a.duration = duration;
        a.fadeIn = static_cast<float>((static_cast<double>(0.1f) + static_cast<double>(0.05f) * u2) * S);
        a.fadeOut = static_cast<float>((static_cast<double>(0.1f) + static_cast<double>(0.05f) * u1) * S);
        TimelineClip& t = templates[static_cast<size_t>(j)];
        t.length = std::max(t.length, duration);
        t.actions.push_back(a);
    }

    for (int32_t i = 0; i < spans; ++i) {
        const float value = pools.values[static_cast<size_t>(g.rand()) % pools.values.size()];
        TimelineClip clip = templates[static_cast<size_t>(g.rand() % nTemplates)];
        clip.start = static_cast<float>(static_cast<double>(sectionStart) + i * S);
        clip.seedOverride = -1;
        clip.fadeInOverride = 0;
        clip.fadeOutOverride = 0;
        clip.clipValue = value;
        clip.lane = r.lane;
        clip.section = section;
        clip.span = i;
        out.clips.push_back(std::move(clip));
    }
}

}  // namespace

void buildTimeline(Timeline& timeline, int32_t seed, float stepLength, int32_t sectionCount,
                   const int32_t* spanCount, Generator& rng) {
    static const LaneRecipe kLanes[kLaneCount] = {
        {Lane::Camera, true, 4, 2, 5, 3, 2, 1, CameraTable.data(), 3, 0.5f},
        {Lane::Backdrop, true, 2, 1, 2, 2, 3, 1, BackdropTable.data(), 4, 0},
        {Lane::PostA, false, 0, 0, 0, 0, 4, 1, PostTableA.data(), 5, 0.25f},
        {Lane::Foreground, true, 4, 2, 5, 3, 2, 1, ForegroundTable.data(), 4, 0},
        {Lane::PostB, false, 0, 0, 0, 0, 3, 1, PostTableB.data(), 4, 0},
    };
    rng.srand(static_cast<uint32_t>(seed));
    const float spanLength = static_cast<float>(32.0 * stepLength);
    float sectionStart = 0;
    sectionCount = std::clamp(sectionCount, 0, kMaxSections);
    for (int32_t k = 0; k < sectionCount; ++k) {
        const int32_t spans = std::max(spanCount[k], 0);
        Pools pools;
        for (const LaneRecipe& r : kLanes) {
            if (r.ownPools) drawPools(rng, r, pools);
            buildLane(rng, r, pools, k, spans, sectionStart, spanLength, timeline);
        }
        sectionStart = static_cast<float>(sectionStart + static_cast<double>(spans) * spanLength);
    }
}

void buildTimeline(Timeline& timeline, const SongLayout& layout, Generator& rng) {
    buildTimeline(timeline, layout.seed, layout.stepLength, layout.sectionCount, layout.spanCount.data(), rng);
}

}  // namespace vortel
