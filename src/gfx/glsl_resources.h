#pragma once
// What the GLSL renderer keeps besides the textures and render targets
// both renderers share (gpu_resources.h): its GL objects (programs with
// their uniform locations, vertex arrays, buffers) and, in C++, the state
// the fixed-function GL kept for the ARB renderer: the matrices, the
// current colour and texture coordinate, whether unit 0 textures, the ARB
// programs' environment parameters and the viewport. The state is a plain
// value: a copy of a show's GpuResources (the warm-up's) carries on from it
// and leaves the show's own untouched.
#include <array>
#include <cstdint>

#include "gfx/glsl_matrix_stack.h"

namespace vortel {

// The programs: the four scene pairs and the blur of gpu_programs.h, then
// the fixed-function draws (quads, meshes without programs) and the lines.
enum class GlslProgramId : uint8_t { Relief, Lit, LitTextured, DepthNormal, Blur, Fixed, Line };
constexpr int kGlslProgramCount = 7;

// The uniforms any program may have, by the name glsl_programs.cpp asks for.
enum class GlslUniform : uint8_t {
    Mvp,
    Modelview,
    InvTrans,
    Light,
    Material,
    SpecularColour,
    SpecularParams,
    SurfaceParams,
    DepthPacking,
    Blur,
    Texturing,
    Viewport,
    LineHalfWidth,
    Border,
};
constexpr int kGlslUniformCount = 14;

struct GlslProgramObject {
    uint32_t name = 0;
    std::array<int32_t, kGlslUniformCount> uniforms{};  // -1 where the program has none
};

struct GlslObjects {
    std::array<GlslProgramObject, kGlslProgramCount> programs{};  // by GlslProgramId
    uint32_t meshArray = 0;   // vertex array of the meshes: positions, normals, tangents, texture coordinates
    uint32_t meshBuffer = 0;  // their vertices, refilled for every mesh
    uint32_t meshIndices = 0; // their triangles, refilled for every mesh
    uint32_t quadArray = 0;   // the viewport quad: positions and texture coordinates
    uint32_t quadBuffer = 0;
    uint32_t lineArray = 0;   // line segments as quads (glsl_programs.cpp, Line)
    uint32_t lineBuffer = 0;
};

// The fragment environment parameters of the ARB programs, by number.
constexpr int kFragmentParameterCount = 6;

struct GlslState {
    MatrixStack projection;
    MatrixStack modelview;
    std::array<float, 4> colour{1, 1, 1, 1};    // the current colour
    std::array<float, 4> texCoord{0, 0, 0, 1};  // the current texture coordinate
    bool texturing = false;                     // GL_TEXTURE_2D on unit 0
    // The texture bound on unit 0 was bound to clamp to a black border
    // (GL_CLAMP, which OpenGL ES lacks): the fixed-function draws sample it
    // so (glsl_programs.h, Fixed and Line).
    bool unit0Border = false;
    std::array<float, 4> light{};               // vertex environment parameter 0
    std::array<std::array<float, 4>, kFragmentParameterCount> fragment{};
    std::array<int32_t, 4> viewport{};          // x, y, width, height
};

}  // namespace vortel
