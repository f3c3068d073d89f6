#pragma once
// The entry points only the GLSL renderer uses: shaders and programs,
// uniforms, vertex arrays and buffers, texture units. They belong to
// OpenGL 3.3 core and to OpenGL ES 3.0 alike, and are loaded (by
// loadGlApi(Renderer::Glsl, ...), gl_api.h) only for that renderer, so the
// ARB renderer asks nothing more of its context than it always did.
#include "gfx/gl_api.h"

namespace vortel {

// X-macro over the entry points: X(pointer type, name).
#define VORTEL_GLSL_ENTRY_POINTS(X)                                      \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                           \
    X(PFNGLGETSTRINGIPROC, glGetStringi)                                 \
    X(PFNGLCREATESHADERPROC, glCreateShader)                             \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                             \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)                           \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                               \
    X(PFNGLGETSHADERINFOLOGPROC, glGetShaderInfoLog)                     \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                             \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                           \
    X(PFNGLATTACHSHADERPROC, glAttachShader)                             \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                               \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                             \
    X(PFNGLGETPROGRAMINFOLOGPROC, glGetProgramInfoLog)                   \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                           \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)                                 \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                 \
    X(PFNGLUNIFORM1IPROC, glUniform1i)                                   \
    X(PFNGLUNIFORM1FPROC, glUniform1f)                                   \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                                   \
    X(PFNGLUNIFORM4FVPROC, glUniform4fv)                                 \
    X(PFNGLUNIFORMMATRIX4FVPROC, glUniformMatrix4fv)                     \
    X(PFNGLGENVERTEXARRAYSPROC, glGenVertexArrays)                       \
    X(PFNGLBINDVERTEXARRAYPROC, glBindVertexArray)                       \
    X(PFNGLDELETEVERTEXARRAYSPROC, glDeleteVertexArrays)                 \
    X(PFNGLGENBUFFERSPROC, glGenBuffers)                                 \
    X(PFNGLBINDBUFFERPROC, glBindBuffer)                                 \
    X(PFNGLBUFFERDATAPROC, glBufferData)                                 \
    X(PFNGLBUFFERSUBDATAPROC, glBufferSubData)                           \
    X(PFNGLDELETEBUFFERSPROC, glDeleteBuffers)                           \
    X(PFNGLVERTEXATTRIBPOINTERPROC, glVertexAttribPointer)               \
    X(PFNGLENABLEVERTEXATTRIBARRAYPROC, glEnableVertexAttribArray)       \
    X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, glDisableVertexAttribArray)     \
    X(PFNGLVERTEXATTRIB4FVPROC, glVertexAttrib4fv)

#define VORTEL_GLSL_DECLARE_ENTRY_POINT(type, name) extern type name;
VORTEL_GLSL_ENTRY_POINTS(VORTEL_GLSL_DECLARE_ENTRY_POINT)
#undef VORTEL_GLSL_DECLARE_ENTRY_POINT

// Loads every entry point of VORTEL_GLSL_ENTRY_POINTS through `hooks`.
// False with one line naming the first one missing (and all of them null
// again) otherwise.
bool loadGlslEntryPoints(const GlLoaderHooks& hooks, std::string* error);

// Sets every entry point of the list back to null.
void clearGlslEntryPoints();

// Whether the current context is OpenGL ES (its GL_VERSION begins
// "OpenGL ES"), which decides the version line of the GLSL sources.
bool contextIsEs();

}  // namespace vortel
