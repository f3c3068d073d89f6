#pragma once
// What the actions of a frame share: the show's seed and generator, the
// camera, light, material and shape settings each action hands on to the
// next (and the last one to the next frame), and where planned work goes.
// Every action receives it; nothing else carries state between actions.
#include <cstdint>

#include "core/rng.h"
#include "core/vec.h"
#include "gfx/gpu_resources.h"
#include "gfx/shader_params.h"

namespace vortel {

struct FrameLog;
struct FrameScratch;

// The camera and the light. A frame starts from the neutral pose (eye at
// (0, 0, -1) looking at the origin, no dolly, light x, y, z = 0 with w
// kept); each camera adds its weighted motion.
struct CameraPose {
    Vec3 from{0, 0, -1};
    Vec3 target{};
    float dolly = 0;  // 0 = eye at `from`, 1 = eye on the target
    Vec4 light{};     // eye space; vertex-program environment parameter 0
};

// What the scenes' meshes are drawn with (harmonic_shape.h, box_mesh.h).
struct ShapeSettings {
    Vec3 meshScale{};      // per-axis factor on every mesh vertex; negative mirrors
    float phaseA = 0;      // radians added inside the latitude terms of the radius
    float phaseB = 0;      // radians added inside the longitude terms
    int32_t segments = 0;  // n: n quad strips of n quads each
    int32_t preset = 0;    // row of the shape presets (shape_presets.h), 0..9
    float morph = 1.0f;    // weight of the harmonic sum in the radius
};

struct FrameContext {
    int32_t seed = 0;  // the show's seed; actions add their own to it
    CameraPose camera;
    SurfaceSettings surface;
    ShapeSettings shape;

    // The show's generator: scenes and cameras re-seed it and draw from it.
    Generator* rng = nullptr;
    // Where plans are drawn; null runs the actions without GL (they still
    // plan everything and make every draw of the generator).
    GpuResources* gpu = nullptr;
    FrameScratch* scratch = nullptr;  // storage the executors reuse; needed with gpu
    FrameLog* log = nullptr;          // filled when attached (frame_log.h)
    const char* lastAction = "";      // the action that ran last, for error reports
    bool glowComputed = true;         // false: glow steps skip the read-back (warm-up)

    void srand(uint32_t seed) { rng->srand(seed); }
    int rand() { return rng->rand(); }
};

}  // namespace vortel
