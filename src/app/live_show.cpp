#include "app/live_show.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/live_options.h"
#include "app/device_player.h"
#include "app/overlay_text.h"
#include "app/screenshot.h"
#include "app/startup.h"
#include "gfx/gl_api.h"
#include "gfx/gpu_programs.h"
#include "gfx/textures.h"
#include "platform/audio_device.h"
#include "platform/clock.h"
#include "platform/sdl_window.h"
#include "platform/x11_window.h"
#include "song/song_setup.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/frame_times.h"
#include "visuals/frame/last_frame.h"
#include "visuals/frame/show_graphics.h"
#include "visuals/timeline/timeline.h"
#include "visuals/frame/warm_up.h"

namespace vortel {

namespace {

// The playlist's next show is asked for this long before the current one
// ends, so that it is ready to take over when it does.
constexpr float kPlaylistLeadSeconds = 4.0f;

// When the process started, as near as the program can tell.
const auto kLaunched = std::chrono::steady_clock::now();

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void printTempo(const SongLayout& s) {
    std::fprintf(stderr, "vortel: tempo %.4f bpm, step %.6f s, song %.4f s\n", static_cast<double>(s.bpm),
                 static_cast<double>(s.stepLength), static_cast<double>(s.songLength));
}

}  // namespace

LiveShow::LiveShow(Host& host, LivePlayer* player, LiveSettings settings)
    : host_(host),
      player_(player),
      settings_(std::move(settings)),
      playlist_(settings_.playlist, settings_.shuffle),
      panels_(settings_.fontPath, settings_.renderer) {
    if (!settings_.audioClock) settings_.audioClock = &budgetTicks;
    next_ = std::make_unique<NextShow>(settings_.audioClock, settings_.wrapSound, settings_.renderer);
}

LiveShow::~LiveShow() {
    next_.reset();
    // The sound stops before the rest goes.
    sound_.reset();
    if (show_) releaseShowGraphics(*show_);
}

bool LiveShow::startShow(int32_t seed, float at, std::string* why) {
    const auto t0 = std::chrono::steady_clock::now();
    auto next = std::make_unique<PreparedShow>(prepareShow(seed, settings_.audioClock, settings_.wrapSound, settings_.renderer));
    // Every program variant this seed's frames need is compiled now, not in
    // the middle of the show.
    const auto warmStart = std::chrono::steady_clock::now();
    const size_t warmUpFrames = next->warmUpTimes.size();
    if (!finishShowGraphics(*next, why)) {
        releaseShowGraphics(*next->show);
        return false;
    }
    warmUpFrameCount_ = static_cast<int>(warmUpFrames);
    warmUpSeconds_ = secondsSince(warmStart);
    adopt(std::move(next), at, secondsSince(t0), false);
    return true;
}

void LiveShow::requestShow(int32_t seed) {
    next_->request(seed);
    if (settings_.verbose)
        std::fprintf(stderr, "vortel: seed %d asked for at %.3f s; made ready while seed %d plays\n", seed,
                     static_cast<double>(position_.songTime), seed_);
}

void LiveShow::advanceNextShow() {
    if (!playlistAsked_ && !next_->busy() && position_.songTime > position_.songLength - kPlaylistLeadSeconds) {
        if (const std::optional<int32_t> next = playlist_.next()) next_->request(*next);
        playlistAsked_ = true;
    }
    std::string why;
    std::unique_ptr<PreparedShow> next = next_->step(&why);
    if (!why.empty()) std::fprintf(stderr, "vortel: %s (seed %d goes on)\n", why.c_str(), seed_);
    if (!next) return;
    warmUpFrameCount_ = next_->graphicsSteps() - 2;
    warmUpSeconds_ = next_->graphicsSeconds();
    if (settings_.verbose)
        std::fprintf(stderr, "vortel: seed %d ready: %.3f s on its own thread, then %d frames of GL work (%.3f s)\n",
                     next->seed, next->seconds, next_->graphicsSteps(), next_->graphicsSeconds());
    const double built = next->seconds + next_->graphicsSeconds();
    adopt(std::move(next), 0, built, true);
}

void LiveShow::adopt(std::unique_ptr<PreparedShow> next, float at, double builtSeconds, bool framesWentOn) {
    const float leftAt = position_.songTime;
    const int32_t previous = seed_;
    const int32_t seed = next->seed;
    std::string problem;
    if (settings_.writeRunFile && !writeReplayFile(seed, &problem) && settings_.verbose)
        std::fprintf(stderr, "vortel: %s (going on)\n", problem.c_str());
    if (show_ && settings_.verbose) reportShowFrames();

    std::unique_ptr<Show> show = std::move(next->show);
    show->reportGlErrors = settings_.reportGlErrors;
    if (show_) {
        show->windowWidth = show_->windowWidth;
        show->windowHeight = show_->windowHeight;
    }
    std::unique_ptr<LiveSound> sound = std::move(next->sound);
    const float start = std::clamp(at, 0.0f, show->layout.songLength);
    // The player moves to the new image before the old one goes.
    std::unique_ptr<LiveSound> oldSound = std::move(sound_);
    std::unique_ptr<Show> oldShow = std::move(show_);
    sound_ = std::move(sound);
    show_ = std::move(show);
    soundAwaited_.reset();
    if (start > 0) placeAudio(std::llround(static_cast<double>(start) * sound_->stream->sampleRate));
    sound_->startWriting();
    sound_->stream->play(player_);
    if (player_) player_->setPaused(false);
    oldSound.reset();
    if (oldShow) releaseShowGraphics(*oldShow);

    seed_ = seed;
    playlistAsked_ = false;
    ++showsStarted_;
    host_.setTitle(windowTitle(seed));
    clock_.start(host_.ticks(), start);
    position_.songTime = start;
    position_.frameDelta = 0;
    position_.songLength = show_->layout.songLength;
    renderOnce_ = false;
    framesDrawn_ = false;
    log_.actions.clear();
    log_.draws.clear();
    // A show built while nothing played: the wait is not a frame time.
    if (framesWentOn) frameStatistics_.beginShow();
    else frameStatistics_.newShow();
    lastBuildSeconds_ = builtSeconds;
    if (settings_.verbose) {
        if (showsStarted_ == 1) std::fprintf(stderr, "vortel: seed %d (built in %.3f s)\n", seed, lastBuildSeconds_);
        else
            std::fprintf(stderr, "vortel: seed %d (after %d at %.3f s; built in %.3f s)\n", seed, previous,
                         static_cast<double>(leftAt), lastBuildSeconds_);
        printTempo(show_->layout);
        if (start > 0) std::fprintf(stderr, "vortel: starting at %.3f s\n", static_cast<double>(start));
    }
}

void LiveShow::reportShowFrames() const {
    const FrameTimes& ft = frameStatistics_.times();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - ft.showBegan).count();
    std::fprintf(stderr, "vortel: seed %d: %zu frames in %.3f s; %s; first second: worst %.1f ms\n", seed_,
                 ft.show.size(), seconds, describeFrameTimes(summarizeFrameTimes(ft.show)).c_str(),
                 ft.showFirstSecondWorstMs);
}

