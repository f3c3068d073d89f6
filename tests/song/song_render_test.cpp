// Whole songs played the way the audio stream plays them: per sample, the
// sequencer's tick and then the synth's mix.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "core/rng.h"
#include "core/song_layout.h"
#include "song/song_setup.h"
#include "audio/synth.h"
#include "song/composer.h"
#include "song/sequencer.h"

// Counts heap allocations of this test program.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<long> g_allocations{0};
}
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace vortel {
namespace {

constexpr int kRate = 22050;

// A seed's song as the show plays it: one generator for the layout, the
// composer and then the synth's noise.
struct Song {
    explicit Song(int32_t seed) {
        SongLayout layout;
        layout.seed = seed;
        setupSong(layout, rng);
        summary = compose(sequencer, layout.seed, layout.bpm, rng);
        synth.noise = &rng;
        samples = std::lround((static_cast<double>(layout.songLength) + 5.0) * kRate);
    }
    Generator rng;
    Synth synth{kRate};
    Sequencer sequencer{synth};
    SongSummary summary;
    long samples = 0;
};

struct Start {
    float start;
    int32_t note;
    float gain;
    bool operator<(const Start& o) const {
        return std::tie(start, note, gain) < std::tie(o.start, o.note, o.gain);
    }
    bool operator==(const Start&) const = default;
};

TEST(SongRender, EveryNoteStartsOnceAtMostOneSecondAheadAndNoneIsLost) {
    for (int32_t seed : {1, 2, 1000}) {
        SCOPED_TRACE(seed);
        Song song(seed);
        std::vector<Start> expected;
        for (const InstanceSummary& inst : song.summary.instances)
            for (const Note& n : inst.notes)
                expected.push_back({static_cast<float>(static_cast<double>(inst.offset) + n.time),
                                    n.pitch + inst.transpose,
                                    static_cast<float>(static_cast<double>(n.velocity) * inst.volume)});

        std::vector<Start> placed;
        std::vector<bool> wasActive(kVoiceCount, false);
        int mostBusy = 0;
        for (long n = 0; n < song.samples; ++n) {
            const float t = static_cast<float>(n) / static_cast<float>(kRate);
            song.sequencer.tick(t);
            for (int v = 0; v < kVoiceCount; ++v) {
                const Voice& voice = song.synth.voices[v];
                if (!voice.active || wasActive[v]) continue;
                placed.push_back({voice.start, voice.note, voice.gain});
                ASSERT_GE(voice.start, t);
                ASSERT_LT(voice.start, t + 1.0f);
            }
            const float mixed = song.synth.mix(t);
            ASSERT_TRUE(std::isfinite(mixed)) << "at sample " << n;
            int busy = 0;
            for (int v = 0; v < kVoiceCount; ++v) busy += (wasActive[v] = song.synth.voices[v].active);
            mostBusy = std::max(mostBusy, busy);
        }
        EXPECT_EQ(placed.size(), expected.size());
        std::sort(placed.begin(), placed.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_TRUE(placed == expected);
        EXPECT_LT(mostBusy, kVoiceCount);
        EXPECT_EQ(song.synth.activeVoices(), 0);  // every tail has run out
    }
}

TEST(SongRender, ReplayingASongOnWarmVoicesAllocatesNothing) {
    Song song(2);
    auto render = [&song] {
        for (long n = 0; n < song.samples; ++n) {
            const float t = static_cast<float>(n) / static_cast<float>(kRate);
            song.sequencer.tick(t);
            song.synth.mix(t);
        }
    };
    render();
    ASSERT_EQ(song.synth.activeVoices(), 0);
    song.sequencer.lastTick = -1.5f;
    const long before = g_allocations.load();
    render();
    EXPECT_EQ(g_allocations.load() - before, 0);
}

// Per-span RMS of one part rendered alone.
std::vector<double> spanLevels(int32_t seed, const char* part) {
    Song song(seed);
    song.sequencer.keepOnlyPart(part);
    const double span = song.summary.spanLength;
    std::vector<double> sum(17, 0.0), count(17, 0.0);
    for (long n = 0; n < song.samples; ++n) {
        const float t = static_cast<float>(n) / static_cast<float>(kRate);
        song.sequencer.tick(t);
        const double v = song.synth.mix(t);
        const size_t k = std::min<size_t>(16, static_cast<size_t>(t / span));
        sum[k] += v * v;
        count[k] += 1;
    }
    for (size_t k = 0; k < sum.size(); ++k) sum[k] = std::sqrt(sum[k] / count[k]);
    return sum;
}

TEST(SongRender, StemsSoundOnlyInTheirSpans) {
    const auto drums = spanLevels(1000, "drums");
    for (int k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        if (k >= 2 && k <= 11)
            EXPECT_GT(drums[k], 0.05);
        else
            EXPECT_EQ(drums[k], 0.0);
    }
    const auto pad = spanLevels(1000, "pad");
    for (int k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        if (k >= 4)
            EXPECT_GT(pad[k], 0.01);
        else
            EXPECT_EQ(pad[k], 0.0);
    }
    EXPECT_GT(pad[16], 0.0);  // the last triad's release runs into the tail
}

}  // namespace
}  // namespace vortel
