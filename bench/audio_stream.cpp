// Start-up cost of the soundtrack: building the image, composing the song
// and rendering its first five seconds (render(5)), which the show does
// before the first frame.
#include <benchmark/benchmark.h>

#include <memory>

#include "audio/audio_stream.h"
#include "core/rng.h"
#include "core/song_layout.h"
#include "platform/clock.h"
#include "song/song_player.h"
#include "song/song_setup.h"

namespace {

void BM_StreamInit(benchmark::State& state) {
    vortel::SongLayout layout;
    layout.seed = static_cast<int32_t>(state.range(0));
    vortel::Generator rng;
    vortel::setupSong(layout, rng);
    int32_t samples = 0;
    for (auto _ : state) {
        auto song = std::make_unique<vortel::SongPlayer>(layout.seed, layout.bpm, rng);
        vortel::AudioStream stream(&vortel::systemTicks);
        stream.init(*song);
        samples = stream.samplesWritten;
        benchmark::DoNotOptimize(stream.samples[samples - 1]);
    }
    state.counters["samples"] = samples;
    state.counters["audio_s"] = samples / 22050.0;
}
BENCHMARK(BM_StreamInit)->Arg(1)->Arg(2)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
