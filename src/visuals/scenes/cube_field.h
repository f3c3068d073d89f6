#pragma once
// The placement arithmetic of CubeFieldScene, apart from GL.
#include <cstdint>

#include "core/rng.h"
#include "core/vec.h"
#include "visuals/geometry/model_matrix.h"

namespace vortel {

enum class CubeFieldLayout { Tumbling, Slabs, Pillars, Columns };

// By action seed mod 20000: < 5000 tumbling, < 10000 slabs, < 15000
// pillars, else columns.
CubeFieldLayout cubeFieldLayout(int32_t actionSeed);

// The number of boxes, one draw of `g`: 32..63 tumbling cubes, else 64..191.
int cubeFieldCount(Generator& g, CubeFieldLayout layout);

struct CubePlacement {
    ModelMatrix model;  // translation (and tumble) on top of the scene's matrix
    Vec3 meshScale;
};

// Box i of the field at song time t: draws from `g` in the field's order
// (5 to 8 draws, by layout).
CubePlacement placeCube(Generator& g, CubeFieldLayout layout, int i, float speed, float t);

}  // namespace vortel
