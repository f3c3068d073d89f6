#include "app/shell.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/sine_table.h"
#include "app/frame_loop.h"
#include "app/offline.h"
#include "app/options.h"
#include "app/output_file.h"
#include "app/startup.h"
#include "app/std_streams.h"
#include "audio/audio_stream.h"
#include "audio/wav_file.h"
#include "gfx/gl_api.h"
#include "gfx/gpu_programs.h"
#include "gfx/textures.h"
#include "platform/audio_device.h"
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
    state.deviceContext = window->handle();
    if (opt.verbose) {
        std::fprintf(stderr, "vortel: GL renderer %s, version %s\n", window->renderer().c_str(),
                     window->glVersion().c_str());
        std::fprintf(stderr, "vortel: depth buffer %d bits%s\n", window->depthBits(),
                     window->depthFellBack() ? " (32 bits refused, took 24)" : "");
    }

    if (!loadGlApi(&why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitFailure;
    }

    fillSineTable(state);
    generateTextures();
    buildTimeline();
    AudioStream audio(&systemTicks);
    audio.init();
    createGpuPrograms();
    auto device = SdlAudioDevice::open(audio.sampleRate, &why);
    if (!device && opt.verbose) std::fprintf(stderr, "vortel: %s; the show runs silently\n", why.c_str());
    if (device && opt.verbose) std::fprintf(stderr, "vortel: audio through SDL's %s driver\n", device->driver().c_str());
    audio.play(device.get());

    FrameHooks hooks;
    hooks.renderAudio = [&audio] { audio.render(0); };
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
        if (device)
            std::fprintf(stderr, "vortel: audio underruns: %d (%lld silent samples)\n",
                         audio.cursor.underruns.load(),
                         static_cast<long long>(audio.cursor.underrunSamples.load()));
    }
    // Stop the player before the image it reads goes away.
    device.reset();
    return 0;
}

// Renders one WAV file, with a progress line when stderr is a terminal.
bool renderWav(int32_t seed, std::string_view part, const std::string& path, bool force) {
    const bool tty = isatty(STDERR_FILENO) != 0;
    const char* name = path == "-" ? "stdout" : path.c_str();
    auto progress = [&](double done) {
        if (tty) std::fprintf(stderr, "\rvortel: rendering %s %3d%%", name, static_cast<int>(done * 100));
        return !quitSignalled();
    };
    std::vector<int16_t> pcm = renderSongOffline(seed, part, progress);
    if (tty) std::fputc('\n', stderr);
    if (quitSignalled()) {
        std::fprintf(stderr, "vortel: interrupted; %s not written\n", name);
        return false;
    }
    std::string why;
    auto out = OutputFile::create(path, force, &why);
    if (!out) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    if (!writeWav(out->stream(), pcm.data(), pcm.size(), kSampleRate)) {
        std::fprintf(stderr, "vortel: cannot write %s: %s\n", name, std::strerror(errno));
        return false;
    }
    // Interrupted while writing: `out` removes its temporary unless committed.
    if (quitSignalled()) {
        std::fprintf(stderr, "vortel: interrupted; %s not written\n", name);
        return false;
    }
    if (!out->commit(&why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    return true;
}

// --inspect, --wav and --stems: everything without a window.
int runOffline(const Options& opt, int32_t seed) {
    namespace fs = std::filesystem;
    std::string why;
    std::vector<std::pair<std::string_view, std::string>> jobs;  // part ("" = all), file
    if (!opt.wavPath.empty()) jobs.emplace_back("", opt.wavPath);
    bool stemsDirExists = false;
    if (!opt.stemsDir.empty()) {
        std::error_code ec;
        fs::path dir(opt.stemsDir);
        stemsDirExists = fs::exists(dir, ec);
        if (stemsDirExists && !fs::is_directory(dir, ec)) {
            std::fprintf(stderr, "vortel: %s exists and is not a folder\n", opt.stemsDir.c_str());
            return kExitUsage;
        }
        for (std::string_view part : kStemParts)
            jobs.emplace_back(part, (dir / (std::string(part) + ".wav")).string());
    }
    // Check every target before rendering anything. Stems in a folder still
    // to be made are new files.
    std::vector<std::string> outputs;
    for (const auto& [part, path] : jobs) {
        outputs.push_back(path);
        if (!part.empty() && !stemsDirExists) continue;
        if (!checkOutputTarget(path, opt.force, &why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return kExitUsage;
        }
    }
    if (opt.inspect && opt.wavPath == "-") {
        std::fprintf(stderr, "vortel: --inspect and --wav - both write to stdout\n");
        return kExitUsage;
    }
    if (!checkDistinctOutputs(outputs, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitUsage;
    }
    if (!opt.stemsDir.empty()) {
        std::error_code ec;
        fs::create_directories(opt.stemsDir, ec);
        if (ec) {
            std::fprintf(stderr, "vortel: cannot create %s: %s\n", opt.stemsDir.c_str(), ec.message().c_str());
            return kExitFailure;
        }
    }
    if (opt.inspect) {
        std::string text = dumpJson(inspectShow(seed));
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        if (!flushStdout(&why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return kExitFailure;
        }
    }
    for (const auto& [part, path] : jobs) {
        if (!renderWav(seed, part, path, opt.force)) return kExitFailure;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", path.c_str());
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
    if (opt.inspect || !opt.wavPath.empty() || !opt.stemsDir.empty()) return runOffline(opt, state.seed);
    return runShow(opt);
}

}  // namespace vortel
