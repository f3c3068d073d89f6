#pragma once
// The next show made ready while the current one plays. What needs no GL
// (tempo, texture images, timeline, warm-up times, song, the first seconds
// of sound) is made on a thread of its own; the GL part follows on the GL
// thread a step per frame (textures, then render targets and programs,
// then one warm-up frame at a time), so that no frame of the playing show
// waits long for it.
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/live_sound.h"
#include "gfx/texture_images.h"
#include "visuals/frame/show.h"
#include "visuals/frame/warm_up.h"

namespace vortel {

struct PreparedShow {
    int32_t seed = 0;
    std::unique_ptr<Show> show;  // layout and timeline; no GL objects yet
    TextureImages textures;
    std::vector<float> warmUpTimes;
    std::unique_ptr<LiveSound> sound;
    double seconds = 0;  // how long the part without GL took
};

// The part without GL, in the order of a fresh start: tempo, texture
// images, timeline (each re-seeds the show's generator), warm-up times,
// then the song and its first seconds.
PreparedShow prepareShow(int32_t seed, AudioStream::Clock clock, const SoundSourceWrap& wrap = {},
                         Renderer renderer = Renderer::Arb);

// The GL part all at once (a start, or a show nobody waits for): uploads,
// render targets, programs and the whole warm-up. False with a reason when
// the GL fails.
bool finishShowGraphics(PreparedShow& next, std::string* why);

class NextShow {
public:
    NextShow(AudioStream::Clock clock, SoundSourceWrap wrap, Renderer renderer = Renderer::Arb)
        : clock_(clock), wrap_(std::move(wrap)), renderer_(renderer) {}
    ~NextShow();  // waits for a preparation still running and frees what it made

    // Asks for `seed` next. While another preparation runs, the latest
    // request waits for it and then starts (the one before is dropped).
    void request(int32_t seed);
    // The seed that will play next: the latest request, or none.
    std::optional<int32_t> target() const;
    bool busy() const { return target().has_value(); }

    // One step of the GL part (or none while the thread still works). Call
    // once per frame on the GL thread, before the frame. Returns the show
    // once it is ready to play; its graphics are made and warmed up.
    std::unique_ptr<PreparedShow> step(std::string* why);

    // Frames spent on the GL part of the show returned last, and their time.
    int graphicsSteps() const { return graphicsSteps_; }
    double graphicsSeconds() const { return graphicsSeconds_; }

private:
    void start(int32_t seed);
    void drop(PreparedShow& p);

    AudioStream::Clock clock_;
    SoundSourceWrap wrap_;
    Renderer renderer_;
    std::future<PreparedShow> working_;
    int32_t workingSeed_ = 0;
    std::optional<int32_t> wanted_;  // asked for while the thread worked on another
    std::unique_ptr<PreparedShow> ready_;
    int stage_ = 0;
    std::unique_ptr<WarmUp> warmUp_;
    int graphicsSteps_ = 0;
    double graphicsSeconds_ = 0;
};

}  // namespace vortel
