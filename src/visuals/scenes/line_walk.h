#pragma once
// The random walk of LineWalkScene, apart from GL.
#include <cstdint>
#include <vector>

#include "core/rng.h"
#include "core/vec.h"
#include "visuals/geometry/model_matrix.h"

namespace vortel {

struct LineWalk {
    int colour = 0;        // Palette colour number of the strokes
    float angle = 0;       // degrees each stroke turns the modelview about (0, 0.3, 1)
    int strokes = 0;
    int segments = 0;      // per stroke
    // Line vertices, two per segment (from, to), strokes x segments x 2.
    std::vector<Vec3> vertices;
};

// The walk of global seed `globalSeed` and action seed `actionSeed` at fade
// weight w: w blends two independent step sets (w = 0 and w = 1 use
// different random steps). Re-seeds and draws from `g`.
LineWalk lineWalk(Generator& g, int32_t globalSeed, int32_t actionSeed, float w);

// The modelview rotation in force during stroke k (0-based): k + 1 turns.
ModelMatrix strokeRotation(float angle, int k);

}  // namespace vortel
