#pragma once
// One seed's show as a value: what it is made of (the song's layout, the
// generator its structure and pictures draw from, its GL objects, its
// timeline) and what its frames carry from one to the next (camera, light,
// material and shape settings, the last finished square in slot 0).
// Several shows can live side by side in one process and one context;
// nothing of one reaches the other.
#include <cstdint>
#include <set>

#include "core/rng.h"
#include "core/song_layout.h"
#include "gfx/gpu_resources.h"
#include "visuals/plan/frame_scratch.h"
#include "visuals/timeline/frame_context.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

// The window a show opens with.
constexpr int32_t kDefaultWindowWidth = 800;
constexpr int32_t kDefaultWindowHeight = 600;

struct Show {
    SongLayout layout;  // seed, tempo, step, sections, length (song_setup.h fills it)
    // The generator of the show. The song's set-up, the composer, the
    // textures and the timeline each re-seed it in turn; the frames' scenes
    // and (where the song plays alongside the pictures) the noise of the
    // drums then share it.
    Generator rng;
    GpuResources gpu;   // textures, programs, render targets (show_graphics.h)
    Timeline timeline;
    // What the last frame left for the next; its pointers are set for each
    // frame (frame.h).
    FrameContext frame;
    FrameScratch scratch;

    int32_t windowWidth = kDefaultWindowWidth;  // the window a finished frame is stretched over
    int32_t windowHeight = kDefaultWindowHeight;

    // With reporting on, each frame checks glGetError once and prints the
    // first error of each kind on stderr, naming the action that ran last.
    bool reportGlErrors = false;
    std::set<uint32_t> glErrorsSeen;

    Show() = default;
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;
};

}  // namespace vortel
