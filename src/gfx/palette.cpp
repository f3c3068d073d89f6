#include "gfx/palette.h"

#include "gfx/gl_api.h"

namespace vortel {

Vec4 materialColour(int colour) {
    int i = ((colour % kPaletteSize) + kPaletteSize) % kPaletteSize;
    const PaletteColour& c = Palette[i];
    float nextRed = i + 1 < kPaletteSize ? Palette[i + 1].r : 0.0f;
    return {c.r, c.g, c.b, nextRed};
}

void uploadMaterialColour(int colour) {
    Vec4 m = materialColour(colour);
    const float v[4] = {m.x, m.y, m.z, m.w};
    glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, 0, v);
}

}  // namespace vortel
