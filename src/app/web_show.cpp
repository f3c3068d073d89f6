#include "app/web_show.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/controls.h"
#include "app/overlay_text.h"
#include "app/startup.h"
#include "core/elapsed_time.h"
#include "song/song_setup.h"
#include "visuals/frame/show_graphics.h"
#include "visuals/frame/still_run_up.h"

namespace vortel {

namespace {

// Each turn of the writer synthesises this much, then looks at the clock.
constexpr float kWebSoundChunkSeconds = 0.05f;

// The whole of `text` as a number in the 32-bit range, or nothing.
std::optional<int32_t> wholeSeed(std::string_view text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    const std::string s(text);
    const char* begin = s.c_str();
    if (!(*begin == '-' || (*begin >= '0' && *begin <= '9'))) return std::nullopt;
    char* end = nullptr;
    const long long v = std::strtoll(begin, &end, 10);
    if (end != begin + s.size() || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(v);
}

std::optional<float> seconds(std::string_view text) {
    if (text.empty() || text.size() > 24) return std::nullopt;
    const std::string s(text);
    if (!((s[0] >= '0' && s[0] <= '9') || s[0] == '.')) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !(v >= 0) || !std::isfinite(v)) return std::nullopt;
    return static_cast<float>(v);
}

// The key guide as the page has it: F is the whole screen (F11 is the
// browser's own), and Escape only leaves it.
std::vector<std::string> pageGuideLines() {
    std::vector<std::string> lines = guideLines();
    for (std::string& line : lines) {
        if (line.rfind("F11", 0) == 0) line = "F            window / whole screen";
        else if (line.rfind("Escape", 0) == 0) line = "Escape       leave the whole screen";
        else if (line.rfind("H, F1", 0) == 0) line = "H, F1        these keys on / off";
    }
    return lines;
}

}  // namespace

PageAddress readPageAddress(std::string_view hash) {
    PageAddress a;
    if (!hash.empty() && hash.front() == '#') hash.remove_prefix(1);
    while (!hash.empty()) {
        const size_t amp = hash.find('&');
        const std::string_view item = hash.substr(0, amp);
        hash = amp == std::string_view::npos ? std::string_view{} : hash.substr(amp + 1);
        const size_t eq = item.find('=');
        const std::string_view key = item.substr(0, eq);
        const std::string_view value = eq == std::string_view::npos ? std::string_view{} : item.substr(eq + 1);
        if (key == "seed") a.seed = wholeSeed(value);
        else if (key == "t") a.start = seconds(value);
        else if (key == "paused") a.paused = value != "0";
    }
    return a;
}

std::string pageAddress(int32_t seed) { return "#seed=" + std::to_string(seed); }

WebSound::WebSound(int32_t seed, float bpm, AudioStream::Clock clock, std::string_view part) : clock_(clock) {
    song_ = std::make_unique<SongPlayer>(seed, bpm, rng_);
    if (!part.empty()) song_->keepOnlyPart(part);
    stream_ = std::make_unique<AudioStream>(clock);
    stream_->init(*song_);
}

void WebSound::writeAhead(float leadSeconds, double budgetMs) {
    AudioStream& s = *stream_;
    const int64_t capacity = static_cast<int64_t>(s.lengthSeconds) * s.sampleRate;
    const int64_t want = std::min<int64_t>(
        capacity, s.cursor.played.load() + static_cast<int64_t>(static_cast<double>(leadSeconds) * s.sampleRate));
    const uint32_t began = clock_();
    while (written() < want) {
        s.render(kWebSoundChunkSeconds);
        if (elapsedMilliseconds(began, clock_()) >= budgetMs) break;
    }
}

void WebSound::writeFirst(int64_t count) {
    AudioStream& s = *stream_;
    count = std::min<int64_t>(count, static_cast<int64_t>(s.lengthSeconds) * s.sampleRate);
    // In the chunks the frames write.
    while (written() < count) s.render(kWebSoundChunkSeconds);
}

WebShow::WebShow(Host& host, ShowPictures& pictures, WebShowHooks hooks, AudioStream::Clock soundClock,
                 uint32_t entropy)
    : host_(host), pictures_(pictures), hooks_(std::move(hooks)), soundClock_(soundClock), random_(entropy) {}

WebShow::~WebShow() {
    sound_.reset();
    if (next_ && next_->made) pictures_.release(*next_->show);
    if (show_) pictures_.release(*show_);
}

namespace {

// The part of a fresh start without GL, in its order: tempo, texture
// images, timeline (each re-seeds the show's generator).
std::unique_ptr<Show> planShow(int32_t seed, TextureImages* images) {
    auto show = std::make_unique<Show>();
    show->layout.seed = seed;
    setupSong(show->layout, show->rng);
    *images = preparePictures(*show);
    return show;
}

}  // namespace

bool WebShow::start(int32_t seed, float at, std::string* why, bool paused) {
    TextureImages images;
    std::unique_ptr<Show> show = planShow(seed, &images);
    if (!pictures_.make(*show, images, why)) {
        pictures_.release(*show);
        return false;
    }
    auto sound = std::make_unique<WebSound>(seed, show->layout.bpm, soundClock_);
    adopt(std::move(show), std::move(sound), at);
    if (paused) {
        // The frames a still of this instant is drawn from, the last of
        // them held.
        for (const RunUpFrame& f : stillRunUp(songTime_)) {
            log_.actions.clear();
            log_.draws.clear();
            pictures_.draw(*show_, f.time, f.delta, &log_);
        }
        drawn_ = true;
        clock_.pauseAt(songTime_);
        if (player_) player_->setPaused(true);
    }
    return true;
}

void WebShow::request(int32_t seed) {
    if (next_) {
        if (next_->seed == seed) return;
        if (next_->made) pictures_.release(*next_->show);
    }
    next_ = std::make_unique<NextShow>();
    next_->seed = seed;
}

std::optional<int32_t> WebShow::requested() const {
    if (next_) return next_->seed;
    return std::nullopt;
}

void WebShow::stepNextShow() {
    NextShow& n = *next_;
    switch (n.step++) {
    case 0: n.show = planShow(n.seed, &n.images); return;
    case 1: {
        std::string why;
        n.made = pictures_.make(*n.show, n.images, &why);
        n.images = TextureImages{};
        if (!n.made) {
            std::fprintf(stderr, "vortel: %s (seed %d goes on)\n", why.c_str(), seed_);
            pictures_.release(*n.show);
            next_.reset();
        }
        return;
    }
    default: {
        auto sound = std::make_unique<WebSound>(n.seed, n.show->layout.bpm, soundClock_);
        std::unique_ptr<Show> show = std::move(n.show);
        next_.reset();
        adopt(std::move(show), std::move(sound), 0);
    }
    }
}

void WebShow::adopt(std::unique_ptr<Show> show, std::unique_ptr<WebSound> sound, float at) {
    if (show_) {
        show->windowWidth = show_->windowWidth;
        show->windowHeight = show_->windowHeight;
    }
    // The player moves to the new sound before the old one goes.
    std::unique_ptr<WebSound> oldSound = std::move(sound_);
    sound_ = std::move(sound);
    if (show_) pictures_.release(*show_);
    show_ = std::move(show);
    seed_ = show_->layout.seed;
    const float t = std::clamp(at, 0.0f, show_->layout.songLength);
    clock_.start(host_.ticks(), t);
    songTime_ = t;
    frameDelta_ = 0;
    drawn_ = false;
    drawOnce_ = false;
    log_.actions.clear();
    log_.draws.clear();
    if (player_) {
        placeSound(t);
        sound_->stream().play(player_);
        player_->setPaused(false);
    }
    oldSound.reset();
    host_.setTitle(windowTitle(seed_));
    if (hooks_.showing) hooks_.showing(seed_);
}

void WebShow::startSound(LivePlayer* player, float latencySeconds) {
    if (!player || player_) return;
    player_ = player;
    latency_ = std::max(0.0f, latencySeconds);
    placeSound(songTime_);
    sound_->stream().play(player_);
    player_->setPaused(clock_.paused);
}

void WebShow::placeSound(float time) {
    // What the player takes now sounds `latency_` later: it takes the sound
    // of the picture it will sound with.
    const double at = static_cast<double>(time) + (player_ ? latency_ : 0.0f);
    AudioStream& s = sound_->stream();
    const int64_t position = std::llround(at * s.sampleRate);
    if (player_) player_->whileStopped([&] { s.moveCursor(position); });
    else s.moveCursor(position);
}

void WebShow::seekTo(float target, uint32_t tick) {
    const float t = std::clamp(target, 0.0f, show_->layout.songLength);
    clock_.seek(tick, t);
    songTime_ = t;
    placeSound(t);
    if (clock_.paused) {
        drawOnce_ = true;  // the held picture moves to the new place
        frameDelta_ = 1.0f / 60.0f;
    }
}

void WebShow::handleInput(const FrameInput& input, uint32_t tick) {
    const Controls c = readControls(input.keys);
    if (!c.any()) return;
    if (c.randomSeed || c.seedStep != 0) {
        // A new show starts from its beginning, as a fresh start with that
        // seed would; the frame's seeks and pause belonged to the old one.
        const int32_t from = c.randomSeed ? static_cast<int32_t>(random_()) : requested().value_or(seed_);
        request(stepSeed(from, c.seedStep));
    } else {
        if (c.seek) seekTo(c.seekFrom.value_or(songTime_) + c.seekBy, tick);
        if (c.togglePause) {
            if (clock_.paused) {
                // Played to its end, the show goes on from its start.
                if (songTime_ >= show_->layout.songLength) seekTo(0, tick);
                placeSound(songTime_);
                clock_.resume(tick);
                if (player_) player_->setPaused(false);
            } else {
                clock_.pauseAt(songTime_);
                if (player_) player_->setPaused(true);
            }
        }
    }
    if (c.toggleInfo) info_ = !info_;
    if (c.toggleGuide) guide_ = !guide_;
    if (c.toggleInfo || c.toggleGuide) showPanels();
    if (c.save) saveAsked_ = true;
}

void WebShow::showPanels() {
    if (!hooks_.panel) return;
    std::vector<std::string> lines;
    if (info_) lines = infoLines(show_->layout, songTime_, clock_.paused, log_.actions);
    if (guide_) {
        if (!lines.empty()) lines.emplace_back();
        for (std::string& l : pageGuideLines()) lines.push_back(std::move(l));
    }
    hooks_.panel(lines);
}

void WebShow::frame() {
    const uint32_t tick = host_.ticks();
    float now = clock_.at(tick);
    // One second after the music the picture holds, as the desktop's window
    // would close; Space plays the show again.
    const float end = show_->layout.songLength + 1.0f;
    if (!clock_.paused && now > end) {
        now = end;
        clock_.pauseAt(end);
        if (player_) player_->setPaused(true);
    }
    frameDelta_ = now - songTime_;
    songTime_ = now;

    const FrameInput input = host_.pollInput();
    handleInput(input, tick);
    if (next_) stepNextShow();

    // The sound for where the keys left the show, before the player takes
    // its next samples.
    const bool waiting = sound_->written() <= sound_->stream().cursor.played.load();
    sound_->writeAhead(kWebSoundLeadSeconds, waiting ? kWebSoundCatchUpBudgetMs : kWebSoundBudgetMs);

    int w = show_->windowWidth, h = show_->windowHeight;
    host_.drawableSize(&w, &h);
    show_->windowWidth = w;
    show_->windowHeight = h;
    if (clock_.paused && drawn_ && !drawOnce_) {
        pictures_.redraw(*show_);
    } else {
        log_.actions.clear();
        log_.draws.clear();
        pictures_.draw(*show_, songTime_, frameDelta_, &log_);
        drawn_ = true;
        drawOnce_ = false;
    }
    if (info_) showPanels();
    if (saveAsked_) {
        saveAsked_ = false;
        char stem[64];
        std::snprintf(stem, sizeof stem, "vortel-%d-%.3f", seed_, static_cast<double>(songTime_));
        if (hooks_.save) hooks_.save(stem);
    }
    host_.swapBuffers();
}

}  // namespace vortel
