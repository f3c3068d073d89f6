#include "app/live_sound.h"

namespace vortel {

std::unique_ptr<LiveSound> makeLiveSound(int32_t seed, float bpm, AudioStream::Clock clock,
                                         const SoundSourceWrap& wrap) {
    auto sound = std::make_unique<LiveSound>();
    sound->song = std::make_unique<SongPlayer>(seed, bpm, sound->rng);
    sound->source = sound->song.get();
    if (wrap)
        if (SampleSource* s = wrap(*sound->song)) sound->source = s;
    sound->stream = std::make_unique<AudioStream>(clock);
    sound->stream->init(*sound->source);
    return sound;
}

}  // namespace vortel
