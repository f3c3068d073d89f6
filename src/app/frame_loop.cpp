#include "app/frame_loop.h"

namespace vortel {

LoopResult runFrameLoop(Host& host, PlayPosition& position, const FrameHooks& hooks, ShowClock* clock) {
    LoopResult result;
    ShowClock own;
    if (!clock) {
        own.start(host.ticks(), 0);
        position.songTime = 0;
        clock = &own;
    }
    for (;;) {
        float now = clock->at(host.ticks());
        position.frameDelta = now - position.songTime;
        position.songTime = now;
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
        if (!(position.songLength + 1.0f > position.songTime)) {
            if (hooks.nextShow && hooks.nextShow()) continue;
            result.end = LoopEnd::SongOver;
            return result;
        }
    }
}

}  // namespace vortel
