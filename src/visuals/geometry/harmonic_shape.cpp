#include "visuals/geometry/harmonic_shape.h"

#include <array>
#include <cmath>
#include <vector>

#include "core/sine_table.h"
#include "gfx/shader_params.h"
#include "visuals/geometry/shape_presets.h"

namespace vortel {

namespace {

constexpr double kQuarter = 16384.0;        // cosine offset
constexpr double kPoleUnits = 10419.948f;   // 0.999 x kUnitsPerRadian
constexpr double kPoleOffset = 16.384f;     // pi / 2000 in table units
constexpr double kInvTwoPi = 0.15915494f;
constexpr double kInvPi = 0.31830987f;

Vec3 unitOrZero(double x, double y, double z) {
    const double len = std::sqrt(x * x + y * y + z * z);
    if (len == 0) return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    return {static_cast<float>(x / len), static_cast<float>(y / len), static_cast<float>(z / len)};
}

// The vertex from its three surface points, for texture scales texS, texT.
ShapeVertex vertexFrom(const Vec3& p0, const Vec3& p1, const Vec3& p2, float u, float v, float texS, float texT) {
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
    out.s = static_cast<float>(static_cast<double>(texS) * u * kInvTwoPi);
    out.t = static_cast<float>(static_cast<double>(texT) * v * kInvPi);
    out.position = p0;
    return out;
}

}  // namespace

Vec3 harmonicPoint(const ShapeGeometry& g, float u, float v) {
    const auto& m = shapePresetRow(g.preset);
    const double A = g.phaseA, B = g.phaseB;
    const float s0 = tableAt(m[0] * static_cast<double>(v) * kUnitsPerRadian + A * kUnitsPerRadian);
    const float s1 = tableAt(m[1] * static_cast<double>(v) * kUnitsPerRadian + A * kUnitsPerRadian + kQuarter);
    const float s2 = tableAt(m[2] * static_cast<double>(u) * kUnitsPerRadian + B * kUnitsPerRadian);
    const float s3 = tableAt(m[3] * static_cast<double>(u) * kUnitsPerRadian + B * kUnitsPerRadian + kQuarter);
    double acc = signedPower(m[7], s3, false);
    acc += signedPower(m[6], s2, false);
    acc += signedPower(m[5], s1, false);
    acc += signedPower(m[4], s0, false);
    const float sum = static_cast<float>(acc);
    const float r = static_cast<float>(1 + static_cast<double>(g.morph) * sum);
    const float q = tableAt(v * kPoleUnits + kPoleOffset);
    const double cu = tableCos(u), su = tableSin(u), cv = tableCos(v);
    return {static_cast<float>(static_cast<double>(r) * q * cu * g.meshScale.x),
            static_cast<float>(static_cast<double>(r) * cv * g.meshScale.y),
            static_cast<float>(static_cast<double>(r) * q * su * g.meshScale.z)};
}

ShapeVertex shapeVertexFrom(const ShapeGeometry& g, const Vec3& p0, const Vec3& p1, const Vec3& p2, float u,
                            float v) {
    return vertexFrom(p0, p1, p2, u, v, g.texCoordScale[0], g.texCoordScale[1]);
}

ShapeVertex emitShapeVertex(const ShapeGeometry& g, float u, float v, float du, float dv) {
    const Vec3 p0 = harmonicPoint(g, u, v);
    const Vec3 p1 = harmonicPoint(g, static_cast<float>(static_cast<double>(u) + du), v);
    const Vec3 p2 = harmonicPoint(g, u, static_cast<float>(static_cast<double>(v) + dv));
    return shapeVertexFrom(g, p0, p1, p2, u, v);
}

namespace {

// The parts of the radius that depend on one longitude u or one latitude v
// alone. A point combines one of each with the same operations, in the
// same order, as harmonicPoint, so its values are bit for bit the same.
struct LongitudeTerms {
    double sum32;  // |s3|^m7 + |s2|^m6, the first two terms of the sum
    double cu, su;
};

LongitudeTerms longitudeTerms(float u, const std::array<int32_t, 8>& m, double B) {
    const float s2 = tableAt(m[2] * static_cast<double>(u) * kUnitsPerRadian + B * kUnitsPerRadian);
    const float s3 = tableAt(m[3] * static_cast<double>(u) * kUnitsPerRadian + B * kUnitsPerRadian + kQuarter);
    double acc = signedPower(m[7], s3, false);
    acc += signedPower(m[6], s2, false);
    return {acc, tableCos(u), tableSin(u)};
}

LatitudeTerms latitudeTerms(float v, const std::array<int32_t, 8>& m, double A) {
    const float s0 = tableAt(m[0] * static_cast<double>(v) * kUnitsPerRadian + A * kUnitsPerRadian);
    const float s1 = tableAt(m[1] * static_cast<double>(v) * kUnitsPerRadian + A * kUnitsPerRadian + kQuarter);
    return {signedPower(m[5], s1, false), signedPower(m[4], s0, false), tableAt(v * kPoleUnits + kPoleOffset),
            tableCos(v)};
}

Vec3 combine(const LongitudeTerms& lu, const LatitudeTerms& lv, double morph, const Vec3& scale) {
    double acc = lu.sum32;
    acc += lv.p1;
    acc += lv.p0;
    const float sum = static_cast<float>(acc);
    const double r = static_cast<float>(1 + morph * sum);
    return {static_cast<float>(r * lv.q * lu.cu * scale.x), static_cast<float>(r * lv.cv * scale.y),
            static_cast<float>(r * lv.q * lu.su * scale.z)};
}

void put(ShapeMesh& mesh, const ShapeVertex& x) {
    mesh.normals.insert(mesh.normals.end(), {x.normal.x, x.normal.y, x.normal.z});
    mesh.texCoords.insert(mesh.texCoords.end(), {x.s, x.t});
    mesh.tangents.insert(mesh.tangents.end(), {x.tangent.x, x.tangent.y, x.tangent.z});
    mesh.positions.insert(mesh.positions.end(), {x.position.x, x.position.y, x.position.z});
}

}  // namespace

void buildShapeMesh(const ShapeGeometry& g, ShapeMesh& mesh, std::vector<ShapeVertex>* out) {
    const int32_t n = g.segments;
    ShapeMesh& a = mesh;
    mesh.normals.clear();
    mesh.texCoords.clear();
    mesh.tangents.clear();
    mesh.positions.clear();
    if (out) out->clear();
    if (n <= 0) return;
    const float inv = static_cast<float>(1.0 / n);
    const float du = static_cast<float>(static_cast<double>(inv) * 6.2831855f);
    const float dv = static_cast<float>(static_cast<double>(inv) * 3.1415927f);
    const auto& m = shapePresetRow(g.preset);
    const double A = g.phaseA, B = g.phaseB, morph = g.morph;
    const Vec3 scale = g.meshScale;

    // Each latitude row once for the whole mesh: v_j and the neighbour
    // v_j + dv its normals look at (not always the same float as v_j+1).
    a.vs.resize(static_cast<size_t>(n) + 1);
    a.rows.resize(a.vs.size());
    a.nextRows.resize(a.vs.size());
    for (int32_t j = 0; j <= n; ++j) {
        const float v = static_cast<float>(static_cast<double>(j) * dv);
        a.vs[j] = v;
        a.rows[j] = latitudeTerms(v, m, A);
        a.nextRows[j] = latitudeTerms(static_cast<float>(static_cast<double>(v) + dv), m, A);
    }
    const size_t total = static_cast<size_t>(n) * (static_cast<size_t>(n) + 1) * 2;
    mesh.normals.reserve(total * 3);
    mesh.texCoords.reserve(total * 2);
    mesh.tangents.reserve(total * 3);
    mesh.positions.reserve(total * 3);
    for (int32_t i = 0; i < n; ++i) {
        // The strip's two columns and the column one step further that the
        // second one's normals look at.
        const float u0 = static_cast<float>(static_cast<double>(i) * du);
        const float u1 = static_cast<float>(static_cast<double>(u0) + du);
        const float u2 = static_cast<float>(static_cast<double>(u1) + du);
        const LongitudeTerms c0 = longitudeTerms(u0, m, B);
        const LongitudeTerms c1 = longitudeTerms(u1, m, B);
        const LongitudeTerms c2 = longitudeTerms(u2, m, B);
        for (int32_t j = 0; j <= n; ++j) {
            const float v = a.vs[j];
            const Vec3 p00 = combine(c0, a.rows[j], morph, scale);
            const Vec3 p10 = combine(c1, a.rows[j], morph, scale);
            const Vec3 p20 = combine(c2, a.rows[j], morph, scale);
            const Vec3 p01 = combine(c0, a.nextRows[j], morph, scale);
            const Vec3 p11 = combine(c1, a.nextRows[j], morph, scale);
            const ShapeVertex first = vertexFrom(p00, p10, p01, u0, v, g.texCoordScale[0], g.texCoordScale[1]);
            const ShapeVertex second = vertexFrom(p10, p20, p11, u1, v, g.texCoordScale[0], g.texCoordScale[1]);
            put(mesh, first);
            put(mesh, second);
            if (out) {
                out->push_back(first);
                out->push_back(second);
            }
        }
    }
}

}  // namespace vortel
