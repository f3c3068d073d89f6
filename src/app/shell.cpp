#include "app/shell.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/demo_state.h"
#include "app/frame_loop.h"
#include "app/options.h"
#include "app/startup.h"
#include "platform/clock.h"
#include "platform/sdl_window.h"
#include "platform/signals.h"
#include "visuals/show_hooks.h"

namespace vortel {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void printStartFacts(const DemoState& s) {
    std::fprintf(stderr, "vortel: seed %d\n", s.seed);
    std::fprintf(stderr, "vortel: tempo %.4f bpm, step %.6f s, song %.4f s\n",
                 static_cast<double>(s.bpm), static_cast<double>(s.stepLength),
                 static_cast<double>(s.songLength));
}

int runShow(const Options& opt) {
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
    auto window = SdlWindow::open(wo, &why);
    if (!window) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitFailure;
    }
    installQuitSignals();
    state.deviceContext = window->handle();
    if (opt.verbose) {
        std::fprintf(stderr, "vortel: GL renderer %s, version %s\n", window->renderer().c_str(),
                     window->glVersion().c_str());
        std::fprintf(stderr, "vortel: depth buffer %d bits%s\n", window->depthBits(),
                     window->depthFellBack() ? " (32 bits refused, took 24)" : "");
    }

    fillSineTable(state);
    buildTimeline();

    FrameHooks hooks;
    hooks.drawFrame = [] {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderFrame();
    };
    LoopResult r = runFrameLoop(*window, state, hooks);
    if (opt.verbose) {
        const char* how = r.end == LoopEnd::Quit ? "quit" : r.end == LoopEnd::Escape ? "Escape" : "song over";
        std::fprintf(stderr, "vortel: ended (%s) after %d frames, %.3f s\n", how, r.frames,
                     static_cast<double>(state.songTime));
    }
    return 0;
}

}  // namespace

int runShell(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    ParseResult parsed = parseOptions(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "vortel: %s (try 'vortel --help')\n", parsed.error.c_str());
        return kExitUsage;
    }
    const Options& opt = parsed.options;
    if (opt.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (opt.version) {
        std::printf("vortel %s\n", VORTEL_VERSION);
        return 0;
    }

    DemoState& state = demo();
    state.seed = static_cast<int32_t>(systemTicks());
    if (opt.seedText) {
        if (auto s = parseSeed(*opt.seedText)) state.seed = *s;
        else if (opt.verbose)
            std::fprintf(stderr, "vortel: '%s' is not a seed, using the clock\n", opt.seedText->c_str());
    }
    return runShow(opt);
}

}  // namespace vortel