void LiveShow::placeAudio(int64_t position) {
    // The sound thread writes from wherever the cursor now stands; nothing
    // is synthesised here.
    if (player_)
        sound_->stream->moveCursor(position, [this](const std::function<void()>& move) { player_->whileStopped(move); });
    else
        sound_->stream->moveCursor(position);
    if (sound_->thread) sound_->thread->wake();
    if (!sound_->stream->caughtUp()) {
        soundAwaited_ = static_cast<float>(static_cast<double>(position) / sound_->stream->sampleRate);
        soundAwaitedSince_ = std::chrono::steady_clock::now();
    }
}

void LiveShow::followSound() {
    if (!soundAwaited_ || !sound_->stream->caughtUp()) return;
    if (settings_.verbose)
        std::fprintf(stderr, "vortel: the sound caught up at %.3f s (%.3f s after the seek)\n",
                     static_cast<double>(*soundAwaited_), secondsSince(soundAwaitedSince_));
    soundAwaited_.reset();
}

void LiveShow::seekTo(float target, uint32_t tick) {
    const auto t0 = std::chrono::steady_clock::now();
    const float t = std::clamp(target, 0.0f, show_->layout.songLength);
    placeAudio(std::llround(static_cast<double>(t) * sound_->stream->sampleRate));
    clock_.seek(tick, t);
    position_.songTime = t;
    if (clock_.paused) {
        // The held picture moves to the new place: one frame there.
        renderOnce_ = true;
        position_.frameDelta = 1.0f / 60.0f;
    }
    if (settings_.verbose)
        std::fprintf(stderr, "vortel: seek to %.3f s%s (ready in %.3f s)\n", static_cast<double>(t),
                     t != target ? (t == 0 ? " (the start)" : " (the end of the song)") : "", secondsSince(t0));
}

