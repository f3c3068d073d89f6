#pragma once
// The shader parameter helpers that need no GL: the defaults the scenes
// start from and the powers of the shape formulas.
#include <cstdint>

namespace vortel {

// Writes the default shader parameters into demo(): specularColour,
// specularParams, surfaceParams and texCoordScale. Uploads nothing.
void setShaderDefaults();

// |x| raised to n by repeated multiplication (for n <= 1 simply |x|),
// times the sign of x when keepSign (x = 0 counts as negative).
// n: integer exponent; x: base; keepSign: whether the result keeps x's sign.
float signedPower(int32_t n, float x, bool keepSign);

}  // namespace vortel
