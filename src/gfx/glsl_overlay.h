#pragma once
// The GLSL renderer's way of laying an overlay picture (overlay_image.h)
// over the window: a program and an empty vertex array of its own, the
// quad's corners made from the vertex number, and every binding and switch
// it changes put back afterwards.
#include <cstdint>

namespace vortel {

struct GlslOverlayObjects {
    uint32_t program = 0;
    uint32_t vertexArray = 0;
    int32_t rectLocation = -1;    // u_rect: x, y, width, height in window pixels from the top-left
    int32_t windowLocation = -1;  // u_window: width, height
};

// Blends `texture` (width x height texels, rows top first, straight alpha)
// over the back buffer with its top-left corner at (x, y) pixels from the
// window's top-left corner; makes the objects on first use. False when the
// program does not build (nothing drawn).
bool drawGlslOverlay(GlslOverlayObjects& objects, uint32_t texture, int x, int y, int width, int height,
                     int windowWidth, int windowHeight);

// Deletes what drawGlslOverlay made.
void deleteGlslOverlay(GlslOverlayObjects& objects);

}  // namespace vortel
