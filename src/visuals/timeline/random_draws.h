#pragma once
// Draws of the shared generator (core/rng.h) as fractions, the way the
// timeline and the scenes take them.

namespace vortel {

// One draw as a fraction: rand() x (1 / 32767) with the float nearest
// 1 / 32767, stored as a float: in [0, 1].
float unitDraw();

// 2 (u - 0.5) for one fresh unitDraw u, stored as a float: in [-1, 1].
float signedDraw();

}  // namespace vortel
