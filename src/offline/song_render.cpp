#include "offline/song_render.h"

#include <cmath>

#include <memory>

#include "audio/pcm.h"
#include "core/rng.h"
#include "song/song_player.h"

namespace vortel {

int64_t offlineSampleCount(float songLength) {
    return std::llround((static_cast<double>(songLength) + kTailSeconds) * kSampleRate);
}

std::vector<int16_t> renderSongOffline(const SongLayout& layout, std::string_view part, const Progress& progress) {
    // The composer re-seeds the generator; the drums' noise goes on from
    // where it left it.
    Generator rng;
    auto player = std::make_unique<SongPlayer>(layout.seed, layout.bpm, rng);
    if (!part.empty()) player->keepOnlyPart(part);

    const int64_t total = offlineSampleCount(layout.songLength);
    std::vector<int16_t> out(static_cast<size_t>(total));
    const int64_t kReport = kSampleRate / 2;  // every half second of audio
    for (int64_t n = 0; n < total; ++n) {
        float t = sampleTime(n);
        out[static_cast<size_t>(n)] = toPcm16(player->next(t));
        if (progress && (n + 1) % kReport == 0 && !progress(static_cast<double>(n + 1) / total)) {
            out.resize(static_cast<size_t>(n + 1));
            return out;
        }
    }
    if (progress) progress(1.0);
    return out;
}

}  // namespace vortel
