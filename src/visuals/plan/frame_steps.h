#pragma once
// The image work of a frame as plain data: the screen passes (tint, glow,
// blur fade) and the frame's composition (the clear, the per-frame glow,
// keeping the square for the next frame, the stretch over the window) list
// their steps here, and the executor (step_executor.h) issues the GL calls,
// as it does for the scenes' draws (draw_plan.h).
#include <array>
#include <cstdint>
#include <vector>

namespace vortel {

enum class StepKind : uint8_t {
    // Draws go into the working area from now on, cleared to transparent
    // black with depth at its far end.
    ClearWorkingArea,
    // The known working state (resetRenderState), then, with `forQuads`,
    // the depth test off: a full-viewport quad is an image operation and
    // ignores the depth the scene left behind.
    Reset,
    // The depth test on again (after the quads of a composition).
    DepthTestOn,
    // The working area shrunk to 128 x 128 and blurred there with `gain`
    // per tap into slot 6 (bound on unit 0), then blending on with (ONE,
    // ONE), colour (gain, gain, gain) and the viewport at 128 x 128.
    Glow,
    // The working area's picture becomes slot `slot`'s (an exchange of
    // textures: the working area goes on in the slot's former one, to be
    // drawn over entirely). Needs the working area as the target.
    Exchange,
    // Draws go into the window from now on.
    Window,
    // A quad over the viewport sampling slot `slot` (see QuadStep).
    Quad,
};

// How a quad meets the picture under it.
enum class QuadBlend : uint8_t {
    Keep,   // blending left as it is
    Add,    // blending on, with the blend function left as it is (the glow's ONE, ONE)
    Alpha,  // blending on with (SRC_ALPHA, ONE_MINUS_SRC_ALPHA)
};

struct QuadStep {
    int slot = 0;
    bool clamp = false;    // clamp in s and t, else repeat
    bool nearest = false;  // texel for pixel: sampled nearest, then the slot filters linearly again
    QuadBlend blend = QuadBlend::Keep;
    bool setsColour = false;  // the current colour := colour (it multiplies the texels)
    std::array<float, 4> colour{};
    int viewportWidth = 0;  // with both > 0 the viewport becomes (0, 0, width, height) first
    int viewportHeight = 0;
};

struct FrameStep {
    StepKind kind = StepKind::Reset;
    bool forQuads = false;  // Reset
    float gain = 0;         // Glow
    int slot = 0;           // Exchange
    QuadStep quad;          // Quad
};

// A list of steps, reused from frame to frame so that planning them
// allocates nothing once it has grown.
using FrameSteps = std::vector<FrameStep>;

// Appending steps.
inline void addReset(FrameSteps& steps, bool forQuads) {
    FrameStep s;
    s.kind = StepKind::Reset;
    s.forQuads = forQuads;
    steps.push_back(s);
}
inline void addStep(FrameSteps& steps, StepKind kind) {
    FrameStep s;
    s.kind = kind;
    steps.push_back(s);
}
inline void addGlow(FrameSteps& steps, float gain) {
    FrameStep s;
    s.kind = StepKind::Glow;
    s.gain = gain;
    steps.push_back(s);
}
inline void addExchange(FrameSteps& steps, int slot) {
    FrameStep s;
    s.kind = StepKind::Exchange;
    s.slot = slot;
    steps.push_back(s);
}
inline void addQuad(FrameSteps& steps, const QuadStep& quad) {
    FrameStep s;
    s.kind = StepKind::Quad;
    s.quad = quad;
    steps.push_back(s);
}

}  // namespace vortel
