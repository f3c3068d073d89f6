#include "offline/inspect.h"

#include <memory>

#include "core/demo_state.h"
#include "core/sine_table.h"
#include "gfx/texture_images.h"
#include "offline/song_json.h"
#include "offline/visual_json.h"
#include "song/song_player.h"
#include "song/song_setup.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

Json inspectShow(int32_t seed, std::optional<float> at) {
    DemoState& state = demo();
    state.seed = seed;
    setupSong(state);
    Json j;
    j["seed"] = seed;
    j["bpm"] = state.bpm;
    j["stepLength"] = state.stepLength;
    j["songLength"] = state.songLength;
    j["song"] = songToJson(std::make_unique<SongPlayer>(seed, state.bpm)->song);
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