void LiveShow::pause() {
    clock_.pauseAt(position_.songTime);
    if (player_) player_->setPaused(true);
    if (settings_.verbose) std::fprintf(stderr, "vortel: pause at %.3f s\n", static_cast<double>(position_.songTime));
}

void LiveShow::resume(uint32_t tick) {
    // The sound goes on from the picture's time: the device's position ran a
    // little past it before the pause took hold.
    placeAudio(std::llround(static_cast<double>(position_.songTime) * sound_->stream->sampleRate));
    clock_.resume(tick);
    if (player_) player_->setPaused(false);
    if (settings_.verbose) std::fprintf(stderr, "vortel: resume at %.3f s\n", static_cast<double>(position_.songTime));
}

void LiveShow::handleInput(const FrameInput& input) {
    const Controls c = readControls(input.keys);
    if (!c.any()) return;
    const uint32_t tick = host_.ticks();
    if (c.randomSeed || c.seedStep != 0) {
        // A new show starts from its beginning; the frame's seeks and pause
        // belonged to the old one.
        const int32_t from = next_->target().value_or(seed_);
        requestShow(stepSeed(c.randomSeed ? playlist_.randomSeed() : from, c.seedStep));
    } else {
        if (c.seek) seekTo(c.seekFrom.value_or(position_.songTime) + c.seekBy, tick);
        if (c.togglePause) {
            if (clock_.paused) resume(tick);
            else pause();
        }
    }
    if (c.toggleInfo) {
        panels_.toggleInfo();
        if (settings_.verbose)
            std::fprintf(stderr, "vortel: information %s at %.3f s\n", panels_.infoShown() ? "on" : "off",
                         static_cast<double>(position_.songTime));
    }
    if (c.toggleGuide) {
        panels_.toggleGuide();
        if (settings_.verbose)
            std::fprintf(stderr, "vortel: key guide %s at %.3f s\n", panels_.guideShown() ? "on" : "off",
                         static_cast<double>(position_.songTime));
    }
    if (c.save) saveRequested_ = true;
}

void LiveShow::draw() {
    Show& show = *show_;
    if (frameStatistics_.frameStarted(position_.songTime) && settings_.verbose)
        std::fprintf(stderr, "vortel: first frame shown %.3f s after launch (%d warm-up frames took %.3f s)\n",
                     secondsSince(kLaunched), warmUpFrameCount_, warmUpSeconds_);
    // The finished square is stretched over whatever the window covers
    // now: 800 x 600, or the whole screen (F11).
    int w = show.windowWidth, h = show.windowHeight;
    host_.drawableSize(&w, &h);
    show.windowWidth = w;
    show.windowHeight = h;
    // No clear of the window: the finished square covers all of it.
    if (clock_.paused && framesDrawn_ && !renderOnce_) {
        redrawLastFrame(show);
    } else {
        // The log records what the frame runs, for the information panel.
        log_.actions.clear();
        log_.draws.clear();
        renderFrame(show, position_.songTime, position_.frameDelta, FramePresent::Window, &log_);
        framesDrawn_ = true;
        renderOnce_ = false;
    }
    if (saveRequested_) {
        saveRequested_ = false;
        saveFrame(w, h);
    }
    panels_.draw(show.layout, position_.songTime, clock_.paused, log_.actions, w, h);
}

