#include "app/live_show.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/device_player.h"
#include "app/frame_loop.h"
#include "app/startup.h"
#include "audio/audio_stream.h"
#include "core/demo_state.h"
#include "gfx/gl_api.h"
#include "platform/audio_device.h"
#include "platform/clock.h"
#include "platform/sdl_window.h"
#include "song/song_player.h"
#include "song/song_setup.h"
#include "visuals/frame.h"
#include "visuals/frame_times.h"
#include "visuals/show_graphics.h"
#include "visuals/warm_up.h"

namespace vortel {

namespace {

// When the process started, as near as the program can tell.
const auto kLaunched = std::chrono::steady_clock::now();

void printStartFacts(const DemoState& s) {
    std::fprintf(stderr, "vortel: seed %d\n", s.seed);
    std::fprintf(stderr, "vortel: tempo %.4f bpm, step %.6f s, song %.4f s\n",
                 static_cast<double>(s.bpm), static_cast<double>(s.stepLength),
                 static_cast<double>(s.songLength));
}

}  // namespace

int runLiveShow(const Options& opt) {
    DemoState& state = demo();
    const std::string title = windowTitle(state.seed);

    std::string why;
    if (!writeReplayFile(state.seed, &why) && opt.verbose)
        std::fprintf(stderr, "vortel: %s (going on)\n", why.c_str());

    setupSong(state);
    if (opt.verbose) printStartFacts(state);

    WindowOptions wo;
    wo.width = state.windowWidth;
    wo.height = state.windowHeight;
    wo.title = title;
    wo.vsync = !opt.noVsync;
    wo.fullscreen = opt.fullscreen;
    auto window = SdlWindow::open(wo, &why);
    if (!window) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitFailure;
    }
    state.deviceContext = window->handle();
    if (opt.verbose) {
        std::fprintf(stderr, "vortel: GL renderer %s, version %s\n", window->renderer().c_str(),
                     window->glVersion().c_str());
        std::fprintf(stderr, "vortel: depth buffer %d bits%s\n", window->depthBits(),
                     window->depthFellBack() ? " (32 bits refused, took 24)" : "");
    }

    setGlErrorReporting(opt.verbose);
    if (!startShowGraphics(&glProcAddress, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitFailure;
    }
    const auto warmStart = std::chrono::steady_clock::now();
    const int warmed = warmUpFrames();
    const double warmSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - warmStart).count();
    // The song is composed after the pictures' resources, as a recording does.
    auto song = std::make_unique<SongPlayer>(state.seed, state.bpm);
    AudioStream audio(&systemTicks);
    audio.init(*song);
    auto device = SdlAudioDevice::open(audio.sampleRate, &why);
    if (!device && opt.verbose) std::fprintf(stderr, "vortel: %s; the show runs silently\n", why.c_str());
    if (device && opt.verbose) std::fprintf(stderr, "vortel: audio through SDL's %s driver\n", device->driver().c_str());
    std::unique_ptr<DevicePlayer> player;
    if (device) player = std::make_unique<DevicePlayer>(*device);
    audio.play(player.get());

    FrameHooks hooks;
    hooks.renderAudio = [&audio] { audio.render(0); };
    // Times between the starts of successive frames, for --verbose; those
    // after the first second apart too.
    std::vector<double> frameMs, settledMs;
    std::optional<std::chrono::steady_clock::time_point> lastFrame;
    hooks.drawFrame = [&window, &state, &frameMs, &settledMs, &lastFrame, verbose = opt.verbose, warmed, warmSeconds] {
        const auto now = std::chrono::steady_clock::now();
        if (lastFrame) {
            const double ms = std::chrono::duration<double, std::milli>(now - *lastFrame).count();
            frameMs.push_back(ms);
            if (state.songTime > 1.0f) settledMs.push_back(ms);
        }
        if (verbose && frameMs.size() == 1)
            std::fprintf(stderr, "vortel: first frame shown %.3f s after launch (%d warm-up frames took %.3f s)\n",
                         std::chrono::duration<double>(now - kLaunched).count(), warmed, warmSeconds);
        lastFrame = now;
        // The finished square is stretched over whatever the window covers
        // now: 800 x 600, or the whole screen (F11).
        int w = state.windowWidth, h = state.windowHeight;
        window->drawableSize(&w, &h);
        state.windowWidth = w;
        state.windowHeight = h;
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderFrame();
    };
    LoopResult r = runFrameLoop(*window, state, hooks);
    if (opt.verbose) {
        const char* how = r.end == LoopEnd::Quit ? "quit" : r.end == LoopEnd::Escape ? "Escape" : "song over";
        std::fprintf(stderr, "vortel: ended (%s) after %d frames, %.3f s\n", how, r.frames,
                     static_cast<double>(state.songTime));
        std::fprintf(stderr, "vortel: frame times: %s; after the first second: worst %.1f ms\n",
                     describeFrameTimes(summarizeFrameTimes(frameMs)).c_str(),
                     summarizeFrameTimes(settledMs).worstMs);
        if (device)
            std::fprintf(stderr, "vortel: audio underruns: %d (%lld silent samples)\n",
                         audio.cursor.underruns.load(),
                         static_cast<long long>(audio.cursor.underrunSamples.load()));
    }
    // Stop the player before the image it reads goes away.
    device.reset();
    return 0;
}

}  // namespace vortel
