#include "gfx/shader_params.h"

#include <cmath>


namespace vortel {

void setShaderDefaults(SurfaceSettings& s) {
    s.specularColour = {1.5f, 1.4f, 1.1f, 1.0f};
    s.specularParams = {32.0f, -1.0f, 0.5f, -1.0f};
    s.surfaceParams = {-2.0f, 0.5f, 0.01f, -0.005f};
    s.texCoordScale[0] = 0.25f;
    s.texCoordScale[1] = 0.25f;
}

float signedPower(int32_t n, float x, bool keepSign) {
    double sign = x > 0 ? 1.0 : -1.0;
    double a = std::fabs(static_cast<double>(x));
    double result = a;
    for (int32_t i = 1; i < n; ++i) result *= a;
    if (keepSign) result *= sign;
    return static_cast<float>(result);
}

}  // namespace vortel
