#pragma once
#include <cstdint>
#include <functional>

#include "app/show_clock.h"
#include "core/elapsed_time.h"
#include "platform/host.h"

namespace vortel {

// The per-frame work the loop drives, in this order each frame:
// renderAudio (synthesis under the frame's budget), then the input poll and
// handleInput, then drawFrame (the picture) before the buffer swap. Any
// may be empty.
struct FrameHooks {
    std::function<void()> renderAudio;
    std::function<void()> drawFrame;
    // The frame's input, before its picture: the live show's keys. May move
    // the clock and the play position (pause, seek, another seed).
    std::function<void(const FrameInput&)> handleInput;
    // At the end of a show: true when it has started the next one (and
    // restarted the clock), false to end the loop.
    std::function<bool()> nextShow;
};

// Where playback stands: the song time of the frame being drawn, the time
// since the previous frame's, and the length of the song playing.
struct PlayPosition {
    float songTime = 0;
    float frameDelta = 0;
    float songLength = 0;
};

enum class LoopEnd { Quit, Escape, SongOver };

struct LoopResult {
    LoopEnd end = LoopEnd::SongOver;
    int frames = 0;
};

// Runs frames until a quit arrives, Escape is pressed, or songTime reaches
// songLength + 1 s with no next show. Without a clock, songTime starts at 0
// and counts from the tick read here; with one, the clock (started by the
// caller, steered by the hooks) gives each frame's songTime.
LoopResult runFrameLoop(Host& host, PlayPosition& position, const FrameHooks& hooks, ShowClock* clock = nullptr);

}  // namespace vortel
