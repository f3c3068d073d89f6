#include "offline/offline_show.h"

#include <cmath>
#include <cstring>

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/gl_state.h"
#include "gfx/read_back.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"
#include "platform/allocator.h"
#include "platform/sdl_window.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/show_graphics.h"

namespace vortel {

std::unique_ptr<OfflineShow> OfflineShow::open(const SongLayout& layout, std::string* why, Renderer renderer) {
    std::unique_ptr<OfflineShow> show(new OfflineShow());
    show->show_.layout = layout;
    show->show_.gpu.renderer = renderer;
    WindowOptions wo;
    wo.width = show->show_.windowWidth;
    wo.height = show->show_.windowHeight;
    wo.title = "vortel " + std::to_string(layout.seed) + " (offscreen)";
    wo.vsync = false;
    wo.visible = false;
    wo.offscreen = true;  // offline pictures never need a display
    wo.coreProfile = renderer == Renderer::Glsl;
    // The driver's memory churn costs page faults every frame otherwise (the
    // program does this at its start; tests and benchmarks come here).
    keepFreedMemoryForReuse();
    show->window_ = SdlWindow::open(wo, why);
    if (!show->window_) return nullptr;
    if (!startShowGraphics(show->show_, &glProcAddress, why)) return nullptr;
    readFromBackBufferPacked();
    // Mesa hands the rows over top row first itself, which saves a copy of
    // every frame read back.
    show->topRowFirst_ = packsTopRowFirst();
    return show;
}

OfflineShow::~OfflineShow() {
    // The context goes with the window; the show's objects go first.
    if (window_) releaseShowGraphics(show_);
}

void OfflineShow::render(float time, float frameDelta, FramePresent present) {
    renderFrame(show_, time, frameDelta, present);
}

bool OfflineShow::renderStill(float time, const std::function<bool()>& carryOn) {
    const std::vector<RunUpFrame> frames = stillRunUp(time);
    for (size_t i = 0; i < frames.size(); ++i) {
        if (carryOn && !carryOn()) return false;
        // Only the last frame is looked at; the run-up builds slot 0.
        const bool still = i + 1 == frames.size();
        render(frames[i].time, frames[i].delta, still ? FramePresent::Window : FramePresent::SlotOnly);
    }
    return true;
}

void OfflineShow::readTopRowFirst(int w, int h, uint32_t format, int bytesPerPixel, uint8_t* out) const {
    readPixelsTopRowFirst(w, h, format, bytesPerPixel, topRowFirst_, out);
}

void OfflineShow::readRgb(uint8_t* out) const {
    finishGl();
    readTopRowFirst(width(), height(), GL_RGB, 3, out);
}

void OfflineShow::readBgra(uint8_t* out) const { readTopRowFirst(width(), height(), GL_BGRA, 4, out); }

void OfflineShow::readSquareBgra(uint8_t* out) const {
    readFromSlot(show_.gpu, kSlotPreviousFrame);
    readTopRowFirst(kWorkingAreaSize, kWorkingAreaSize, GL_BGRA, 4, out);
    readFromWindow(show_.gpu);
}

std::vector<uint8_t> OfflineShow::readRgb() const {
    std::vector<uint8_t> rgb(static_cast<size_t>(width()) * height() * 3);
    readRgb(rgb.data());
    return rgb;
}

}  // namespace vortel
