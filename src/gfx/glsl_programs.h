#pragma once
// The GLSL renderer's programs and vertex storage: compiled, linked and
// made once per show like the ARB programs (gpu_programs.h), and the few
// drawing helpers the frame's image steps share with the scenes' draws.
// Needs the GL API loaded for Renderer::Glsl (gl_api.h).
#include <string>

#include "gfx/gpu_resources.h"
#include "gfx/glsl_resources.h"

namespace vortel {

struct GlslProgramSource {
    const char* name;      // e.g. "Relief"
    const char* vertex;    // the texts without their version line
    const char* fragment;
};

// The program texts (glsl_program_texts.cpp), by GlslProgramId.
const GlslProgramSource& glslProgramSource(GlslProgramId id);

// What goes before every text: "#version 330 core" on the desktop,
// "#version 300 es" with float and sampler precision highp on OpenGL ES.
std::string glslVersionHeader(bool es);

// Compiles and links one program with `header` (glslVersionHeader) before
// each text, asks for every uniform of GlslUniform and points its samplers
// at units 0 and 1. On failure the name is 0 and *error holds one line:
// the program, the stage and the GL's log.
GlslProgramObject buildGlslProgram(const GlslProgramSource& source, const std::string& header, std::string* error);

// Builds every program and the vertex arrays and buffers into gpu.glsl. A
// program that does not build is reported with one line on stderr; the
// rest go on. Returns whether all built.
bool createGlslObjects(GpuResources& gpu);

// Deletes what createGlslObjects made (where the GL API is loaded).
void deleteGlslObjects(GpuResources& gpu);

// Binds the program `id` and returns it.
const GlslProgramObject& useGlslProgram(const GpuResources& gpu, GlslProgramId id);

// Uniform uploads; a uniform the program lacks is skipped.
void setUniform(const GlslProgramObject& p, GlslUniform u, const Matrix4f& m);
void setUniform(const GlslProgramObject& p, GlslUniform u, const std::array<float, 4>& v);
void setUniform(const GlslProgramObject& p, GlslUniform u, float v);
void setUniform(const GlslProgramObject& p, GlslUniform u, int v);

// The matrices of the current state into `p`: u_mvp (projection times
// modelview, as the GL forms it), u_modelview and u_invTrans.
void setMatrixUniforms(const GlslProgramObject& p, const GlslState& state);

// The fixed-function GL's working state, as resetRenderState
// (gl_helpers.h) sets it for the ARB renderer: viewport over the working
// area, texturing and the depth test (LEQUAL) on, culling and blending
// off, identity matrices, colour white.
void resetGlslRenderState(GpuResources& gpu);

// The viewport, set and remembered.
void setGlslViewport(GpuResources& gpu, int x, int y, int width, int height);

// One quad over the viewport through the current matrices with the Fixed
// program (texture (0, 0) at (-1, -1) ... (1, 1) at (1, 1)); the texture
// coordinate (0, 1) of its last corner stays current, as drawViewportQuad
// leaves it.
void drawGlslViewportQuad(GpuResources& gpu);

}  // namespace vortel
