#pragma once
#include <cstdint>
#include <functional>

#include "core/demo_state.h"
#include "core/elapsed_time.h"
#include "platform/host.h"

namespace vortel {

// The per-frame work the loop drives, in this order each frame:
// renderAudio (synthesis under the frame's budget), then drawFrame (clear,
// picture) before the buffer swap. Either may be empty.
struct FrameHooks {
    std::function<void()> renderAudio;
    std::function<void()> drawFrame;
};

enum class LoopEnd { Quit, Escape, SongOver };

struct LoopResult {
    LoopEnd end = LoopEnd::SongOver;
    int frames = 0;
};

// Runs frames until a quit arrives, Escape is pressed, or songTime reaches
// songLength + 1 s. songTime starts at 0 and counts from the tick read here.
LoopResult runFrameLoop(Host& host, DemoState& state, const FrameHooks& hooks);

}  // namespace vortel
