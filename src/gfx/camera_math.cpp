#include "gfx/camera_math.h"

#include <cmath>


namespace vortel {

namespace {

void normalize(Point3d& v) {
    double r = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (r == 0.0) return;
    v.x /= r;
    v.y /= r;
    v.z /= r;
}

Point3d cross(const Point3d& a, const Point3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

}  // namespace

Mat4 identityMatrix() {
    Mat4 m{};
    m[0] = m[5] = m[10] = m[15] = 1.0;
    return m;
}

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            double s = 0;
            for (int k = 0; k < 4; ++k) s += a[k * 4 + row] * b[c * 4 + k];
            r[c * 4 + row] = s;
        }
    return r;
}

std::array<double, 4> transform(const Mat4& m, double x, double y, double z, double w) {
    std::array<double, 4> r{};
    for (int row = 0; row < 4; ++row)
        r[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row] * w;
    return r;
}

Mat4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar) {
    double half = fovyDegrees / 2 * M_PI / 180;
    double deltaZ = zFar - zNear;
    double sine = std::sin(half);
    Mat4 m = identityMatrix();
    if (deltaZ == 0 || sine == 0 || aspect == 0) return m;  // GLU leaves the matrix alone
    double cotangent = std::cos(half) / sine;
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / deltaZ;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / deltaZ;
    m[15] = 0;
    return m;
}

Mat4 lookAtMatrix(Point3d eye, Point3d centre, Point3d up) {
    Point3d forward{centre.x - eye.x, centre.y - eye.y, centre.z - eye.z};
    normalize(forward);
    Point3d side = cross(forward, up);
    normalize(side);
    Point3d trueUp = cross(side, forward);

    // Rows of the rotation: side, up, -forward; then move the eye to the origin.
    Mat4 m = identityMatrix();
    m[0] = side.x;
    m[4] = side.y;
    m[8] = side.z;
    m[1] = trueUp.x;
    m[5] = trueUp.y;
    m[9] = trueUp.z;
    m[2] = -forward.x;
    m[6] = -forward.y;
    m[10] = -forward.z;
    Mat4 t = identityMatrix();
    t[12] = -eye.x;
    t[13] = -eye.y;
    t[14] = -eye.z;
    return multiply(m, t);
}

Mat4 cameraProjectionMatrix() { return perspectiveMatrix(90.0, 1.0, 0.01, 1000.0); }

Mat4 cameraViewMatrix(const Vec3& from, const Vec3& to, float dolly) {
    // Each eye coordinate is stored as a float before use.
    auto along = [&](float a, float b) {
        return static_cast<double>(
            static_cast<float>(static_cast<double>(a) + static_cast<double>(dolly) * (static_cast<double>(b) - a)));
    };
    Point3d eye{along(from.x, to.x), along(from.y, to.y), along(from.z, to.z)};
    Point3d target{to.x, to.y, to.z};
    return lookAtMatrix(eye, target, Point3d{0, 1, 0});
}

}  // namespace vortel
