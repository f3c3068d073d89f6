#pragma once
#include <cstdint>

#include "core/elapsed_time.h"

namespace vortel {

// The live show's song time: the time at an anchor tick plus the real time
// since, frozen while paused and moved by seeks. Anchored at 0, it reads
// exactly what the plain frame clock reads (elapsedSeconds from the start).
struct ShowClock {
    uint32_t anchorTick = 0;
    float anchorTime = 0;  // song time at anchorTick, or the frozen time while paused
    bool paused = false;

    // Runs from `time` at `tick`.
    void start(uint32_t tick, float time) {
        anchorTick = tick;
        anchorTime = time;
        paused = false;
    }
    float at(uint32_t tick) const {
        if (paused) return anchorTime;
        const float since = elapsedSeconds(anchorTick, tick);
        return anchorTime == 0 ? since : static_cast<float>(static_cast<double>(anchorTime) + since);
    }
    // Holds `time` (the song time of the picture on screen) until resume.
    void pauseAt(float time) {
        anchorTime = time;
        paused = true;
    }
    void resume(uint32_t tick) {
        anchorTick = tick;
        paused = false;
    }
    // Jumps to `time`, paused or not.
    void seek(uint32_t tick, float time) {
        anchorTick = tick;
        anchorTime = time;
    }
};

}  // namespace vortel
