#pragma once
// The camera's projection and view matrices, computed on the CPU the way
// GLU's gluPerspective and gluLookAt build them, so that they can be checked
// without a GL context and loaded with glLoadMatrixd.
#include <array>

#include "core/vec.h"

namespace vortel {

// A 4x4 matrix in OpenGL's column-major order: element (row r, column c) is
// m[c * 4 + r]; m[12], m[13], m[14] hold the translation.
using Mat4 = std::array<double, 16>;

struct Point3d {
    double x = 0, y = 0, z = 0;
};

Mat4 identityMatrix();

// a * b (apply b first, then a), as glMultMatrix appends b to a.
Mat4 multiply(const Mat4& a, const Mat4& b);

// m * (x, y, z, w) as a column vector; returns the four components.
std::array<double, 4> transform(const Mat4& m, double x, double y, double z, double w);

// gluPerspective: fovyDegrees = full vertical field of view, aspect = width /
// height, zNear and zFar = positive distances of the clipping planes.
Mat4 perspectiveMatrix(double fovyDegrees, double aspect, double zNear, double zFar);

// gluLookAt: a view from `eye` towards `centre` with `up` roughly upwards.
// A zero-length forward or side vector is left unnormalised (zero), as GLU
// does, so a degenerate camera gives a degenerate matrix, never NaN.
Mat4 lookAtMatrix(Point3d eye, Point3d centre, Point3d up);

// The show's camera: the projection (90 degrees, aspect 1, near 0.01, far
// 1000) and the view from `from` + `dolly` * (`target` - `from`) towards
// `target`, up = +y.
Mat4 cameraProjectionMatrix();
Mat4 cameraViewMatrix(const Vec3& from, const Vec3& target, float dolly);

}  // namespace vortel
