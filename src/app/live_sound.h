#pragma once
// One live show's sound: the song, the wave image the player reads and the
// thread that writes it ahead of the player.
#include <cstdint>
#include <functional>
#include <memory>

#include "audio/audio_stream.h"
#include "audio/sound_thread.h"
#include "core/rng.h"
#include "song/song_player.h"

namespace vortel {

// Seconds the sound thread keeps written ahead of the player.
constexpr float kSoundLeadSeconds = 10.0f;

struct LiveSound {
    // The drums' noise draws from a generator of the sound's own: the
    // composer re-seeds it from the seed and the noise goes on from there,
    // so the live song is the --wav song sample for sample, whatever the
    // frames do meanwhile.
    Generator rng;
    std::unique_ptr<SongPlayer> song;
    SampleSource* source = nullptr;  // what the image is written from: the song, or a test's stand-in
    std::unique_ptr<AudioStream> stream;
    std::unique_ptr<SoundThread> thread;  // last: stops before the rest goes

    // Starts the thread that writes the image from here on.
    void startWriting() { thread = std::make_unique<SoundThread>(*stream, kSoundLeadSeconds); }
};

// A stand-in between the song and the image (tests watch or hold the
// synthesis through it); null: the song itself.
using SoundSourceWrap = std::function<SampleSource*(SampleSource& song)>;

// Composes the song of `seed` at `bpm` and writes its first seconds into a
// new image (no thread yet). Runs on any thread.
std::unique_ptr<LiveSound> makeLiveSound(int32_t seed, float bpm, AudioStream::Clock clock,
                                         const SoundSourceWrap& wrap = {});

}  // namespace vortel
