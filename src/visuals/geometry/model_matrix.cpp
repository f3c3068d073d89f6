#include "visuals/geometry/model_matrix.h"

#include <cmath>

namespace vortel {

ModelMatrix identityModel() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

ModelMatrix multiplyModel(const ModelMatrix& m, const ModelMatrix& b) {
    ModelMatrix out{};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += static_cast<double>(m[k * 4 + r]) * b[c * 4 + k];
            out[c * 4 + r] = static_cast<float>(sum);
        }
    return out;
}

ModelMatrix translateModel(const ModelMatrix& m, double x, double y, double z) {
    ModelMatrix t = identityModel();
    t[12] = static_cast<float>(x);
    t[13] = static_cast<float>(y);
    t[14] = static_cast<float>(z);
    return multiplyModel(m, t);
}

ModelMatrix rotationMatrix(double degrees, double x, double y, double z) {
    ModelMatrix r = identityModel();
    const double len = std::sqrt(x * x + y * y + z * z);
    if (len == 0) return r;
    x /= len;
    y /= len;
    z /= len;
    const double a = degrees * (3.14159265358979323846 / 180.0);
    const double c = std::cos(a), s = std::sin(a), k = 1 - c;
    r[0] = static_cast<float>(x * x * k + c);
    r[1] = static_cast<float>(y * x * k + z * s);
    r[2] = static_cast<float>(x * z * k - y * s);
    r[4] = static_cast<float>(x * y * k - z * s);
    r[5] = static_cast<float>(y * y * k + c);
    r[6] = static_cast<float>(y * z * k + x * s);
    r[8] = static_cast<float>(x * z * k + y * s);
    r[9] = static_cast<float>(y * z * k - x * s);
    r[10] = static_cast<float>(z * z * k + c);
    return r;
}

ModelMatrix rotateModel(const ModelMatrix& m, double degrees, double x, double y, double z) {
    return multiplyModel(m, rotationMatrix(degrees, x, y, z));
}

ModelMatrix scaleModel(const ModelMatrix& m, double x, double y, double z) {
    ModelMatrix s = identityModel();
    s[0] = static_cast<float>(x);
    s[5] = static_cast<float>(y);
    s[10] = static_cast<float>(z);
    return multiplyModel(m, s);
}

}  // namespace vortel
