#pragma once
// A picture laid over the finished frame (the live show's text panels). It
// has a texture of its own and leaves the GL exactly as it found it, so the
// frame after it (which reads the previous frame from slot 0) cannot tell it
// was drawn.
#include <cstdint>

#include "gfx/glsl_overlay.h"
#include "gfx/renderer.h"

namespace vortel {

class OverlayImage {
public:
    // Drawn the way `renderer` draws (a program of its own for the GLSL
    // renderer, whose context has no fixed-function GL).
    explicit OverlayImage(Renderer renderer = Renderer::Arb) : renderer_(renderer) {}
    ~OverlayImage();  // frees the texture; the context must still be current
    OverlayImage(const OverlayImage&) = delete;
    OverlayImage& operator=(const OverlayImage&) = delete;

    // Replaces the picture with `rgba`: width x height pixels, 4 bytes each,
    // rows top first, straight (not premultiplied) alpha.
    void upload(const uint8_t* rgba, int width, int height);

    // Blends the picture over the back buffer, pixel for pixel, with its
    // top-left corner `x`, `y` pixels from the window's top-left corner.
    void draw(int x, int y, int windowWidth, int windowHeight) const;

    int width() const { return width_; }
    int height() const { return height_; }
    // The GL texture name (0 before the first upload).
    uint32_t texture() const { return texture_; }

private:
    Renderer renderer_;
    mutable GlslOverlayObjects glsl_;
    uint32_t texture_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace vortel
