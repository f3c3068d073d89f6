#include "app/offline.h"

#include <cmath>

#include "core/demo_state.h"
#include "app/startup.h"
#include "audio/pcm.h"
#include "audio/synth.h"
#include "gfx/texture_images.h"
#include "app/song_json.h"
#include "app/visual_json.h"
#include "core/sine_table.h"
#include "visuals/timeline.h"
#include "song/sequencer.h"

namespace vortel {

int64_t offlineSampleCount(float songLength) {
    return std::llround((static_cast<double>(songLength) + kTailSeconds) * kSampleRate);
}

std::vector<int16_t> renderSongOffline(int32_t seed, std::string_view part, const Progress& progress) {
    DemoState& state = demo();
    state.seed = seed;
    setupSong(state);
    Synth synth(kSampleRate);
    Sequencer sequencer(synth);
    compose(sequencer, seed, state.bpm);
    if (!part.empty()) sequencer.keepOnlyPart(part);

    const int64_t total = offlineSampleCount(state.songLength);
    std::vector<int16_t> out(static_cast<size_t>(total));
    const int64_t kReport = kSampleRate / 2;  // every half second of audio
    for (int64_t n = 0; n < total; ++n) {
        float t = sampleTime(n);
        sequencer.tick(t);
        out[static_cast<size_t>(n)] = toPcm16(synth.mix(t));
        if (progress && (n + 1) % kReport == 0 && !progress(static_cast<double>(n + 1) / total)) {
            out.resize(static_cast<size_t>(n + 1));
            return out;
        }
    }
    if (progress) progress(1.0);
    return out;
}

Json inspectShow(int32_t seed, std::optional<float> at) {
    DemoState& state = demo();
    state.seed = seed;
    setupSong(state);
    Json j;
    j["seed"] = seed;
    j["bpm"] = state.bpm;
    j["stepLength"] = state.stepLength;
    j["songLength"] = state.songLength;
    {
        Synth synth(kSampleRate);
        Sequencer sequencer(synth);
        SongSummary song = compose(sequencer, seed, state.bpm);
        j["song"] = songToJson(song);
    }
    TextureSummary tex = textureSummary(seed);
    Json t;
    t["motif"] = tex.motif;
    t["patternCrc32"] = tex.patternCrc32;
    t["reliefCrc32"] = tex.reliefCrc32;
    j["textures"] = std::move(t);
    Timeline& timeline = demoTimeline();
    timeline.clips.clear();
    buildTimeline();
    j["timeline"] = timelineToJson(timeline);
    if (at) {
        fillSineTable(state);
        j["frame"] = frameToJson(*at);
    }
    return j;
}

}  // namespace vortel
