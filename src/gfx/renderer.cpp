#include "gfx/renderer.h"

namespace vortel {

const char* rendererName(Renderer renderer) { return renderer == Renderer::Glsl ? "glsl" : "arb"; }

std::optional<Renderer> rendererNamed(std::string_view name) {
    if (name == "arb") return Renderer::Arb;
    if (name == "glsl") return Renderer::Glsl;
    return std::nullopt;
}

}  // namespace vortel
