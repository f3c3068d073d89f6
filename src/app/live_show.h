#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/frame_loop.h"
#include "app/frame_statistics.h"
#include "app/live_player.h"
#include "app/live_sound.h"
#include "app/next_show.h"
#include "app/options.h"
#include "app/overlay_panels.h"
#include "app/playlist.h"
#include "app/show_clock.h"
#include "audio/audio_stream.h"
#include "platform/host.h"
#include "platform/text_image.h"
#include "song/song_player.h"
#include "visuals/timeline/frame_log.h"
#include "visuals/frame/show.h"

namespace vortel {

// The show of `seed` (or the playlist's first) in a window with its sound:
// writes the run file, opens the window and the sound device, and runs
// frames until the song is over (and nothing is to follow), Escape or a
// quit. Returns the exit code.
int runLiveShow(const Options& options, int32_t seed);

struct LiveSettings {
    bool verbose = false;
    std::vector<int32_t> playlist;  // the seeds of the shows after the first, in order
    bool shuffle = false;           // then random seeds without end
    std::string fontPath = kDefaultFontPath;
    std::string saveFolder;         // where S saves; "" = the current folder
    bool writeRunFile = true;
    AudioStream::Clock audioClock = nullptr;  // the audio budget's clock; null = budgetTicks
    bool reportGlErrors = false;    // the first GL error of each kind on stderr
    SoundSourceWrap wrapSound;      // tests: a stand-in between each song and its image
    Renderer renderer = Renderer::Arb;  // the programs every show draws with (the context must suit)
};

// The steerable show: one seed's song, sound and pictures at a time, in the
// window (or whatever Host) whose GL context is current, played through
// `player` (null: silently). Keys pause, seek, change the seed, save the
// picture and lay text over it; see readControls.
class LiveShow {
public:
    LiveShow(Host& host, LivePlayer* player, LiveSettings settings);
    ~LiveShow();  // frees the show's GL textures and programs and its sound
    LiveShow(const LiveShow&) = delete;
    LiveShow& operator=(const LiveShow&) = delete;

    // Builds everything a fresh start with `seed` builds, in the same order
    // (run file, tempo, textures, Timeline, song, the first seconds of
    // sound) as a new Show, replacing the current one, and plays it from song
    // time `at` (clamped to the song). False with a reason when the GL cannot
    // be loaded; the current show then goes on. The keys and the playlist
    // change shows without waiting: the next one is made ready while the
    // current one plays (next_show.h), and takes over when it is.
    bool startShow(int32_t seed, float at, std::string* why);

    // Frames until a quit, Escape, or the end of a show with none to follow.
    LoopResult run();

    // What tests and reports look at.
    int32_t seed() const { return seed_; }
    bool paused() const { return clock_.paused; }
    bool infoShown() const { return panels_.infoShown(); }
    bool guideShown() const { return panels_.guideShown(); }
    const AudioStream& audio() const { return *sound_->stream; }
    const SongPlayer& song() const { return *sound_->song; }
    // Whether another show is being made ready to take over.
    bool changingShow() const { return next_->busy(); }
    const ShowClock& clock() const { return clock_; }
    const Show& show() const { return *show_; }
    const PlayPosition& position() const { return position_; }
    int showsStarted() const { return showsStarted_; }
    double lastBuildSeconds() const { return lastBuildSeconds_; }
    const std::vector<std::string>& savedFiles() const { return saved_; }
    // The text panels as last laid out (empty when not shown).
    const std::vector<std::string>& infoText() const { return panels_.infoText(); }

    // Milliseconds between the starts of successive frames of a show (not
    // across a change of show); `settled` holds those past its first second.
    const FrameTimes& frameTimes() const { return frameStatistics_.times(); }
    int warmUpFrameCount() const { return warmUpFrameCount_; }
    // Wall-clock seconds of the last run().
    double runSeconds() const { return runSeconds_; }
    // One line on stderr: the frames of the show playing now, their time
    // and figures (the same line is printed for each show that ends).
    void reportShowFrames() const;

private:
    void handleInput(const FrameInput& input);
    void draw();
    bool startNextShow();
    void seekTo(float target, uint32_t tick);
    void pause();
    void resume(uint32_t tick);
    void placeAudio(int64_t position);
    void requestShow(int32_t seed);
    void advanceNextShow();
    void adopt(std::unique_ptr<PreparedShow> next, float at, double builtSeconds, bool framesWentOn);
    void followSound();

    void saveFrame(int width, int height);

    Host& host_;
    LivePlayer* player_;
    LiveSettings settings_;
    ShowClock clock_;
    int32_t seed_ = 0;
    std::unique_ptr<Show> show_;         // the seed's pictures
    std::unique_ptr<LiveSound> sound_;   // its song, wave image and sound thread
    std::unique_ptr<NextShow> next_;     // the show being made ready, if any
    // A seek the sound has not caught up with yet: where to, and when.
    std::optional<float> soundAwaited_;
    std::chrono::steady_clock::time_point soundAwaitedSince_{};
    bool playlistAsked_ = false;
    double runSeconds_ = 0;  // the playlist's next show was asked for
    PlayPosition position_;
    int showsStarted_ = 0;
    double lastBuildSeconds_ = 0;
    Playlist playlist_;

    bool renderOnce_ = false;  // paused, but the picture must show a new place
    bool framesDrawn_ = false; // slot 0 holds a frame of this show
    bool saveRequested_ = false;
    std::vector<std::string> saved_;

    FrameLog log_;  // the actions of the last frame drawn
    OverlayPanels panels_;
    FrameStatistics frameStatistics_;
    int warmUpFrameCount_ = 0;
    double warmUpSeconds_ = 0;
};

}  // namespace vortel
