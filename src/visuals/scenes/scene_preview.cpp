#include "visuals/scenes/scene_preview.h"

namespace vortel {

namespace {

TimelineClip oneActionClip(ActionFn fn, int32_t seed, float length, Lane lane) {
    TimelineClip c;
    c.length = length;
    c.lane = lane;
    ClipAction a;
    a.duration = length;
    a.seed = seed;
    a.action = fn;
    c.actions.push_back(a);
    return c;
}

}  // namespace

Timeline scenePreview(ActionFn camera, ActionFn scene, int32_t sceneSeed, float length) {
    Timeline t;
    t.clips.push_back(oneActionClip(camera, 0, length, Lane::Camera));
    t.clips.push_back(oneActionClip(scene, sceneSeed, length, Lane::Foreground));
    return t;
}

}  // namespace vortel
