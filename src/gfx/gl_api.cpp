#include "gfx/gl_api.h"

#include <cstdio>
#include <cstring>

#include "gfx/glsl_api.h"

namespace vortel {

#define VORTEL_GL_DEFINE_ENTRY_POINT(type, name) type name = nullptr;
VORTEL_GL_ENTRY_POINTS(VORTEL_GL_DEFINE_ENTRY_POINT)
#undef VORTEL_GL_DEFINE_ENTRY_POINT

namespace {

bool g_loaded = false;
GlProcLoader g_loader = nullptr;  // the loader of the load in progress

// Compatibility contexts answer GL_EXTENSIONS with one long string; a core
// context (3.1 and later) only lists them one by one through glGetStringi.
bool contextHasExtension(const char* name) {
    const auto* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (list) return extensionListed(list, name);
    while (glGetError() != GL_NO_ERROR) {
    }
    auto getStringi = reinterpret_cast<PFNGLGETSTRINGIPROC>(g_loader("glGetStringi"));
    if (!getStringi) return false;
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i) {
        const auto* ext = reinterpret_cast<const char*>(getStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
        if (ext && std::strcmp(ext, name) == 0) return true;
    }
    return false;
}

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

}  // namespace

bool extensionListed(const char* list, std::string_view name) {
    if (!list || name.empty()) return false;
    std::string_view rest(list);
    while (!rest.empty()) {
        size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        size_t end = rest.find(' ');
        std::string_view word = rest.substr(0, end);
        if (word == name) return true;
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end);
    }
    return false;
}

void clearGlApi() {
#define VORTEL_GL_CLEAR_ENTRY_POINT(type, name) name = nullptr;
    VORTEL_GL_ENTRY_POINTS(VORTEL_GL_CLEAR_ENTRY_POINT)
#undef VORTEL_GL_CLEAR_ENTRY_POINT
    clearGlslEntryPoints();
    g_loaded = false;
}

bool glApiLoaded() { return g_loaded; }

bool loadGlApi(const GlLoaderHooks& hooks, std::string* error) {
    clearGlApi();
    for (const char* ext : kRequiredGlExtensions) {
        if (!hooks.hasExtension(ext)) {
            setError(error, std::string("the OpenGL context lacks the extension ") + ext);
            return false;
        }
    }
#define VORTEL_GL_LOAD_ENTRY_POINT(type, name)                                          \
    name = reinterpret_cast<type>(hooks.getProcAddress(#name));                          \
    if (!name) {                                                                          \
        clearGlApi();                                                                     \
        setError(error, "the OpenGL entry point " #name " could not be loaded");         \
        return false;                                                                     \
    }
    VORTEL_GL_ENTRY_POINTS(VORTEL_GL_LOAD_ENTRY_POINT)
#undef VORTEL_GL_LOAD_ENTRY_POINT
    g_loaded = true;
    return true;
}

namespace {

// Whether the current context's version is at least OpenGL 3.3 or OpenGL ES
// 3.0, the GLSL renderer's least.
bool glslContext() {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version) return false;
    const bool es = contextIsEs();
    int major = 0, minor = 0;
    if (std::sscanf(es ? version + 9 : version, " %d.%d", &major, &minor) != 2) return false;
    return es ? major >= 3 : (major > 3 || (major == 3 && minor >= 3));
}

}  // namespace

bool loadGlApi(Renderer renderer, GlProcLoader loader, std::string* error) {
    if (renderer == Renderer::Arb) return loadGlApi(loader, error);
    clearGlApi();
    if (!loader || !glGetString(GL_VERSION)) {
        setError(error, "no OpenGL context is current, so its entry points cannot be loaded");
        return false;
    }
    if (!glslContext()) {
        setError(error, std::string("the GLSL renderer needs OpenGL 3.3 or OpenGL ES 3.0; the context offers ") +
                            reinterpret_cast<const char*>(glGetString(GL_VERSION)));
        return false;
    }
    const GlLoaderHooks hooks{loader, nullptr};
#define VORTEL_GL_LOAD_FRAMEBUFFER_ENTRY_POINT(type, name)                              \
    name = reinterpret_cast<type>(loader(#name));                                        \
    if (!name) {                                                                          \
        clearGlApi();                                                                     \
        setError(error, "the OpenGL entry point " #name " could not be loaded");         \
        return false;                                                                     \
    }
    VORTEL_GL_FRAMEBUFFER_ENTRY_POINTS(VORTEL_GL_LOAD_FRAMEBUFFER_ENTRY_POINT)
#undef VORTEL_GL_LOAD_FRAMEBUFFER_ENTRY_POINT
    if (!loadGlslEntryPoints(hooks, error)) {
        clearGlApi();
        return false;
    }
    g_loaded = true;
    return true;
}

bool loadGlApi(GlProcLoader loader, std::string* error) {
    // Without a current context the GL answers every query with nothing.
    if (!loader || !glGetString(GL_VERSION)) {
        clearGlApi();
        setError(error, "no OpenGL context is current, so its entry points cannot be loaded");
        return false;
    }
    g_loader = loader;
    const bool ok = loadGlApi(GlLoaderHooks{loader, contextHasExtension}, error);
    g_loader = nullptr;
    return ok;
}

}  // namespace vortel
