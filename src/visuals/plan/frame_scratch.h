#pragma once
// Storage a show's frames reuse from frame to frame, so that drawing one
// allocates nothing once the first frames have sized it: the steps of the
// frame's composition and of a pass, the shape mesh the executor fills for
// each shape, the glow's read-back, image and working planes.
#include <cstdint>
#include <vector>

#include "visuals/plan/glow_image.h"
#include "visuals/plan/frame_steps.h"
#include "visuals/geometry/harmonic_shape.h"

namespace vortel {

struct FrameScratch {
    FrameSteps frameSteps;  // the frame's own steps (frame.h)
    FrameSteps passSteps;   // the steps of one post pass
    ShapeMesh mesh;
    std::vector<int32_t> stripFirst, stripCount;  // one glMultiDrawArrays per shape
    std::vector<uint8_t> area;                     // the working area read back for the glow
    std::vector<uint8_t> glowImage;                // 128 x 128, shrunk and blurred
    GlowWork glowWork;
    // The GLSL renderer's vertices and indices of a mesh or a line batch
    // before they go into its buffers.
    std::vector<float> glslVertices;
    std::vector<uint32_t> glslIndices;
};

}  // namespace vortel
