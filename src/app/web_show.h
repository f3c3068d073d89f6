#pragma once
// The show as a web page plays it: one thread for everything. The page's
// animation frames call frame(); each frame writes the sound a little
// further ahead of the player (there is no sound thread), answers the keys
// and draws. Pictures start at once; the sound joins in step when the page
// has one (a browser opens its sound only after a click or a key). Nothing
// here knows the browser: the page's platform code is the Host, the player
// and the hooks, and how a Show is drawn comes in as ShowPictures.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/live_player.h"
#include "app/show_clock.h"
#include "audio/audio_stream.h"
#include "core/rng.h"
#include "gfx/texture_images.h"
#include "platform/host.h"
#include "song/song_player.h"
#include "visuals/frame/show.h"
#include "visuals/timeline/frame_log.h"

namespace vortel {

// What the page's address asks for: "#seed=N&t=SECONDS", in any order.
// A seed is a whole number in the 32-bit range and nothing else; a time a
// number of seconds, 0 or more. Anything else counts as not given.
struct PageAddress {
    std::optional<int32_t> seed;
    std::optional<float> start;
    bool paused = false;  // "&paused": the picture of that instant, held
};
PageAddress readPageAddress(std::string_view hash);
// The address of a show: "#seed=N".
std::string pageAddress(int32_t seed);

// One song written into a wave image from the main loop, in chunks, ahead of
// whatever plays it: the same samples as the desktop's sound thread writes
// (and --wav and --stems), as its noise draws from a generator of its own.
// With a part name only that part plays (a stem).
class WebSound {
public:
    // Composes the song and writes its first seconds.
    WebSound(int32_t seed, float bpm, AudioStream::Clock clock, std::string_view part = {});
    // Writes on until `leadSeconds` beyond the player's position are written
    // (or the image is full), or for `budgetMs` of the clock when that comes
    // first; at least one chunk when anything is missing.
    void writeAhead(float leadSeconds, double budgetMs);
    // Writes the first `count` samples (or a little more), in the same
    // chunks, whatever the time it takes.
    void writeFirst(int64_t count);

    AudioStream& stream() { return *stream_; }
    int64_t written() const { return stream_->published.load(); }

private:
    AudioStream::Clock clock_;
    Generator rng_;
    std::unique_ptr<SongPlayer> song_;
    std::unique_ptr<AudioStream> stream_;
};

// How the page draws a Show: the GL objects of a show made and let go, a
// frame drawn (renderFrame), the last one drawn again while paused.
class ShowPictures {
public:
    virtual ~ShowPictures() = default;
    // Makes the GL objects of `show` (its layout and timeline made) from its
    // texture images. False with a reason.
    virtual bool make(Show& show, const TextureImages& images, std::string* why) = 0;
    virtual void draw(Show& show, float time, float frameDelta, FrameLog* log) = 0;
    virtual void redraw(Show& show) = 0;
    virtual void release(Show& show) = 0;
};

// What the show tells the page besides the title (Host::setTitle).
struct WebShowHooks {
    std::function<void(int32_t seed)> showing;  // a show took over: the address follows it
    // The text over the picture (the information, then the key guide), one
    // entry a line; empty: none.
    std::function<void(const std::vector<std::string>& lines)> panel;
    // S: the picture just drawn, to be saved as `stem`.png.
    std::function<void(const std::string& stem)> save;
};

// Seconds of sound kept written ahead of the player, and the main loop's
// time for it per frame: while the player waits for it (a seek far ahead,
// a new show) the frame gives it more.
constexpr float kWebSoundLeadSeconds = 6.0f;
constexpr double kWebSoundBudgetMs = 4.0;
constexpr double kWebSoundCatchUpBudgetMs = 30.0;

class WebShow {
public:
    // `soundClock` times the sound's writing (milliseconds, as the host's
    // ticks); `entropy` seeds the random seeds R asks for.
    WebShow(Host& host, ShowPictures& pictures, WebShowHooks hooks, AudioStream::Clock soundClock, uint32_t entropy);
    ~WebShow();
    WebShow(const WebShow&) = delete;
    WebShow& operator=(const WebShow&) = delete;

    // Builds the show of `seed` as a fresh start would (tempo, textures,
    // timeline, GL objects, song) and plays it from `at` (clamped to the
    // song), replacing the one playing. False with a reason when the
    // pictures cannot be made; the show playing then goes on. `paused`
    // holds it at `at` on the picture a still of that instant has (its
    // run-up drawn first); Space plays on from there.
    bool start(int32_t seed, float at, std::string* why, bool paused = false);
    // Asks for the show of `seed` from its start, made ready a step per
    // frame while the one playing goes on (its tempo, textures and
    // timeline; its GL objects; its song), then taking over. A later
    // request replaces one not yet ready.
    void request(int32_t seed);
    // The seed that will play next: the latest request, or none.
    std::optional<int32_t> requested() const;

    // One frame: the song time from the clock, the sound ahead, the keys,
    // the picture. Past one second after the music the picture holds.
    void frame();

    // The page's sound is open: `player` plays from now on, in step with
    // the picture, whose sound it will sound `latencySeconds` after taking it.
    void startSound(LivePlayer* player, float latencySeconds);

    int32_t seed() const { return seed_; }
    float songTime() const { return songTime_; }
    bool paused() const { return clock_.paused; }

private:
    struct NextShow {
        int32_t seed = 0;
        int step = 0;
        std::unique_ptr<Show> show;
        TextureImages images;
        bool made = false;  // its GL objects exist
    };
    void stepNextShow();
    void adopt(std::unique_ptr<Show> show, std::unique_ptr<WebSound> sound, float at);
    void handleInput(const FrameInput& input, uint32_t tick);
    void seekTo(float target, uint32_t tick);
    void placeSound(float time);
    void showPanels();

    Host& host_;
    ShowPictures& pictures_;
    WebShowHooks hooks_;
    AudioStream::Clock soundClock_;
    std::mt19937 random_;
    std::unique_ptr<Show> show_;
    std::unique_ptr<WebSound> sound_;
    std::unique_ptr<NextShow> next_;
    LivePlayer* player_ = nullptr;
    float latency_ = 0;
    ShowClock clock_;
    int32_t seed_ = 0;
    float songTime_ = 0;
    float frameDelta_ = 0;
    bool drawn_ = false;       // the show has a frame to hold
    bool drawOnce_ = false;    // paused, but the picture must move (a seek)
    bool info_ = false, guide_ = false;
    bool saveAsked_ = false;
    FrameLog log_;
};

}  // namespace vortel
