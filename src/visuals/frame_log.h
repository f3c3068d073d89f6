#pragma once
// What a frame does, recorded as it happens: the actions that ran and every
// mesh and line batch the scenes drew. Filled only while a log is attached,
// so the show pays nothing for it; `--inspect --at` attaches one and runs
// the frame without GL.
#include <array>
#include <cstdint>
#include <vector>

#include "visuals/timeline.h"

namespace vortel {

struct ActionRecord {
    Lane lane = Lane::Camera;
    const char* action = "";  // actionName()
    int32_t seed = 0;         // the seed the action was called with
    float weight = 0;         // actionWeight at the frame's time
};

// One drawHarmonicShape, drawBoxMesh or line batch.
struct DrawRecord {
    const char* action = "";   // the scene that drew it
    const char* mesh = "";     // "shape", "box", "boxInside" or "lines"
    const char* program = "";  // "Relief", "Lit", "LitTextured", "DepthNormal"; "" for lines
    std::array<float, 16> model{};  // the scene's own transforms since its starting matrix, column-major
    std::array<float, 3> meshScale{};
    std::array<float, 2> texCoordScale{};
    std::array<float, 4> colour{};  // fragment parameter 0; for lines the current colour (r, g, b)
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
    int32_t vertices = 0;
    std::array<float, 3> end{};  // the pen's last position
};

struct FrameLog {
    std::vector<ActionRecord> actions;
    std::vector<DrawRecord> draws;
};

// The log of the frame being drawn, or null (the default).
FrameLog* frameLog();
void setFrameLog(FrameLog* log);

// Whether the actions issue GL calls (the default). Without GL they still do
// all their arithmetic and every draw of the shared generator, so the camera
// fields, the generator and the log end up exactly as in a drawn frame.
bool visualsUseGl();
void setVisualsUseGl(bool use);

}  // namespace vortel
