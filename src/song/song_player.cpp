#include "song/song_player.h"

namespace vortel {

SongPlayer::SongPlayer(int32_t seed, float bpm, Generator& rng, int32_t sampleRate)
    : synth(sampleRate), sequencer(synth), song(compose(sequencer, seed, bpm, rng)) {
    synth.noise = &rng;
}

}  // namespace vortel
