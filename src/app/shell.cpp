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
#include "app/offline_frames.h"
#include "app/png_image.h"
#include "app/options.h"
#include "app/startup.h"
#include "audio/audio_stream.h"
#include "audio/wav_file.h"
#include "gfx/gl_api.h"
#include "gfx/gpu_programs.h"
#include "gfx/textures.h"
#include "platform/audio_device.h"
#include "platform/clock.h"
#include "platform/sdl_window.h"
#include "platform/signals.h"
#include "visuals/frame.h"
#include "visuals/timeline.h"

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

    if (!loadGlApi(&why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitFailure;
    }

    setGlErrorReporting(opt.verbose);
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

// Refuses to overwrite `path` without --force. Returns false with a reason.
bool mayWrite(const std::filesystem::path& path, bool force, std::string* why) {
    std::error_code ec;
    auto st = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(st)) return true;
    if (std::filesystem::is_directory(st)) {
        *why = path.string() + " is a folder";
        return false;
    }
    if (!force) {
        *why = path.string() + " already exists (use --force to overwrite it)";
        return false;
    }
    return true;
}

// Writes `bytes` to `path` through a temporary beside it, renamed into place
// once complete.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string* why) {
    const std::string temp = path + ".part";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        *why = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        *why = "cannot write " + path + ": " + std::strerror(errno);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

// Renders one WAV file, with a progress line when stderr is a terminal.
bool renderWav(int32_t seed, std::string_view part, const std::string& path) {
    const bool tty = isatty(STDERR_FILENO) != 0;
    auto progress = [&](double done) {
        if (tty) std::fprintf(stderr, "\rvortel: rendering %s %3d%%", path.c_str(), static_cast<int>(done * 100));
        return !quitSignalled();
    };
    std::vector<int16_t> pcm = renderSongOffline(seed, part, progress);
    if (tty) std::fputc('\n', stderr);
    if (quitSignalled()) {
        std::fprintf(stderr, "vortel: interrupted; %s not written\n", path.c_str());
        return false;
    }
    std::string why;
    if (!writeWavFile(path, pcm.data(), pcm.size(), kSampleRate, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    return true;
}

// Renders the frame at `time` offscreen and writes it as a PNG.
bool writeStill(int32_t seed, float time, const std::string& path, bool verbose) {
    std::string why;
    auto show = OfflineShow::open(seed, &why);
    if (!show) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    setGlErrorReporting(verbose);
    show->renderStill(time);
    std::vector<uint8_t> png;
    if (!encodePng(show->width(), show->height(), show->readRgb(), &png, &why) ||
        !writeFileBytes(path, png, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    return true;
}

// --inspect, --wav, --stems and --still: everything without a window.
int runOffline(const Options& opt, int32_t seed) {
    namespace fs = std::filesystem;
    std::string why;
    std::vector<std::pair<std::string_view, std::string>> jobs;  // part ("" = all), file
    if (!opt.wavPath.empty()) jobs.emplace_back("", opt.wavPath);
    if (!opt.stillPath.empty() && !mayWrite(opt.stillPath, opt.force, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitUsage;
    }
    if (!opt.stemsDir.empty()) {
        std::error_code ec;
        fs::path dir(opt.stemsDir);
        if (fs::exists(dir, ec) && !fs::is_directory(dir, ec)) {
            std::fprintf(stderr, "vortel: %s exists and is not a folder\n", opt.stemsDir.c_str());
            return kExitUsage;
        }
        for (std::string_view part : kStemParts)
            jobs.emplace_back(part, (dir / (std::string(part) + ".wav")).string());
    }
    // Check every target before rendering anything.
    for (const auto& [part, path] : jobs) {
        if (!mayWrite(path, opt.force, &why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return kExitUsage;
        }
    }
    if (!opt.stemsDir.empty()) {
        std::error_code ec;
        fs::create_directories(opt.stemsDir, ec);
        if (ec) {
            std::fprintf(stderr, "vortel: cannot create %s: %s\n", opt.stemsDir.c_str(), ec.message().c_str());
            return kExitFailure;
        }
    }
    installQuitSignals();
    if (opt.inspect) {
        std::string text = dumpJson(inspectShow(seed, opt.inspectAt));
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    for (const auto& [part, path] : jobs) {
        if (!renderWav(seed, part, path)) return kExitFailure;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", path.c_str());
    }
    if (!opt.stillPath.empty()) {
        if (!writeStill(seed, *opt.stillTime, opt.stillPath, opt.verbose)) return kExitFailure;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", opt.stillPath.c_str());
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
    if (opt.inspect || !opt.wavPath.empty() || !opt.stemsDir.empty() || !opt.stillPath.empty())
        return runOffline(opt, state.seed);
    return runShow(opt);
}

}  // namespace vortel
