#include "app/frame_loop.h"

namespace vortel {

LoopResult runFrameLoop(Host& host, DemoState& state, const FrameHooks& hooks, ShowClock* clock) {
    LoopResult result;
    ShowClock own;
    if (!clock) {
        own.start(host.ticks(), 0);
        state.songTime = 0;
        clock = &own;
    }
    for (;;) {
        float now = clock->at(host.ticks());
        state.frameDelta = now - state.songTime;
        state.songTime = now;
        if (hooks.renderAudio) hooks.renderAudio();
        FrameInput input = host.pollInput();
        if (hooks.handleInput) hooks.handleInput(input);
        if (hooks.drawFrame) hooks.drawFrame();
        host.swapBuffers();
        ++result.frames;
        if (input.quit) {
            result.end = LoopEnd::Quit;
            return result;
        }
        if (input.escape) {
            result.end = LoopEnd::Escape;
            return result;
        }
        if (!(state.songLength + 1.0f > state.songTime)) {
            if (hooks.nextShow && hooks.nextShow()) continue;
            result.end = LoopEnd::SongOver;
            return result;
        }
    }
}

}  // namespace vortel
