#include "app/next_show.h"

#include "gfx/gl_state.h"
#include "gfx/gpu_programs.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"
#include "platform/sdl_window.h"
#include "song/song_setup.h"
#include "visuals/frame/show_graphics.h"

namespace vortel {

namespace {

double secondsSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

PreparedShow prepareShow(int32_t seed, AudioStream::Clock clock, const SoundSourceWrap& wrap, Renderer renderer) {
    const auto t0 = std::chrono::steady_clock::now();
    PreparedShow p;
    p.seed = seed;
    p.show = std::make_unique<Show>();
    p.show->gpu.renderer = renderer;
    p.show->layout.seed = seed;
    setupSong(p.show->layout, p.show->rng);
    p.textures = preparePictures(*p.show);
    p.warmUpTimes = warmUpTimes(*p.show);
    p.sound = makeLiveSound(seed, p.show->layout.bpm, clock, wrap);
    p.seconds = secondsSince(t0);
    return p;
}

bool finishShowGraphics(PreparedShow& next, std::string* why) {
    if (!uploadShowGraphics(*next.show, next.textures, &glProcAddress, why)) return false;
    warmUpFrames(*next.show, std::move(next.warmUpTimes));
    return true;
}

NextShow::~NextShow() {
    if (working_.valid()) working_.wait();
    if (ready_) drop(*ready_);
}

void NextShow::request(int32_t seed) {
    if (working_.valid()) {
        wanted_ = seed;  // after the one on the thread
        return;
    }
    if (ready_) {
        if (ready_->seed == seed) return;
        drop(*ready_);
        ready_.reset();
    }
    start(seed);
}

std::optional<int32_t> NextShow::target() const {
    if (wanted_) return wanted_;
    if (working_.valid()) return workingSeed_;
    if (ready_) return ready_->seed;
    return std::nullopt;
}

void NextShow::start(int32_t seed) {
    workingSeed_ = seed;
    stage_ = 0;
    graphicsSteps_ = 0;
    graphicsSeconds_ = 0;
    working_ = std::async(std::launch::async,
                          [seed, clock = clock_, wrap = wrap_, renderer = renderer_] { return prepareShow(seed, clock, wrap, renderer); });
}

void NextShow::drop(PreparedShow& p) {
    warmUp_.reset();
    if (p.show) releaseShowGraphics(*p.show);
}

std::unique_ptr<PreparedShow> NextShow::step(std::string* why) {
    if (!ready_) {
        if (!working_.valid() || working_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return nullptr;
        ready_ = std::make_unique<PreparedShow>(working_.get());
        if (wanted_) {
            // Overtaken by a later request: that one is made instead.
            const int32_t seed = *wanted_;
            wanted_.reset();
            if (seed != ready_->seed) {
                ready_.reset();
                start(seed);
                return nullptr;
            }
        }
        return nullptr;  // the GL part starts with the next frame
    }
    const auto t0 = std::chrono::steady_clock::now();
    Show& show = *ready_->show;
    bool finished = false;
    switch (stage_) {
    case 0:
        if (!loadGlApi(show.gpu.renderer, &glProcAddress, why)) {
            ready_.reset();
            return nullptr;
        }
        uploadTextureImages(show.gpu, ready_->textures);
        ready_->textures = TextureImages{};
        stage_ = 1;
        break;
    case 1:
        if (!createRenderTargets(show.gpu, why)) {
            drop(*ready_);
            ready_.reset();
            return nullptr;
        }
        createGpuPrograms(show.gpu);
        warmUp_ = std::make_unique<WarmUp>(show, std::move(ready_->warmUpTimes));
        stage_ = 2;
        break;
    default:
        if (!warmUp_->step()) {
            finishGl();
            finished = true;
        }
        break;
    }
    ++graphicsSteps_;
    graphicsSeconds_ += secondsSince(t0);
    if (!finished) return nullptr;
    warmUp_.reset();
    stage_ = 0;
    return std::move(ready_);
}

}  // namespace vortel
