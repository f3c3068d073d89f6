#pragma once
// The projection and modelview matrices of the GLSL renderer, kept in C++
// as the fixed-function GL keeps them for the ARB renderer: single
// precision, column-major, products summed in the order the GL sums them,
// and a stack for the draws that change the modelview for a while.
#include <array>
#include <cstddef>

#include "gfx/camera_math.h"

namespace vortel {

// Column-major like GL: element (row r, column c) is m[c * 4 + r].
using Matrix4f = std::array<float, 16>;

Matrix4f identityMatrix4f();

// A matrix given in double precision, as glLoadMatrixd stores it.
Matrix4f toMatrix4f(const Mat4& m);

// a * b in single precision, each element a(r, 0) b(0, c) + ... + a(r, 3)
// b(3, c) summed left to right, as glMultMatrixf and the GL's own
// projection-times-modelview product compute it.
Matrix4f multiplyMatrices(const Matrix4f& a, const Matrix4f& b);

// The transpose of the inverse of m (ARB's state.matrix.*.invtrans),
// computed in double precision; the identity for a singular matrix.
Matrix4f inverseTranspose(const Matrix4f& m);

// One matrix mode's stack: the current matrix on top of those pushed.
struct MatrixStack {
    static constexpr int kDepth = 4;
    std::array<Matrix4f, kDepth> levels{identityMatrix4f(), identityMatrix4f(), identityMatrix4f(),
                                        identityMatrix4f()};
    int top = 0;

    const Matrix4f& current() const { return levels[static_cast<size_t>(top)]; }
    void load(const Matrix4f& m) { levels[static_cast<size_t>(top)] = m; }
    void loadIdentity() { load(identityMatrix4f()); }
    // current := current * m (m applied first).
    void multiply(const Matrix4f& m) { load(multiplyMatrices(current(), m)); }
    // A copy of the current matrix goes on top; false (nothing done) when full.
    bool push();
    // Back to the matrix below; false (nothing done) at the bottom.
    bool pop();
};

}  // namespace vortel
