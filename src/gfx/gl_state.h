#pragma once
// Looking at and putting back the GL's state for the code above gfx, which
// issues no GL calls of its own: errors, the bindings and current values
// drawing changes, drawing into nothing, waiting for the GL.
#include <cstdint>

#include "gfx/renderer.h"

namespace vortel {

// The oldest error the GL has recorded (and forgets now), 0 when none is
// left.
uint32_t nextGlError();

// "GL_INVALID_ENUM", "GL_INVALID_VALUE", ... for a GL error, "GL error" for
// one without a name here.
const char* errorName(uint32_t error);

// The textures bound on units 0 and 1 with the wrap and filters they sample
// with, and the current texture coordinate and colour, as they were when
// this was made: a line scene samples whatever the actions before it left
// bound. Unit 0 is active after both. The GLSL renderer keeps its current
// colour and texture coordinate in its GpuResources (glsl_resources.h), so
// for it only the textures are saved.
class SavedBindings {
public:
    explicit SavedBindings(Renderer renderer = Renderer::Arb);
    void restore() const;

private:
    Renderer renderer_;
    struct Unit {
        int32_t texture = 0;
        int32_t params[4] = {};  // wrap s, wrap t, min filter, mag filter
    };
    Unit units_[2];
    float texCoord_[4] = {};
    float colour_[4] = {};
};

// Draws touch no pixel (an empty scissor box) until drawIntoEverything.
void drawIntoNothing();
void drawIntoEverything();

// Waits until the GL has carried out every call so far (glFinish).
void finishGl();

}  // namespace vortel
