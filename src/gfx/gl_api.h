#pragma once
// OpenGL for the renderers: the fixed-function 1.x calls come straight from
// <GL/gl.h>; the extension entry points the show needs (ARB_multitexture,
// ARB_vertex_program, ARB_fragment_program, ARB_framebuffer_object) are function pointers in this
// namespace, filled once at start-up by loadGlApi().
//
// Code inside namespace vortel calls them like the GL functions they stand
// for, e.g. glBindProgramARB(GL_VERTEX_PROGRAM_ARB, name). Until loadGlApi()
// has succeeded they are null: never call them before.
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>
#include <string_view>

#include "gfx/renderer.h"

namespace vortel {

// X-macro over every extension entry point of the ARB renderer: X(pointer
// type, name).
#define VORTEL_GL_ENTRY_POINTS(X) VORTEL_GL_ARB_ENTRY_POINTS(X) VORTEL_GL_FRAMEBUFFER_ENTRY_POINTS(X)

#define VORTEL_GL_ARB_ENTRY_POINTS(X)                                       \
    /* ARB_multitexture */                                                  \
    X(PFNGLACTIVETEXTUREARBPROC, glActiveTextureARB)                        \
    X(PFNGLCLIENTACTIVETEXTUREARBPROC, glClientActiveTextureARB)            \
    X(PFNGLMULTITEXCOORD2FARBPROC, glMultiTexCoord2fARB)                    \
    X(PFNGLMULTITEXCOORD2FVARBPROC, glMultiTexCoord2fvARB)                  \
    X(PFNGLMULTITEXCOORD3FARBPROC, glMultiTexCoord3fARB)                    \
    X(PFNGLMULTITEXCOORD3FVARBPROC, glMultiTexCoord3fvARB)                  \
    /* ARB_vertex_program and ARB_fragment_program (shared entry points) */ \
    X(PFNGLGENPROGRAMSARBPROC, glGenProgramsARB)                            \
    X(PFNGLDELETEPROGRAMSARBPROC, glDeleteProgramsARB)                      \
    X(PFNGLBINDPROGRAMARBPROC, glBindProgramARB)                            \
    X(PFNGLPROGRAMSTRINGARBPROC, glProgramStringARB)                        \
    X(PFNGLISPROGRAMARBPROC, glIsProgramARB)                                \
    X(PFNGLGETPROGRAMIVARBPROC, glGetProgramivARB)                          \
    X(PFNGLPROGRAMENVPARAMETER4FARBPROC, glProgramEnvParameter4fARB)        \
    X(PFNGLPROGRAMENVPARAMETER4FVARBPROC, glProgramEnvParameter4fvARB)      \
    X(PFNGLPROGRAMLOCALPARAMETER4FARBPROC, glProgramLocalParameter4fARB)    \
    X(PFNGLPROGRAMLOCALPARAMETER4FVARBPROC, glProgramLocalParameter4fvARB)  \
    X(PFNGLGETPROGRAMENVPARAMETERFVARBPROC, glGetProgramEnvParameterfvARB)  \
    X(PFNGLGETPROGRAMLOCALPARAMETERFVARBPROC, glGetProgramLocalParameterfvARB) \
    /* OpenGL 1.4: a shape's strips in one call */                          \
    X(PFNGLMULTIDRAWARRAYSPROC, glMultiDrawArrays)

// The render targets' entry points, which both renderers load (core in
// OpenGL 3.0 and OpenGL ES 3.0 under the same names).
#define VORTEL_GL_FRAMEBUFFER_ENTRY_POINTS(X)                               \
    /* ARB_framebuffer_object: the render targets of the frame */           \
    X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)                          \
    X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)                    \
    X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)                          \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D)                \
    X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, glFramebufferRenderbuffer)          \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus)            \
    X(PFNGLGENRENDERBUFFERSPROC, glGenRenderbuffers)                        \
    X(PFNGLDELETERENDERBUFFERSPROC, glDeleteRenderbuffers)                  \
    X(PFNGLBINDRENDERBUFFERPROC, glBindRenderbuffer)                        \
    X(PFNGLRENDERBUFFERSTORAGEPROC, glRenderbufferStorage)

#define VORTEL_GL_DECLARE_ENTRY_POINT(type, name) extern type name;
VORTEL_GL_ENTRY_POINTS(VORTEL_GL_DECLARE_ENTRY_POINT)
#undef VORTEL_GL_DECLARE_ENTRY_POINT

// The extensions the show cannot run without, in the order they are checked.
inline constexpr const char* kRequiredGlExtensions[] = {
    "GL_ARB_multitexture",
    "GL_ARB_vertex_program",
    "GL_ARB_fragment_program",
    "GL_ARB_framebuffer_object",
};

// How the loader reaches the GL: tests substitute their own.
struct GlLoaderHooks {
    // Address of an entry point by name, or null.
    void* (*getProcAddress)(const char* name);
    // Whether the current context advertises the named extension.
    bool (*hasExtension)(const char* name);
};

// How the GL's entry points are found: the platform layer's function that
// returns the address of a named entry point for the current context.
using GlProcLoader = void* (*)(const char* name);

// Loads every entry point of VORTEL_GL_ENTRY_POINTS for the current context
// (through `loader`) after checking kRequiredGlExtensions. On success
// returns true. On failure returns false, writes one line naming the missing
// context, extension or entry point to *error (if error is not null), and
// leaves every entry point null, so nothing can call through a half-loaded
// table. The caller reports the line and stops.
bool loadGlApi(GlProcLoader loader, std::string* error);
bool loadGlApi(const GlLoaderHooks& hooks, std::string* error);

// The entry points `renderer` draws with: for Renderer::Arb the above; for
// Renderer::Glsl the render targets' ones and those of glsl_api.h, from a
// context of OpenGL 3.3 or OpenGL ES 3.0 at least (no extension needed).
// Reports and fails as the above does.
bool loadGlApi(Renderer renderer, GlProcLoader loader, std::string* error);

// True once loadGlApi has succeeded (and until clearGlApi).
bool glApiLoaded();

// Sets every entry point back to null.
void clearGlApi();

// Whether `name` is one of the blank-separated names of a GL_EXTENSIONS
// string (whole names only: "GL_ARB_vertex_program" does not match
// "GL_ARB_vertex_program2"). A null list holds nothing.
bool extensionListed(const char* list, std::string_view name);

}  // namespace vortel
