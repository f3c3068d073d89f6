#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vortel {

// The keys the live show answers to, named for what is printed on them.
// Escape and F11 are handled as before (FrameInput::escape; the window
// switches to the whole screen itself) and are not reported here.
enum class Key { Space, Left, Right, Home, N, P, R, S, I, H, F1 };

// One key press. `repeat` marks the presses the keyboard's auto-repeat adds
// while a key is held.
struct KeyPress {
    Key key = Key::Space;
    bool repeat = false;
};

// What the frame loop learns from the desktop once per frame.
struct FrameInput {
    bool quit = false;    // window closed, quit event, or SIGINT/SIGTERM/SIGHUP
    bool escape = false;  // Escape is down now or was pressed since the last poll
    std::vector<KeyPress> keys;  // the show's keys pressed since the last poll, in order
};

// The few services the frame loop needs from the platform. The SDL window
// implements it for the show; tests use a scripted fake, so the loop's logic
// runs without a display.
class Host {
public:
    virtual ~Host() = default;
    // Milliseconds from an arbitrary origin; wraps at 2^32 like any tick counter.
    virtual uint32_t ticks() = 0;
    // Handles pending window events and reports quit, Escape and the keys.
    virtual FrameInput pollInput() = 0;
    // Shows the finished frame.
    virtual void swapBuffers() = 0;
    // The window's caption (nothing to do without a window).
    virtual void setTitle(const std::string& /*title*/) {}
    // The size of the picture in pixels; left as given without a window.
    virtual void drawableSize(int* /*width*/, int* /*height*/) const {}
};

}  // namespace vortel
