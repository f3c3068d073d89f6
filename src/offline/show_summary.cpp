#include "offline/show_summary.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/rng.h"
#include "visuals/timeline/action_tables.h"

namespace vortel {

namespace {

// Appends `name` unless the list holds it already.
void addOnce(Json& list, const char* name) {
    for (const Json& n : list)
        if (n.get<std::string>() == name) return;
    list.push_back(name);
}

}  // namespace

Json summarizeTimeline(const Timeline& timeline, float stepLength, float songLength) {
    // Every lane has one clip per span, all starting together, so the spans'
    // starts are the distinct clip starts in (section, span) order.
    std::map<std::pair<int32_t, int32_t>, float> starts;
    for (const TimelineClip& c : timeline.clips) starts.emplace(std::make_pair(c.section, c.span), c.start);
    std::vector<float> spanStart;
    for (const auto& [key, start] : starts) spanStart.push_back(start);
    const float spanLength = static_cast<float>(32.0 * stepLength);
    // Float starts of neighbouring clips may differ by a rounding step; a
    // clip must reach this far into a span to count as running in it.
    const double slack = 1e-3 * spanLength;

    Json spans = Json::array();
    for (size_t i = 0; i < spanStart.size(); ++i) {
        const double from = spanStart[i];
        const double to = i + 1 < spanStart.size() ? spanStart[i + 1] : std::max<double>(songLength, from + spanLength);
        Json camera = Json::array(), scenes = Json::array(), post = Json::array();
        for (Lane lane : {Lane::Camera, Lane::Backdrop, Lane::Foreground, Lane::PostA, Lane::PostB}) {
            Json& list = lane == Lane::Camera ? camera : (lane == Lane::Backdrop || lane == Lane::Foreground) ? scenes : post;
            for (const TimelineClip& c : timeline.clips) {
                if (c.lane != lane) continue;
                for (const ClipAction& a : c.actions) {
                    if (!a.action) continue;
                    const double begin = static_cast<double>(c.start) + a.offset;
                    const double end = begin + a.duration;
                    if (begin < to - slack && end > from + slack) addOnce(list, actionName(a.action));
                }
            }
        }
        Json s = Json::object();
        s["span"] = static_cast<int>(i);
        s["start"] = spanStart[i];
        s["camera"] = std::move(camera);
        s["scenes"] = std::move(scenes);
        s["post"] = std::move(post);
        spans.push_back(std::move(s));
    }
    Json j = Json::object();
    j["stepLength"] = stepLength;
    j["songLength"] = songLength;
    j["spanLength"] = spanLength;
    j["spans"] = std::move(spans);
    return j;
}

Json showSummary(const SongLayout& layout) {
    Timeline timeline;
    Generator rng;
    buildTimeline(timeline, layout, rng);
    Json j = Json::object();
    j["seed"] = layout.seed;
    j["bpm"] = layout.bpm;
    Json rest = summarizeTimeline(timeline, layout.stepLength, layout.songLength);
    for (auto it = rest.begin(); it != rest.end(); ++it) j[it.key()] = std::move(it.value());
    return j;
}

}  // namespace vortel
