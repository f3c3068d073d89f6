#pragma once
#include <cstdint>
#include <functional>

#include "core/demo_state.h"
#include "platform/host.h"

namespace vortel {

// Seconds between two readings of a millisecond counter that wraps at 2^32:
// the difference is taken as a signed 32-bit value and a negative one (the
// counter wrapped) is lifted by 2^32, then scaled by the float nearest 0.001.
float elapsedSeconds(uint32_t from, uint32_t now);

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
