#include "app/live_show.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/controls.h"
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
#include "song/song_setup.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/frame_times.h"
#include "visuals/frame/last_frame.h"
#include "visuals/frame/show_graphics.h"
#include "visuals/timeline/timeline.h"
#include "visuals/frame/warm_up.h"

namespace vortel {

namespace {

// Seconds of sound rendered past the play position whenever the show starts
// playing somewhere (a start, a seek, the end of a pause), as at start-up:
// with this lead the frame's audio budget stays at its smallest.
constexpr float kLeadSeconds = 5.0f;

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
      panels_(settings_.fontPath) {
    if (!settings_.audioClock) settings_.audioClock = &budgetTicks;
}

LiveShow::~LiveShow() {
    // The sound goes before the generator it draws from.
    stream_.reset();
    song_.reset();
    if (show_) releaseShowGraphics(*show_);
}

bool LiveShow::startShow(int32_t seed, float at, std::string* why) {
    const auto t0 = std::chrono::steady_clock::now();
    const float leftAt = position_.songTime;
    const int32_t previous = seed_;
    std::string problem;
    if (settings_.writeRunFile && !writeReplayFile(seed, &problem) && settings_.verbose)
        std::fprintf(stderr, "vortel: %s (going on)\n", problem.c_str());

    // The order of a fresh start: tempo, textures, Timeline, then the song.
    auto show = std::make_unique<Show>();
    show->layout.seed = seed;
    setupSong(show->layout, show->rng);
    show->reportGlErrors = settings_.reportGlErrors;
    if (show_) {
        show->windowWidth = show_->windowWidth;
        show->windowHeight = show_->windowHeight;
    }
    if (!startShowGraphics(*show, &glProcAddress, why)) {
        releaseShowGraphics(*show);
        return false;
    }
    // Every program variant this seed's frames need is compiled now, not in
    // the middle of the show (after a seed change most are compiled already,
    // and the warm-up is quick).
    const auto warmStart = std::chrono::steady_clock::now();
    warmUpFrameCount_ = warmUpFrames(*show);
    warmUpSeconds_ = secondsSince(warmStart);
    // The song draws from the show's generator, after the pictures' set-up.
    auto song = std::make_unique<SongPlayer>(seed, show->layout.bpm, show->rng);
    auto stream = std::make_unique<AudioStream>(settings_.audioClock);
    stream->init(*song);

    const float start = std::clamp(at, 0.0f, show->layout.songLength);
    // The player moves to the new image before the old one goes, and the old
    // sound before the old show whose generator it draws from.
    std::unique_ptr<AudioStream> oldStream = std::move(stream_);
    std::unique_ptr<SongPlayer> oldSong = std::move(song_);
    std::unique_ptr<Show> oldShow = std::move(show_);
    song_ = std::move(song);
    stream_ = std::move(stream);
    show_ = std::move(show);
    if (start > 0) placeAudio(std::llround(static_cast<double>(start) * stream_->sampleRate));
    stream_->play(player_);
    if (player_) player_->setPaused(false);
    oldStream.reset();
    oldSong.reset();
    if (oldShow) releaseShowGraphics(*oldShow);

    seed_ = seed;
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
    // The wait for the new show is not a frame time.
    frameStatistics_.newShow();
    lastBuildSeconds_ = secondsSince(t0);
    if (settings_.verbose) {
        if (showsStarted_ == 1) std::fprintf(stderr, "vortel: seed %d (built in %.3f s)\n", seed, lastBuildSeconds_);
        else
            std::fprintf(stderr, "vortel: seed %d (after %d at %.3f s; built in %.3f s)\n", seed, previous,
                         static_cast<double>(leftAt), lastBuildSeconds_);
        printTempo(show_->layout);
        if (start > 0) std::fprintf(stderr, "vortel: starting at %.3f s\n", static_cast<double>(start));
    }
    return true;
}

void LiveShow::placeAudio(int64_t position) {
    // Synthesis runs far ahead of the player, so this is mostly done already.
    if (player_)
        stream_->seek(position, kLeadSeconds, [this](const std::function<void()>& move) { player_->whileStopped(move); });
    else
        stream_->seek(position, kLeadSeconds);
}

void LiveShow::seekTo(float target, uint32_t tick) {
    const auto t0 = std::chrono::steady_clock::now();
    const float t = std::clamp(target, 0.0f, show_->layout.songLength);
    placeAudio(std::llround(static_cast<double>(t) * stream_->sampleRate));
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
    placeAudio(std::llround(static_cast<double>(position_.songTime) * stream_->sampleRate));
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
        const int32_t next = stepSeed(c.randomSeed ? playlist_.randomSeed() : seed_, c.seedStep);
        std::string why;
        if (!startShow(next, 0, &why)) std::fprintf(stderr, "vortel: %s\n", why.c_str());
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
    const std::optional<int32_t> next = playlist_.next();
    if (!next) return false;
    std::string why;
    if (!startShow(*next, 0, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    return true;
}

LoopResult LiveShow::run() {
    FrameHooks hooks;
    hooks.renderAudio = [this] {
        if (!clock_.paused) stream_->render(0);
    };
    hooks.handleInput = [this](const FrameInput& in) { handleInput(in); };
    hooks.drawFrame = [this] { draw(); };
    hooks.nextShow = [this] { return startNextShow(); };
    return runFrameLoop(host_, position_, hooks, &clock_);
}

int runLiveShow(const Options& opt, int32_t seed) {
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

    auto device = SdlAudioDevice::open(kSampleRate, &why);
    if (!device && opt.verbose) std::fprintf(stderr, "vortel: %s; the show runs silently\n", why.c_str());
    if (device && opt.verbose) std::fprintf(stderr, "vortel: audio through SDL's %s driver\n", device->driver().c_str());
    std::unique_ptr<DevicePlayer> player;
    if (device) player = std::make_unique<DevicePlayer>(*device);

    LiveSettings settings;
    settings.verbose = opt.verbose;
    settings.reportGlErrors = opt.verbose;
    if (opt.playlist.size() > 1) settings.playlist.assign(opt.playlist.begin() + 1, opt.playlist.end());
    settings.shuffle = opt.shuffle;
    LiveShow show(*window, player.get(), settings);
    if (!show.startShow(first, start, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitFailure;
    }
    LoopResult r = show.run();
    if (opt.verbose) {
        const char* how = r.end == LoopEnd::Quit ? "quit" : r.end == LoopEnd::Escape ? "Escape" : "song over";
        std::fprintf(stderr, "vortel: ended (%s) after %d frames, %.3f s\n", how, r.frames,
                     static_cast<double>(show.position().songTime));
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
