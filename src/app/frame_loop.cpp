#include "app/frame_loop.h"

namespace vortel {

LoopResult runFrameLoop(Host& host, DemoState& state, const FrameHooks& hooks) {
    LoopResult result;
    state.songTime = 0;
    const uint32_t t0 = host.ticks();
    for (;;) {
        float now = elapsedSeconds(t0, host.ticks());
        state.frameDelta = now - state.songTime;
        state.songTime = now;
        if (hooks.renderAudio) hooks.renderAudio();
        FrameInput input = host.pollInput();
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
            result.end = LoopEnd::SongOver;
            return result;
        }
    }
}

}  // namespace vortel
