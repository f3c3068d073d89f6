#pragma once
// The model transforms the scenes apply, computed on the CPU the way
// glTranslatef, glRotatef and glScalef multiply them onto the current
// matrix. A scene builds each instance's matrix here and hands it to GL
// with glMultMatrixf, so what GL draws is exactly what was computed (and
// logged).
#include <array>

namespace vortel {

// Column-major like GL: element (row r, column c) is m[c * 4 + r].
using ModelMatrix = std::array<float, 16>;

ModelMatrix identityModel();

// m * b (b applied first), each element summed in double and stored as float.
ModelMatrix multiplyModel(const ModelMatrix& m, const ModelMatrix& b);

// m * translation, m * rotation, m * scaling, as the GL calls of the same
// names post-multiply the current matrix. The rotation is about the axis
// (x, y, z), normalised here like glRotatef does; a zero axis leaves m.
ModelMatrix translateModel(const ModelMatrix& m, double x, double y, double z);
ModelMatrix rotateModel(const ModelMatrix& m, double degrees, double x, double y, double z);
ModelMatrix scaleModel(const ModelMatrix& m, double x, double y, double z);

// The rotation matrix alone, as glRotatef(degrees, x, y, z) builds it.
ModelMatrix rotationMatrix(double degrees, double x, double y, double z);

}  // namespace vortel
