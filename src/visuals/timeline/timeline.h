#pragma once
// The visual script: a list of clips, each binding one timed action (a
// camera, a scene or a post pass) to a stretch of song time. Built once at
// start-up from the seed; playback walks it every frame.
#include <cstdint>
#include <vector>

#include "core/rng.h"
#include "core/song_layout.h"

namespace vortel {

struct ClipAction;
struct FrameContext;

// What every camera, scene and post pass looks like.
// ctx: the frame's shared settings, generator and sinks (frame_context.h);
// seed: the action's own seed (or the clip's override); action: the running
// action, its offset already the absolute start and its fades overridden;
// time: song time (s); clipValue: the clip's free parameter (0..200);
// frameDelta: seconds since the previous frame.
using ActionFn = void (*)(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float frameDelta);

// One timed call of an action. Active for [clip start + offset,
// clip start + offset + duration).
struct ClipAction {
    float offset = 0;    // seconds after the clip's start (the generator writes 0)
    float duration = 0;  // seconds
    float fadeIn = 0;    // length of the weight's rising ramp (s)
    float fadeOut = 0;   // length of the falling ramp at the end (s)
    int32_t seed = 0;    // 0..32767, combined with the global seed by the action
    ActionFn action = nullptr;
};

// The five lanes that run side by side through every span, in the order
// their clips stand in the Timeline within a section.
enum class Lane : int32_t { Camera, Backdrop, PostA, Foreground, PostB };
constexpr int kLaneCount = 5;
const char* laneName(Lane lane);  // "camera", "backdrop", "postA", "foreground", "postB"

struct TimelineClip {
    float length = 0;            // longest duration among the actions (s)
    float start = 0;             // song time the clip begins (s)
    int32_t seedOverride = -1;   // -1: each action its own seed; else passed to every action
    float fadeInOverride = 0;    // 0: none; else replaces every action's fadeIn while it runs
    float fadeOutOverride = 0;   // 0: none; else replaces every action's fadeOut
    float clipValue = 0;         // free parameter in [0, 200] handed to every action
    std::vector<ClipAction> actions;

    // Where the generator put the clip, for inspection; playback ignores it.
    Lane lane = Lane::Camera;
    int32_t section = 0;
    int32_t span = 0;
};

struct Timeline {
    std::vector<TimelineClip> clips;
};

// Re-seeds `rng` with the seed and appends the script for the step length
// and section layout to `timeline` (at most 10 sections). Every draw
// happens in a fixed order; the generator is left after the last one.
void buildTimeline(Timeline& timeline, int32_t seed, float stepLength, int32_t sectionCount,
                   const int32_t* spanCount, Generator& rng);

// The same for a song's layout.
void buildTimeline(Timeline& timeline, const SongLayout& layout, Generator& rng);

}  // namespace vortel
