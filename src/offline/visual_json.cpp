#include "offline/visual_json.h"

#include "visuals/timeline/action_tables.h"
#include "visuals/frame/frame.h"

namespace vortel {

namespace {

template <size_t N>
Json floats(const std::array<float, N>& v) {
    Json a = Json::array();
    for (float x : v) a.push_back(x);
    return a;
}

Json vec3(const Vec3& v) { return Json::array({v.x, v.y, v.z}); }

Json drawToJson(const Draw& d) {
    Json j = Json::object();
    j["action"] = d.action;
    j["mesh"] = meshName(d.mesh);
    if (d.mesh == MeshKind::Lines) {
        const std::vector<Vec3>& v = d.lines.vertices;  // the pen ends at the last one
        j["colour"] = Json::array({d.colour[0], d.colour[1], d.colour[2]});
        j["vertices"] = static_cast<int32_t>(v.size());
        j["end"] = vec3(v.empty() ? Vec3{0, 0, 0} : v.back());
        return j;
    }
    j["program"] = programPairName(d.program);
    j["model"] = floats(d.model);
    j["meshScale"] = floats(d.meshScale);
    j["texCoordScale"] = floats(d.texCoordScale);
    j["colour"] = floats(d.colour);
    j["specularColour"] = floats(d.specularColour);
    j["specularParams"] = floats(d.specularParams);
    j["surfaceParams"] = floats(d.surfaceParams);
    if (d.mesh == MeshKind::Shape) {
        j["preset"] = d.preset;
        j["morph"] = d.morph;
        j["segments"] = d.segments;
        j["phaseA"] = d.phaseA;
        j["phaseB"] = d.phaseB;
    }
    return j;
}

}  // namespace

Json timelineToJson(const Timeline& timeline) {
    Json clips = Json::array();
    for (const TimelineClip& c : timeline.clips) {
        Json j = Json::object();
        j["lane"] = laneName(c.lane);
        j["section"] = c.section;
        j["span"] = c.span;
        j["start"] = c.start;
        j["clipValue"] = c.clipValue;
        j["length"] = c.length;
        const ClipAction a = c.actions.empty() ? ClipAction{} : c.actions.front();
        j["action"] = a.action ? actionName(a.action) : nullptr;
        j["seed"] = a.seed;
        j["duration"] = a.duration;
        j["fadeIn"] = a.fadeIn;
        j["fadeOut"] = a.fadeOut;
        clips.push_back(std::move(j));
    }
    return clips;
}

Json frameToJson(const Show& show, float time) {
    FrameContext after;
    const FrameLog log = dryRunFrame(show, time, 1.0f / 60.0f, &after);
    const CameraPose& c = after.camera;
    Json j = Json::object();
    j["time"] = time;
    Json actions = Json::array();
    for (const ActionRecord& a : log.actions)
        actions.push_back(Json{{"lane", laneName(a.lane)}, {"action", a.action}, {"seed", a.seed}, {"weight", a.weight}});
    j["actions"] = std::move(actions);
    j["cameraFrom"] = vec3(c.from);
    j["cameraTarget"] = vec3(c.target);
    j["cameraDolly"] = c.dolly;
    j["lightPosition"] = Json::array({c.light.x, c.light.y, c.light.z});
    Json draws = Json::array();
    for (const Draw& d : log.draws) draws.push_back(drawToJson(d));
    j["draws"] = std::move(draws);
    return j;
}

}  // namespace vortel
