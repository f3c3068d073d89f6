// Offline rendering speed of whole songs: compose a seed's song, then per
// sample run the sequencer's tick and the synth's mix, as the audio stream
// does, for the song's length plus a 5 s release tail.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "core/rng.h"
#include "core/song_layout.h"
#include "song/song_setup.h"
#include "audio/synth.h"
#include "song/composer.h"
#include "song/sequencer.h"

namespace {

using namespace vortel;

constexpr int32_t kRate = 22050;

// A seed's layout, as the start-up derives it, and the number of samples of
// its song plus the tail.
struct Prepared {
    SongLayout layout;
    int64_t count = 0;
};

Prepared prepareSeed(int32_t seed) {
    Prepared p;
    p.layout.seed = seed;
    Generator rng;
    setupSong(p.layout, rng);
    p.count = std::llround((static_cast<double>(p.layout.songLength) + 5.0) * kRate);
    return p;
}

// Composes the layout's song into the sequencer's synth, drawing from the
// synth's own generator, which its noise then continues.
void composeInto(Sequencer& sequencer, const SongLayout& layout) {
    compose(sequencer, layout.seed, layout.bpm, *sequencer.synth->noise);
}

float renderSamples(Synth& synth, Sequencer& sequencer, int64_t count) {
    float peak = 0;
    for (int64_t n = 0; n < count; ++n) {
        const float t = static_cast<float>(n) / static_cast<float>(kRate);
        sequencer.tick(t);
        peak = std::fmax(peak, std::fabs(synth.mix(t)));
    }
    return peak;
}

// Reports "realtime": seconds of song rendered per CPU second.
void BM_RenderSong(benchmark::State& state) {
    const auto seed = static_cast<int32_t>(state.range(0));
    const Prepared song = prepareSeed(seed);
    const int64_t count = song.count;
    for (auto _ : state) {
        state.PauseTiming();
        Synth synth(kRate);
        Sequencer sequencer(synth);
        composeInto(sequencer, song.layout);
        state.ResumeTiming();
        benchmark::DoNotOptimize(renderSamples(synth, sequencer, count));
    }
    state.counters["songSeconds"] = static_cast<double>(count) / kRate;
    state.counters["realtime"] =
        benchmark::Counter(static_cast<double>(count) / kRate, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RenderSong)->Arg(1)->Arg(2)->Arg(1000)->Arg(4242)->Unit(benchmark::kMillisecond)->Iterations(3);

// One part alone, as the stem export renders it.
void BM_RenderStem(benchmark::State& state) {
    static const char* kParts[] = {"drums", "hihat", "pad", "bass"};
    const char* part = kParts[state.range(0)];
    const Prepared song = prepareSeed(1);
    const int64_t count = song.count;
    for (auto _ : state) {
        state.PauseTiming();
        Synth synth(kRate);
        Sequencer sequencer(synth);
        composeInto(sequencer, song.layout);
        sequencer.keepOnlyPart(part);
        state.ResumeTiming();
        benchmark::DoNotOptimize(renderSamples(synth, sequencer, count));
    }
    state.SetLabel(part);
    state.counters["realtime"] =
        benchmark::Counter(static_cast<double>(count) / kRate, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RenderStem)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

// The composer alone (presets, patterns, 54 instances).
void BM_Compose(benchmark::State& state) {
    const Prepared song = prepareSeed(1000);
    for (auto _ : state) {
        Synth synth(kRate);
        Sequencer sequencer(synth);
        Generator rng;
        benchmark::DoNotOptimize(compose(sequencer, song.layout.seed, song.layout.bpm, rng));
    }
}
BENCHMARK(BM_Compose)->Unit(benchmark::kMicrosecond);

// What the start-up pays before playback: compose, then the first 110,349
// samples (render(5) on a fresh stream).
void BM_StartupFirstFiveSeconds(benchmark::State& state) {
    const Prepared song = prepareSeed(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        Synth synth(kRate);
        Sequencer sequencer(synth);
        composeInto(sequencer, song.layout);
        benchmark::DoNotOptimize(renderSamples(synth, sequencer, 110349));
    }
}
BENCHMARK(BM_StartupFirstFiveSeconds)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
