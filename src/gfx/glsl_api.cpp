#include "gfx/glsl_api.h"

#include <cstring>

namespace vortel {

#define VORTEL_GLSL_DEFINE_ENTRY_POINT(type, name) type name = nullptr;
VORTEL_GLSL_ENTRY_POINTS(VORTEL_GLSL_DEFINE_ENTRY_POINT)
#undef VORTEL_GLSL_DEFINE_ENTRY_POINT

void clearGlslEntryPoints() {
#define VORTEL_GLSL_CLEAR_ENTRY_POINT(type, name) name = nullptr;
    VORTEL_GLSL_ENTRY_POINTS(VORTEL_GLSL_CLEAR_ENTRY_POINT)
#undef VORTEL_GLSL_CLEAR_ENTRY_POINT
}

bool loadGlslEntryPoints(const GlLoaderHooks& hooks, std::string* error) {
#define VORTEL_GLSL_LOAD_ENTRY_POINT(type, name)                                     \
    name = reinterpret_cast<type>(hooks.getProcAddress(#name));                       \
    if (!name) {                                                                       \
        clearGlslEntryPoints();                                                        \
        if (error) *error = "the OpenGL entry point " #name " could not be loaded";   \
        return false;                                                                  \
    }
    VORTEL_GLSL_ENTRY_POINTS(VORTEL_GLSL_LOAD_ENTRY_POINT)
#undef VORTEL_GLSL_LOAD_ENTRY_POINT
    return true;
}

bool contextIsEs() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version && std::strncmp(version, "OpenGL ES", 9) == 0;
}

}  // namespace vortel
