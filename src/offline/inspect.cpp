#include "offline/inspect.h"

#include <memory>

#include "core/rng.h"
#include "gfx/texture_images.h"
#include "offline/song_json.h"
#include "offline/visual_json.h"
#include "song/song_player.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/show.h"

namespace vortel {

Json inspectShow(const SongLayout& layout, std::optional<float> at) {
    Json j;
    j["seed"] = layout.seed;
    j["bpm"] = layout.bpm;
    j["stepLength"] = layout.stepLength;
    j["songLength"] = layout.songLength;
    Generator songRng;
    j["song"] = songToJson(std::make_unique<SongPlayer>(layout.seed, layout.bpm, songRng)->song);
    TextureSummary tex = textureSummary(layout.seed);
    Json t;
    t["motif"] = tex.motif;
    t["patternCrc32"] = tex.patternCrc32;
    t["reliefCrc32"] = tex.reliefCrc32;
    j["textures"] = std::move(t);
    // The pictures' side of the show, without GL.
    auto show = std::make_unique<Show>();
    show->layout = layout;
    buildTimeline(show->timeline, layout, show->rng);
    j["timeline"] = timelineToJson(show->timeline);
    if (at) j["frame"] = frameToJson(*show, *at);
    return j;
}

}  // namespace vortel
