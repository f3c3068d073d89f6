#pragma once
#include "core/demo_state.h"

namespace vortel {

// Table units per radian: the float nearest 65536 / (2 pi), held as a double
// so that products with it are formed in double precision.
inline constexpr double kUnitsPerRadian = 10430.378f;

// Fills state.sineTable: entry i = sin(i * k) with k the float nearest
// 2*pi/65536, product and sine in double precision.
void fillSineTable(DemoState& state);

// Table lookups for an angle in radians into demo().sineTable. The index is
// truncated towards zero and masked to 16 bits, so negative angles wrap.
float tableSin(float x);
float tableCos(float x);

}  // namespace vortel

namespace vortel {

// The table entry at trunc(units) & 0xFFFF, for an angle already multiplied
// into table units (65536 per turn; add 16384 for a cosine). Lets callers
// form the index the way the show's formulas do, with pre-multiplied
// constants.
float tableAt(double units);

}  // namespace vortel
