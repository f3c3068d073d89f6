#include "web_pictures.h"

#include <cstring>

// The GL ES 3.0 functions themselves, which the GLSL renderer reaches
// through its entry points.
#define GL_GLEXT_PROTOTYPES 1
#include "gfx/glsl_api.h"
#include "visuals/frame/frame.h"
#include "visuals/frame/last_frame.h"
#include "visuals/frame/show_graphics.h"

namespace vortel {

namespace {

// The entry points the GLSL renderer loads by name: WebGL 2 has them all,
// linked into the page (no extension to ask for).
void* webGlProcAddress(const char* name) {
#define VORTEL_WEB_ENTRY_POINT(type, fn) \
    if (std::strcmp(name, #fn) == 0) return reinterpret_cast<void*>(static_cast<type>(&::fn));
    VORTEL_GL_FRAMEBUFFER_ENTRY_POINTS(VORTEL_WEB_ENTRY_POINT)
    VORTEL_GLSL_ENTRY_POINTS(VORTEL_WEB_ENTRY_POINT)
#undef VORTEL_WEB_ENTRY_POINT
    return nullptr;
}

// The show's frames drawn by the GLSL renderer on the page's WebGL 2
// context, as the desktop draws them.
class GlslPictures final : public ShowPictures {
public:
    bool make(Show& show, const TextureImages& images, std::string* why) override {
        show.gpu.renderer = Renderer::Glsl;
        return uploadShowGraphics(show, images, &webGlProcAddress, why);
    }
    void draw(Show& show, float time, float frameDelta, FrameLog* log) override {
        renderFrame(show, time, frameDelta, FramePresent::Window, log);
    }
    void redraw(Show& show) override { redrawLastFrame(show); }
    void release(Show& show) override { releaseShowGraphics(show); }
};

}  // namespace

std::unique_ptr<ShowPictures> makeWebPictures() {
    return std::make_unique<GlslPictures>();
}

}  // namespace vortel