void LiveShow::saveFrame(int width, int height) {
    std::string name, why;
    if (saveScreenshot(settings_.saveFolder, screenshotStem(seed_, position_.songTime), width, height, &name, &why)) {
        saved_.push_back(name);
        std::fprintf(stderr, "vortel: saved %s\n", name.c_str());
    } else {
        std::fprintf(stderr, "vortel: %s (the show goes on)\n", why.c_str());
    }
}

bool LiveShow::startNextShow() {
    // The show after this one is asked for a few seconds before its end
    // (advanceNextShow); the loop goes on until it takes over.
    if (next_->busy()) return true;
    if (playlistAsked_) return false;  // it was asked for, and failed
    const std::optional<int32_t> next = playlist_.next();
    if (!next) return false;
    playlistAsked_ = true;
    next_->request(*next);
    return true;
}

LoopResult LiveShow::run() {
    FrameHooks hooks;
    // Nothing of the sound is made here: its thread writes it.
    hooks.renderAudio = [this] {
        advanceNextShow();
        followSound();
    };
    hooks.handleInput = [this](const FrameInput& in) { handleInput(in); };
    hooks.drawFrame = [this] { draw(); };
    hooks.nextShow = [this] { return startNextShow(); };
    const auto t0 = std::chrono::steady_clock::now();
    const LoopResult result = runFrameLoop(host_, position_, hooks, &clock_);
    runSeconds_ = secondsSince(t0);
    return result;
}

namespace {

// The window another program gave the show to draw into: --window-id, else
// $XSCREENSAVER_WINDOW (set by XScreenSaver for its hacks, with or without
// --root), else the root window with --root. 0 for a window of our own.
// Returns false with the exit code when the window cannot be had.
bool findForeignWindow(const Options& opt, uint64_t* into, int* exitCode) {
    *into = 0;
    const char* env = std::getenv("XSCREENSAVER_WINDOW");
    std::string why;
    if (opt.windowId) {
        *into = *opt.windowId;
    } else if (env && *env) {
        std::optional<uint64_t> id = parseWindowId(env, "XSCREENSAVER_WINDOW", &why);
        if (!id) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            *exitCode = kExitUsage;
            return false;
        }
        *into = *id;
    } else if (opt.root) {
        *into = x11RootWindow(&why);
        if (*into == 0) {
            std::fprintf(stderr, "vortel: --root: %s\n", why.c_str());
            *exitCode = kExitFailure;
            return false;
        }
        return true;
    } else {
        return true;
    }
    // Checked before anything is drawn, so that a wrong id draws nowhere.
    if (!x11WindowExists(*into, &why)) {
        if (why.empty()) {
            std::fprintf(stderr, "vortel: window %s does not exist\n", windowIdText(*into).c_str());
            *exitCode = kExitUsage;
        } else {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            *exitCode = kExitFailure;
        }
        return false;
    }
    return true;
}

}  // namespace

