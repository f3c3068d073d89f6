#pragma once
#include "core/demo_state.h"

namespace vortel {

// Fills state.sineTable: entry i = sin(i * k) with k the float nearest
// 2*pi/65536, product and sine in double precision.
void fillSineTable(DemoState& state);

// Table lookups for an angle in radians into demo().sineTable. The index is
// truncated towards zero and masked to 16 bits, so negative angles wrap.
float tableSin(float x);
float tableCos(float x);

}  // namespace vortel
