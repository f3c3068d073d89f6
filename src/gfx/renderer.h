#pragma once
// The two ways a show's plans reach the GL: the ARB assembly programs with
// the fixed-function pipeline of a compatibility context, or GLSL programs
// on a 3.3 core context (and later OpenGL ES 3.0 / WebGL 2), where the
// matrices, the current colour and the texture environment live in C++
// and the programs. Both draw the same plans into the same working area.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vortel {

enum class Renderer : uint8_t { Arb, Glsl };

// "arb", "glsl".
const char* rendererName(Renderer renderer);

// The renderer of that name (as rendererName spells it), or nothing.
std::optional<Renderer> rendererNamed(std::string_view name);

}  // namespace vortel