int runLiveShow(const Options& opt, int32_t seed) {
    uint64_t into = 0;
    int failure = 0;
    if (!findForeignWindow(opt, &into, &failure)) return failure;
    // A screensaver's show: endless, silent and keyless unless asked.
    const bool screensaver = into != 0;
    const bool mute = opt.mute || (screensaver && !opt.sound);

    const int32_t first = opt.playlist.empty() ? seed : opt.playlist.front();
    // The song's length decides whether --start is in it; the show itself
    // is built once the window is open.
    SongLayout layout;
    layout.seed = first;
    Generator layoutRng;
    setupSong(layout, layoutRng);
    float start = opt.startSeconds.value_or(0.0f);
    // A seed the clock chose (none given, or one that does not read) is not
    // the user's: its show may be shorter than they guessed, which is no
    // reason to fail. It starts at its last second instead.
    const bool seedChosen = !opt.playlist.empty() || (opt.seedText && parseSeed(*opt.seedText));
    if (start > layout.songLength && !seedChosen) {
        const float last = std::max(0.0f, layout.songLength - 1.0f);
        if (opt.verbose)
            std::fprintf(stderr, "vortel: --start %.3f s is past the end of the song of seed %d (%.3f s); starting at %.3f s\n",
                         static_cast<double>(start), first, static_cast<double>(layout.songLength),
                         static_cast<double>(last));
        start = last;
    }
    if (start > layout.songLength) {
        std::fprintf(stderr, "vortel: option --start: %.3f s is past the end of the song of seed %d (%.3f s)\n",
                     static_cast<double>(start), first, static_cast<double>(layout.songLength));
        return kExitUsage;
    }

    std::string why;
    WindowOptions wo;
    wo.width = kDefaultWindowWidth;
    wo.height = kDefaultWindowHeight;
    wo.title = windowTitle(first);
    wo.vsync = !opt.noVsync;
    wo.fullscreen = opt.fullscreen;
    wo.intoWindow = into;
    wo.coreProfile = opt.renderer == Renderer::Glsl;
    auto window = SdlWindow::open(wo, &why);
    if (!window) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitFailure;
    }
    if (opt.verbose) {
        std::fprintf(stderr, "vortel: GL renderer %s, version %s\n", window->renderer().c_str(),
                     window->openGlVersion().c_str());
        std::fprintf(stderr, "vortel: depth buffer %d bits%s\n", window->depthBits(),
                     window->depthFellBack() ? " (32 bits refused, took 24)" : "");
    }

    std::unique_ptr<SdlAudioDevice> device;
    if (screensaver && opt.verbose)
        std::fprintf(stderr, "vortel: drawing into window %s\n", windowIdText(into).c_str());
    if (mute) {
        if (opt.verbose)
            std::fprintf(stderr, "vortel: %s: the show runs silently\n", opt.mute ? "--mute" : "no --sound");
    } else {
        device = SdlAudioDevice::open(kSampleRate, &why);
        if (!device && opt.verbose) std::fprintf(stderr, "vortel: %s; the show runs silently\n", why.c_str());
    }
    if (device && opt.verbose) std::fprintf(stderr, "vortel: audio through SDL's %s driver\n", device->driver().c_str());
    std::unique_ptr<DevicePlayer> player;
    if (device) player = std::make_unique<DevicePlayer>(*device);

    LiveSettings settings;
    settings.verbose = opt.verbose;
    settings.reportGlErrors = opt.verbose;
    settings.renderer = opt.renderer;
    if (opt.playlist.size() > 1) settings.playlist.assign(opt.playlist.begin() + 1, opt.playlist.end());
    settings.shuffle = opt.shuffle || (screensaver && opt.playlist.empty());
    // A screensaver leaves no files behind in the folder it was started in.
    if (screensaver) settings.writeRunFile = false;
    LiveShow show(*window, player.get(), settings);
    if (!show.startShow(first, start, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitFailure;
    }
    LoopResult r = show.run();
    if (opt.verbose) {
        const char* how = window->windowGone()       ? "window destroyed"
                          : r.end == LoopEnd::Quit   ? "quit"
                          : r.end == LoopEnd::Escape ? "Escape"
                                                     : "song over";
        std::fprintf(stderr, "vortel: ended (%s) after %d frames in %.3f s, %d show%s\n", how, r.frames,
                     show.runSeconds(), show.showsStarted(), show.showsStarted() == 1 ? "" : "s");
        show.reportShowFrames();
        const FrameTimes& ft = show.frameTimes();
        std::fprintf(stderr, "vortel: frame times: %s; after the first second: worst %.1f ms (at %.3f s)\n",
                     describeFrameTimes(summarizeFrameTimes(ft.all)).c_str(), ft.settledWorstMs,
                     static_cast<double>(ft.settledWorstAt));
        if (device)
            std::fprintf(stderr, "vortel: audio underruns: %d (%lld silent samples)\n",
                         show.audio().cursor.underruns.load(),
                         static_cast<long long>(show.audio().cursor.underrunSamples.load()));
    }
    // Stop the player before the image it reads goes away.
    device.reset();
    return 0;
}

}  // namespace vortel
