#include "gfx/glsl_matrix_stack.h"

#include <cmath>

namespace vortel {

Matrix4f identityMatrix4f() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix4f toMatrix4f(const Mat4& m) {
    Matrix4f f;
    for (size_t i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
    return f;
}

Matrix4f multiplyMatrices(const Matrix4f& a, const Matrix4f& b) {
    Matrix4f p;
    for (int r = 0; r < 4; ++r) {
        const float a0 = a[0 * 4 + r], a1 = a[1 * 4 + r], a2 = a[2 * 4 + r], a3 = a[3 * 4 + r];
        for (int c = 0; c < 4; ++c) {
            const float* col = &b[static_cast<size_t>(c) * 4];
            // Each product rounded to float before the sums, as the GL does.
            const float s0 = a0 * col[0], s1 = a1 * col[1], s2 = a2 * col[2], s3 = a3 * col[3];
            p[static_cast<size_t>(c * 4 + r)] = ((s0 + s1) + s2) + s3;
        }
    }
    return p;
}

Matrix4f inverseTranspose(const Matrix4f& mf) {
    // Cofactor expansion in double; m[c * 4 + r] is element (r, c).
    double m[16], inv[16];
    for (int i = 0; i < 16; ++i) m[i] = mf[static_cast<size_t>(i)];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
             m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] -
             m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
             m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] -
              m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] -
             m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
             m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
             m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
              m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
             m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
              m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
              m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
             m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    const double det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (det == 0 || !std::isfinite(det)) return identityMatrix4f();
    // inv[c * 4 + r] is element (r, c) of the inverse; the transpose swaps.
    Matrix4f t;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) t[static_cast<size_t>(c * 4 + r)] = static_cast<float>(inv[r * 4 + c] / det);
    return t;
}

bool MatrixStack::push() {
    if (top + 1 >= kDepth) return false;
    levels[static_cast<size_t>(top + 1)] = levels[static_cast<size_t>(top)];
    ++top;
    return true;
}

bool MatrixStack::pop() {
    if (top == 0) return false;
    --top;
    return true;
}

}  // namespace vortel
