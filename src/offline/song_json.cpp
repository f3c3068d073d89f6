#include "offline/song_json.h"

#include "audio/channel.h"
#include "audio/instrument.h"

namespace vortel {

namespace {

Json noteToJson(const Note& note) {
    Json j = Json::object();
    j["time"] = note.time;
    j["length"] = note.length;
    j["instrument"] = note.instrument ? Json(note.instrument->name) : Json(nullptr);
    j["channel"] = note.channel ? Json(note.channel->name) : Json(nullptr);
    j["pitch"] = note.pitch;
    j["velocity"] = note.velocity;
    j["chord"] = note.chord;
    return j;
}

}  // namespace

Json songToJson(const SongSummary& song) {
    Json j = Json::object();
    j["kick"] = song.kick;
    j["snare"] = song.snare;
    j["pad"] = song.pad;
    j["bass"] = song.bass;
    j["rootOffsets"] = song.rootOffsets;
    j["bassPattern"] = song.bassPattern;
    Json instances = Json::array();
    for (const InstanceSummary& inst : song.instances) {
        Json i = Json::object();
        i["span"] = inst.span;
        i["pattern"] = inst.pattern;
        i["offset"] = inst.offset;
        i["transpose"] = inst.transpose;
        i["volume"] = inst.volume;
        Json notes = Json::array();
        for (const Note& n : inst.notes) notes.push_back(noteToJson(n));
        i["notes"] = std::move(notes);
        instances.push_back(std::move(i));
    }
    j["instances"] = std::move(instances);
    return j;
}

}  // namespace vortel
