#pragma once
// The show's GPU programs: four vertex/fragment pairs in the ARB program
// languages, compiled once at start-up.
//
// Environment parameters they read (glProgramEnvParameter4fvARB; they
// persist across binds):
//   vertex   0  lightPosition, eye space (w unused)
//   fragment 0  material colour (palette.h): r, g, b, red of the next colour
//   fragment 1  specularColour (highlight colour)
//   fragment 2  specularParams: x = highlight exponent, y = factor on the
//               reflection-view cosine (-1: highlight towards the viewer),
//               z = added to the diffuse factor of the relief detail term,
//               w = sign of the base normal in the relief program
//   fragment 3  surfaceParams: x = relief strength, y = detail weight,
//               z = parallax scale, w = parallax bias
//   fragment 4  depth packing of DepthNormalFP: x = unpack, y = pack factor
//
// Vertex inputs: position, normal, texture coordinate 0, and for the relief
// program the surface tangent in the colour attribute. Texture units:
// ReliefFP samples the relief map on unit 0 and the detail texture on unit
// 1; LitTexturedFP samples unit 0.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/vec.h"
#include "gfx/gpu_resources.h"
#include "gfx/shader_params.h"

namespace vortel {

enum class GpuProgramId : int {
    ReliefVP,
    ReliefFP,
    LitVP,
    LitFP,
    LitTexturedVP,
    LitTexturedFP,
    DepthNormalVP,
    DepthNormalFP,
    BlurVP,
    BlurFP,
};
// The four scene pairs, then the glow's blur pair (BlurVP/BlurFP: the four
// diagonal taps of one blur iteration in one pass, each tap rounded to 8
// bits exactly as when the taps are blended into the framebuffer one by one).

struct GpuProgramSource {
    const char* name;  // e.g. "ReliefVP"
    uint32_t target;   // GL_VERTEX_PROGRAM_ARB or GL_FRAGMENT_PROGRAM_ARB
    const char* text;  // "!!ARBvp1.0 ..." / "!!ARBfp1.0 ..."
};

// The program texts, in creation order (the order of GpuProgramId).
const GpuProgramSource& gpuProgramSource(GpuProgramId id);

// Generates one program object, binds it to `target` and compiles `text`.
// Returns its GL name (also when compiling failed). On failure writes one
// line to *error: `label`, GL's error position and GL's error string.
// Needs the GL API loaded.
uint32_t compileGpuProgram(const char* label, uint32_t target, std::string_view text, std::string* error);

// Compiles `count` programs in order into names[0 .. count-1]. Each one
// that does not compile is reported with one line on stderr and the rest go
// on. Returns whether all compiled.
bool compileGpuPrograms(const GpuProgramSource* sources, int count, uint32_t* names);

// Compiles the programs in order into gpu.programs. A program that does
// not compile is reported with one line on stderr and the rest go on;
// binding it later draws nothing. Returns whether all compiled. For the
// GLSL renderer (gpu.renderer) its own objects instead (glsl_programs.h).
bool createGpuPrograms(GpuResources& gpu);

// Deletes the programs of gpu.programs (where the GL's entry points are
// loaded) and zeroes their names; for the GLSL renderer its own objects.
void deleteGpuPrograms(GpuResources& gpu);

// The GL name of a program created by createGpuPrograms.
uint32_t gpuProgram(const GpuResources& gpu, GpuProgramId id);

// Enables both program targets and binds the pair.
void enableGpuPrograms(const GpuResources& gpu, GpuProgramId vertex, GpuProgramId fragment);

// Disables both program targets (fixed function again).
void disableGpuPrograms();

// Uploads `light` as vertex parameter 0.
void uploadLightPosition(const Vec4& light);

// Uploads the specular colour, specular and surface parameters of `surface`
// as fragment parameters 1, 2 and 3.
void uploadSurfaceParameters(const SurfaceSettings& surface);

}  // namespace vortel
