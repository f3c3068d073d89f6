#include "song/song_player.h"

namespace vortel {

SongPlayer::SongPlayer(int32_t seed, float bpm, int32_t sampleRate)
    : synth(sampleRate), sequencer(synth), song(compose(sequencer, seed, bpm)) {}

}  // namespace vortel
