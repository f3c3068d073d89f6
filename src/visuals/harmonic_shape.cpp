#include "visuals/harmonic_shape.h"

#include <cmath>

#include "core/demo_state.h"
#include "core/sine_table.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/gpu_programs.h"
#include "visuals/shape_presets.h"

namespace vortel {

namespace {

constexpr double kUnits = 10430.378f;       // table units per radian
constexpr double kQuarter = 16384.0;        // cosine offset
constexpr double kPoleUnits = 10419.948f;   // 0.999 x kUnits
constexpr double kPoleOffset = 16.384f;     // pi / 2000 in table units
constexpr double kInvTwoPi = 0.15915494f;
constexpr double kInvPi = 0.31830987f;

Vec3 unitOrZero(double x, double y, double z) {
    const double len = std::sqrt(x * x + y * y + z * z);
    if (len == 0) return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    return {static_cast<float>(x / len), static_cast<float>(y / len), static_cast<float>(z / len)};
}

}  // namespace

Vec3 harmonicPoint(float u, float v) {
    const DemoState& s = demo();
    const auto& m = shapePresetRow(shapePreset);
    const double A = s.shapePhaseA, B = s.shapePhaseB;
    const float s0 = tableAt(m[0] * static_cast<double>(v) * kUnits + A * kUnits);
    const float s1 = tableAt(m[1] * static_cast<double>(v) * kUnits + A * kUnits + kQuarter);
    const float s2 = tableAt(m[2] * static_cast<double>(u) * kUnits + B * kUnits);
    const float s3 = tableAt(m[3] * static_cast<double>(u) * kUnits + B * kUnits + kQuarter);
    double acc = signedPower(m[7], s3, false);
    acc += signedPower(m[6], s2, false);
    acc += signedPower(m[5], s1, false);
    acc += signedPower(m[4], s0, false);
    const float sum = static_cast<float>(acc);
    const float r = static_cast<float>(1 + static_cast<double>(shapeMorph) * sum);
    const float q = tableAt(v * kPoleUnits + kPoleOffset);
    const double cu = tableCos(u), su = tableSin(u), cv = tableCos(v);
    return {static_cast<float>(static_cast<double>(r) * q * cu * s.meshScale.x),
            static_cast<float>(static_cast<double>(r) * cv * s.meshScale.y),
            static_cast<float>(static_cast<double>(r) * q * su * s.meshScale.z)};
}

ShapeVertex shapeVertexFrom(const Vec3& p0, const Vec3& p1, const Vec3& p2, float u, float v) {
    const DemoState& s = demo();
    const float e1x = static_cast<float>(static_cast<double>(p1.x) - p0.x);
    const float e1y = static_cast<float>(static_cast<double>(p1.y) - p0.y);
    const float e1z = static_cast<float>(static_cast<double>(p1.z) - p0.z);
    const float e2x = static_cast<float>(static_cast<double>(p2.x) - p0.x);
    const float e2y = static_cast<float>(static_cast<double>(p2.y) - p0.y);
    const float e2z = static_cast<float>(static_cast<double>(p2.z) - p0.z);
    ShapeVertex out;
    out.normal = unitOrZero(static_cast<double>(e1y) * e2z - static_cast<double>(e1z) * e2y,
                            static_cast<double>(e1z) * e2x - static_cast<double>(e1x) * e2z,
                            static_cast<double>(e1x) * e2y - static_cast<double>(e1y) * e2x);
    out.tangent = unitOrZero(e1x, e1y, e1z);
    out.s = static_cast<float>(static_cast<double>(s.texCoordScale[0]) * u * kInvTwoPi);
    out.t = static_cast<float>(static_cast<double>(s.texCoordScale[1]) * v * kInvPi);
    out.position = p0;
    return out;
}

ShapeVertex emitShapeVertex(float u, float v, float du, float dv) {
    const Vec3 p0 = harmonicPoint(u, v);
    const Vec3 p1 = harmonicPoint(static_cast<float>(static_cast<double>(u) + du), v);
    const Vec3 p2 = harmonicPoint(u, static_cast<float>(static_cast<double>(v) + dv));
    return shapeVertexFrom(p0, p1, p2, u, v);
}

namespace {

void issue(const ShapeVertex& x) {
    glNormal3f(x.normal.x, x.normal.y, x.normal.z);
    glTexCoord2f(x.s, x.t);
    glColor3f(x.tangent.x, x.tangent.y, x.tangent.z);
    glVertex3f(x.position.x, x.position.y, x.position.z);
}

}  // namespace

void drawHarmonicShape() {
    const int32_t n = demo().shapeSegments;
    const float inv = static_cast<float>(1.0 / n);
    const float du = static_cast<float>(static_cast<double>(inv) * 6.2831855f);
    const float dv = static_cast<float>(static_cast<double>(inv) * 3.1415927f);
    uploadSurfaceParameters();
    glEnable(GL_CULL_FACE);
    for (int32_t i = 0; i < n; ++i) {
        const float u = static_cast<float>(static_cast<double>(i) * du);
        const float u1 = static_cast<float>(static_cast<double>(u) + du);
        glBegin(GL_QUAD_STRIP);
        for (int32_t j = 0; j <= n; ++j) {
            const float v = static_cast<float>(static_cast<double>(j) * dv);
            issue(emitShapeVertex(u, v, du, dv));
            issue(emitShapeVertex(u1, v, du, dv));
        }
        glEnd();
    }
}

}  // namespace vortel
