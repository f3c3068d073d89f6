#pragma once
// The material colours of the show. Scenes load a colour into fragment
// program environment parameter 0; the tint pass scales the frame by one.
#include <array>

#include "core/vec.h"

namespace vortel {

struct PaletteColour {
    float r, g, b;
};

constexpr int kPaletteSize = 12;

inline constexpr std::array<PaletteColour, kPaletteSize> Palette{{
    {0.45f, 0.25f, 0.1f},   // 0 brown
    {0.5f, 0.475f, 0.4f},   // 1 stone
    {1.0f, 0.3f, 0.2f},     // 2 red orange
    {0.2f, 0.01f, 0.01f},   // 3 dark red
    {0.01f, 0.05f, 0.2f},   // 4 dark blue
    {0.4f, 0.1f, 0.4f},     // 5 purple
    {0.1f, 0.15f, 1.0f},    // 6 blue
    {1.0f, 0.15f, 0.1f},    // 7 red
    {0.75f, 0.4f, 0.3f},    // 8 salmon
    {1.0f, 1.0f, 1.0f},     // 9 white
    {0.5f, 0.5f, 0.5f},     // 10 grey
    {0.2f, 0.2f, 0.2f},     // 11 dark grey
}};

// Colour numbers into Palette. Entries 0-11 are the colours in order;
// entries 16-20 (colours 1, 10, 11, 2, 0) are the room's choices.
inline constexpr std::array<int, 24> PaletteSequence{
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 7, 3, 8, 9, 1, 10, 11, 2, 0, 6, 4, 5};

// The material vector of Palette colour `colour` (taken mod 12; negative
// numbers wrap upwards): its red, green and blue, and as the fourth
// component the red of the next colour, 0 after the last one.
Vec4 materialColour(int colour);

// Uploads materialColour(colour) as fragment-program environment parameter
// 0. Needs the GL API (gl_api.h) loaded.
void uploadMaterialColour(int colour);

}  // namespace vortel
