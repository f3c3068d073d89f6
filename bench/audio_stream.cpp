// Start-up cost of the soundtrack: building the image, composing the song
// and rendering its first five seconds (render(5)), which the show does
// before the first frame; and a seek as the live show makes it: the cursor
// moved far ahead and the sound thread catching up with it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

#include "audio/audio_stream.h"
#include "audio/sound_thread.h"
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

// From a seek `range(0)` seconds into the song until the sound there is
// written: the picture moves at once, this is how long the sound stays
// silent. Real time: the work is on the sound thread.
void BM_SeekUntilSoundCaughtUp(benchmark::State& state) {
    vortel::SongLayout layout;
    layout.seed = 5;
    vortel::Generator rng;
    vortel::setupSong(layout, rng);
    const int64_t target = state.range(0) * int64_t{22050};
    for (auto _ : state) {
        state.PauseTiming();
        vortel::Generator songRng;
        auto song = std::make_unique<vortel::SongPlayer>(layout.seed, layout.bpm, songRng);
        vortel::AudioStream stream(&vortel::systemTicks);
        stream.init(*song);
        vortel::SoundThread thread(stream, 10.0f);
        state.ResumeTiming();
        stream.moveCursor(target);
        thread.wake();
        while (!stream.caughtUp()) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}
BENCHMARK(BM_SeekUntilSoundCaughtUp)->Arg(10)->Arg(30)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
