#pragma once
// The show's pictures without a window or a sound device: an offscreen GL
// context, the seed's textures, programs and Timeline, and frames rendered
// at chosen song times and read back.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/song_layout.h"
#include "platform/sdl_window.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/show.h"
#include "visuals/frame/still_run_up.h"

namespace vortel {

class OfflineShow {
public:
    // Opens the offscreen context and builds everything the pictures of the
    // song `layout` need (show_layout.h): textures, render targets, Timeline,
    // GPU programs. Null with a reason when no context can be had.
    // `renderer` chooses the programs (and with Renderer::Glsl a core
    // profile context).
    static std::unique_ptr<OfflineShow> open(const SongLayout& layout, std::string* why,
                                             Renderer renderer = Renderer::Arb);
    ~OfflineShow();

    // Renders one frame at song time `time`, `frameDelta` after the last one,
    // into slot 0 and (unless told otherwise) the window.
    void render(float time, float frameDelta, FramePresent present = FramePresent::Window);

    // Renders the run-up and the frame at `time`, asking `carryOn` (when
    // given) before each frame; false when it said no.
    bool renderStill(float time, const std::function<bool()>& carryOn = {});

    // The window's pixels as RGB rows, top row first (800 x 600 x 3 bytes).
    std::vector<uint8_t> readRgb() const;
    void readRgb(uint8_t* out) const;
    // The same as B, G, R, A bytes (the framebuffer's own order, the
    // cheapest to read), top row first.
    void readBgra(uint8_t* out) const;
    // The last frame's finished 512 x 512 square (slot 0) as B, G, R, A
    // bytes, top row first: what the window shows, before the stretch.
    void readSquareBgra(uint8_t* out) const;

    int width() const { return show_.windowWidth; }
    int height() const { return show_.windowHeight; }

    // The show drawn, and its generator (a soundtrack made alongside draws
    // from it too).
    Show& show() { return show_; }

private:
    void readTopRowFirst(int w, int h, uint32_t format, int bytesPerPixel, uint8_t* out) const;

    std::unique_ptr<SdlWindow> window_;
    Show show_;
    bool topRowFirst_ = false;  // the GL reads rows top first (GL_MESA_pack_invert)
};

}  // namespace vortel
