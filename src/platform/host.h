#pragma once
#include <cstdint>

namespace vortel {

// What the frame loop learns from the desktop once per frame.
struct FrameInput {
    bool quit = false;    // window closed, quit event, or SIGINT/SIGTERM
    bool escape = false;  // Escape is down now or was pressed since the last poll
};

// The few services the frame loop needs from the platform. The SDL window
// implements it for the show; tests use a scripted fake, so the loop's logic
// runs without a display.
class Host {
public:
    virtual ~Host() = default;
    // Milliseconds from an arbitrary origin; wraps at 2^32 like any tick counter.
    virtual uint32_t ticks() = 0;
    // Handles pending window events and reports quit and Escape.
    virtual FrameInput pollInput() = 0;
    // Shows the finished frame.
    virtual void swapBuffers() = 0;
};

}  // namespace vortel
