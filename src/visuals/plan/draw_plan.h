#pragma once
// What an action draws, as plain data: the scenes compute their draws here
// without touching GL, and one executor (draw_executor.h) issues the GL
// calls. `--inspect --at` prints the same records as the frame's "draws".
#include <array>
#include <cstdint>
#include <vector>

#include "core/vec.h"
#include "gfx/camera_math.h"
#include "visuals/geometry/harmonic_shape.h"
#include "visuals/geometry/model_matrix.h"

namespace vortel {

// The scene program pairs (gpu_programs.h); None is fixed function.
enum class ProgramPair : uint8_t { None, Relief, Lit, LitTextured, DepthNormal };
const char* programPairName(ProgramPair pair);  // "", "Relief", "Lit", "LitTextured", "DepthNormal"

// The harmonic shape, the box from outside or inside, or a batch of lines.
enum class MeshKind : uint8_t { Shape, Box, BoxInside, Lines };
const char* meshName(MeshKind mesh);  // "shape", "box", "boxInside", "lines"

// A switch of the GL state a draw needs on or off, or left as it is.
enum class Toggle : uint8_t { Keep, On, Off };

constexpr int kKeepSlot = -1;   // a texture unit left with whatever is bound
constexpr int kNoCapture = -1;  // nothing captured before a draw

// The GL state a draw needs, and what happens to the working area just
// before it.
struct DrawState {
    int captureBefore = kNoCapture;  // the 512 x 512 working area is copied into this slot (bound on unit 0)
    bool clearColourBefore = false;  // then the colour buffer is cleared (depth kept)
    int textureSlot = kKeepSlot;     // bound on unit 0, repeat wrap
    Toggle texturing = Toggle::Keep; // GL_TEXTURE_2D on unit 0
    int detailSlot = kKeepSlot;      // bound on unit 1, repeat wrap
    Toggle cull = Toggle::Keep;      // back faces
    Toggle blend = Toggle::Keep;
    bool setsLight = false;          // vertex parameter 0 := light
    std::array<float, 4> light{};
    bool depthPacking = false;       // fragment parameter 4 := the depth packing of the depth-and-normal pass
};

// One stroke of a line batch: vertices [first, first + count) drawn as
// GL_LINES under `model`, which replaces the scene's own transform.
struct LineStroke {
    ModelMatrix model{};
    int32_t first = 0;
    int32_t count = 0;
};

struct LineBatch {
    float width = 0;      // smooth lines of this width
    std::vector<Vec3> vertices;  // pairs (from, to)
    std::vector<LineStroke> strokes;
};

// One draw: a mesh under a model transform (on top of the modelview matrix
// current when the plan runs), with its program pair, its material and the
// state it needs.
struct Draw {
    const char* action = "";  // the scene that planned it
    MeshKind mesh = MeshKind::Box;
    ProgramPair program = ProgramPair::None;
    // The scene's own transforms since its starting matrix; for lines the
    // turn in force after the last stroke.
    ModelMatrix model{};
    std::array<float, 3> meshScale{};
    std::array<float, 2> texCoordScale{};
    // Fragment parameters 0..3 (gpu_programs.h); for lines `colour` is the
    // current colour (r, g, b) and the rest is unused.
    std::array<float, 4> colour{};
    std::array<float, 4> specularColour{};
    std::array<float, 4> specularParams{};
    std::array<float, 4> surfaceParams{};
    // Shapes only.
    int32_t preset = 0;  // the drawn index 0..9
    float morph = 0;
    int32_t segments = 0;
    float phaseA = 0;
    float phaseB = 0;
    // Lines only.
    LineBatch lines;
    DrawState state;
};

// What one action draws: optionally the camera's matrices, loaded first
// (the modelview left current), then the draws in order.
struct DrawPlan {
    bool loadsCamera = false;
    Mat4 projection{};
    Mat4 view{};
    std::vector<Draw> draws;
};

// The harmonic shape a Shape draw asks for, as the mesh builder takes it;
// both renderers build their meshes from it.
ShapeGeometry shapeGeometryOf(const Draw& draw);

}  // namespace vortel
