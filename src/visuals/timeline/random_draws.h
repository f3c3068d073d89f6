#pragma once
// Draws of a generator (core/rng.h) as fractions, the way the timeline and
// the scenes take them.
#include "core/rng.h"

namespace vortel {

// One draw as a fraction: rand() x (1 / 32767) with the float nearest
// 1 / 32767, stored as a float: in [0, 1].
float unitDraw(Generator& g);

// 2 (u - 0.5) for one fresh unitDraw u, stored as a float: in [-1, 1].
float signedDraw(Generator& g);

}  // namespace vortel
