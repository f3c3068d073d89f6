#pragma once
#include <memory>
#include <string>

#include "platform/key_repeat.h"
#include "platform/x11_window.h"

#include "platform/host.h"

struct SDL_Window;

namespace vortel {

struct WindowOptions {
    int width = 800;
    int height = 600;
    std::string title;
    bool vsync = true;     // synchronise buffer swaps with the display
    bool visible = true;   // hidden windows serve tests and offline rendering
    bool fullscreen = false;  // cover the whole desktop (F11 toggles while running)
    bool offscreen = false;   // no display needed: SDL's offscreen driver (EGL), for pictures nobody watches
    // Draw into this X11 window, which another program owns (a screensaver's,
    // the root window), at its size, instead of opening one: no title, no
    // keys, no full screen; its destruction reads as quit. 0: a window of our own.
    uint64_t intoWindow = 0;
    // An OpenGL 3.3 core profile context (the GLSL renderer's) instead of
    // the compatibility context the fixed-function GL and the ARB programs
    // need.
    bool coreProfile = false;
};

// The address of the named GL entry point in the current context, or null:
// what the graphics layer's loader is given to find the GL's functions.
void* glProcAddress(const char* name);

// Whether SDL's video (and with it a GL driver) was started in this process:
// a process that may still fork must not have.
bool videoStarted();

// An SDL window with a double-buffered RGBA8 OpenGL compatibility context
// (so fixed-function GL and the ARB program extensions are available) that
// stays current on the calling thread for the window's life.
class SdlWindow final : public Host {
public:
    // Returns null and fills *error when no display or no context can be had.
    static std::unique_ptr<SdlWindow> open(const WindowOptions& options, std::string* error);
    ~SdlWindow() override;

    uint32_t ticks() override;
    FrameInput pollInput() override;
    void swapBuffers() override;
    void setTitle(const std::string& title) override;

    // Switches between the window and the whole desktop (F11 does it too).
    void toggleFullscreen();
    bool fullscreen() const;
    // The size of the picture in pixels: the window's, or the screen's when
    // fullscreen.
    void drawableSize(int* width, int* height) const override;

    int depthBits() const { return depthBits_; }
    // True when the 32-bit depth buffer was refused and 24 bits were taken.
    bool depthFellBack() const { return depthFellBack_; }
    const std::string& renderer() const { return renderer_; }
    const std::string& openGlVersion() const { return glVersion_; }
    SDL_Window* handle() const { return window_; }
    // Whether the window drawn into was destroyed by its owner.
    bool windowGone() const { return watch_ && watch_->gone(); }

private:
    SdlWindow() = default;
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    int depthBits_ = 0;
    bool depthFellBack_ = false;
    bool escapeLatched_ = false;
    KeyRepeatFilter repeats_;
    std::unique_ptr<X11WindowWatch> watch_;  // the foreign window drawn into, if any
    std::string renderer_;
    std::string glVersion_;
};

}  // namespace vortel
