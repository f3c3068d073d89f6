#pragma once
#include <array>
#include <cstdint>

#include "core/vec.h"

namespace vortel {

struct Timeline;  // the visual script, built once at start-up

constexpr int kSineTableSize = 65536;
constexpr int kMaxSections = 10;
constexpr int kTextureSlotCount = 11;

// The one process-wide record of values the subsystems share. A single
// thread reads and writes it; every field starts at zero but the few with
// initial values below.
struct DemoState {
    // Shell: written at start-up and by the frame loop.
    int32_t windowWidth = 800;
    int32_t windowHeight = 600;
    int32_t seed = 0;
    float bpm = 0;          // beats per minute, 120..150
    float stepLength = 0;   // seconds per sixteenth note, 15 / bpm
    int32_t sectionCount = 0;
    std::array<int32_t, kMaxSections> spanCount{};  // spans (of 32 steps) per section
    float songLength = 0;   // seconds, 512 steps
    std::array<float, kSineTableSize> sineTable{};
    float songTime = 0;     // seconds since playback started
    float frameDelta = 0;   // songTime minus the previous frame's

    // Graphics resources: texture names, camera and light, shader parameters.
    std::array<uint32_t, kTextureSlotCount> textureSlots{};
    Vec3 cameraFrom{0, 0, 1};
    Vec3 cameraTarget{};
    float cameraDolly = 0;  // 0 = eye at cameraFrom, 1 = eye on the target
    Vec4 lightPosition{};   // eye space; vertex-program environment parameter 0
    Vec4 specularColour{};  // fragment-program environment parameter 1
    Vec4 specularParams{};  // fragment-program environment parameter 2
    Vec4 surfaceParams{};   // fragment-program environment parameter 3
    float texCoordScale[2] = {0, 0};  // (s, t) scale of scene texture coordinates
    std::array<uint32_t, 10> gpuPrograms{};  // GL names of the ARB programs, by GpuProgramId (gfx/gpu_programs.h)

    // Shape settings the scene meshes read at draw time (visuals/harmonic_shape.h).
    Vec3 meshScale{};          // per-axis factor on every mesh vertex; negative mirrors
    float shapePhaseA = 0;     // radians added inside the latitude terms of the radius
    float shapePhaseB = 0;     // radians added inside the longitude terms
    int32_t shapeSegments = 0; // n: n quad strips of n quads each

    Timeline* timeline = nullptr;
};

// The single instance, alive for the whole process.
DemoState& demo();

}  // namespace vortel
