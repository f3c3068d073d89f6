#pragma once
// The shader parameter helpers that need no GL: the defaults the scenes
// start from and the powers of the shape formulas.
#include <array>
#include <cstdint>

#include "core/vec.h"

namespace vortel {

// The material parameters the programs read (gpu_programs.h) and the scale
// of the scenes' texture coordinates, as the scenes set them.
struct SurfaceSettings {
    Vec4 specularColour{};  // fragment-program environment parameter 1
    Vec4 specularParams{};  // fragment-program environment parameter 2
    Vec4 surfaceParams{};   // fragment-program environment parameter 3
    std::array<float, 2> texCoordScale{0, 0};  // (s, t) scale of scene texture coordinates
};

// Writes the default shader parameters into `surface`: specular colour,
// specular and surface parameters, texture coordinate scale. Uploads nothing.
void setShaderDefaults(SurfaceSettings& surface);

// |x| raised to n by repeated multiplication (for n <= 1 simply |x|),
// times the sign of x when keepSign (x = 0 counts as negative).
// n: integer exponent; x: base; keepSign: whether the result keeps x's sign.
float signedPower(int32_t n, float x, bool keepSign);

}  // namespace vortel
