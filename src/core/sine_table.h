#pragma once
#include <array>

namespace vortel {

constexpr int kSineTableSize = 65536;

// Table units per radian: the float nearest 65536 / (2 pi), held as a double
// so that products with it are formed in double precision.
inline constexpr double kUnitsPerRadian = 10430.378f;

// The sine table, a constant filled as the program starts: entry i = sin(i * k) with
// k the float nearest 2*pi/65536, product and sine in double precision.
const std::array<float, kSineTableSize>& sineTable();

// Table lookups for an angle in radians. The index is truncated towards
// zero and masked to 16 bits, so negative angles wrap.
float tableSin(float x);
float tableCos(float x);

// The table entry at trunc(units) & 0xFFFF, for an angle already multiplied
// into table units (65536 per turn; add 16384 for a cosine). Lets callers
// form the index the way the show's formulas do, with pre-multiplied
// constants.
float tableAt(double units);

}  // namespace vortel
