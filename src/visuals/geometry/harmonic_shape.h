#pragma once
// The harmonic shape: a closed surface round the y axis whose radius is a
// sum of powered sine and cosine terms of latitude v (0 at +y .. pi at -y)
// and longitude u (0 .. 2 pi). Its mesh is computed here, apart from GL,
// from a ShapeGeometry (preset row m, morph, phases A and B, scales).
//
// Radius r = 1 + morph * (|S(m0 v + A)|^m4 + |C(m1 v + A)|^m5
//                              + |S(m2 u + B)|^m6 + |C(m3 u + B)|^m7)
// with S, C the sine-table lookups. The point is
// (r q C(u), r C(v), r q S(u)) * meshScale, where q = sin(0.999 v + pi/2000)
// keeps the two pole rows apart.
#include <array>
#include <cstdint>
#include <vector>

#include "core/vec.h"

namespace vortel {

// Everything a shape's mesh depends on apart from the sine table: the
// preset row and morph (shape_presets.h), the segments n, the two phases
// and the two scales.
struct ShapeGeometry {
    int32_t preset = 0;
    float morph = 1;
    int32_t segments = 0;
    float phaseA = 0, phaseB = 0;
    Vec3 meshScale{1, 1, 1};
    std::array<float, 2> texCoordScale{1, 1};
};

// One point of the surface of `g`.
Vec3 harmonicPoint(const ShapeGeometry& g, float u, float v);

// What one vertex of the mesh carries: the normal and tangent of the
// surface there (from the neighbours a step du along u and dv along v),
// the texture coordinate (u / 2 pi, v / pi, times texCoordScale) and the
// position.
struct ShapeVertex {
    Vec3 normal;
    float s = 0, t = 0;
    Vec3 tangent;  // goes to the colour attribute, the relief program's tangent
    Vec3 position;
};

// The vertex at (u, v) with steps du, dv, from three surface points: P0 at
// (u, v), P1 one step along u, P2 one step along v. Normal = (P1 - P0) x
// (P2 - P0) normalised, tangent = P1 - P0 normalised (a zero length leaves
// the vector zero).
ShapeVertex emitShapeVertex(const ShapeGeometry& g, float u, float v, float du, float dv);

// The same from the three points already evaluated.
ShapeVertex shapeVertexFrom(const ShapeGeometry& g, const Vec3& p0, const Vec3& p1, const Vec3& p2, float u,
                            float v);

// The parts of the radius that depend on one latitude v alone (see
// buildShapeMesh).
struct LatitudeTerms {
    double p1, p0;  // |s1|^m5, |s0|^m4
    double q, cv;
};

// A shape's mesh as client arrays: per vertex a normal, a texture
// coordinate, a tangent (for the colour attribute) and a position; n quad
// strips of 2 (n + 1) vertices, strip i at u = i du holding, for j = 0..n,
// the vertices (u, j dv) and (u + du, j dv), du = 2 pi / n, dv = pi / n.
struct ShapeMesh {
    std::vector<float> normals, texCoords, tangents, positions;  // 3, 2, 3, 3 floats per vertex
    // Working rows, kept with the mesh so that rebuilding reuses them.
    std::vector<LatitudeTerms> rows, nextRows;  // at v_j and at v_j + dv
    std::vector<float> vs;
};

// Builds the mesh of `g` into `mesh` (reusing its storage) and, when
// `vertices` is not null, the same vertices as records. Evaluates each
// surface point once per column and row and shares it between the vertices
// that need it; the values are exactly those of emitShapeVertex. n <= 0
// gives no vertices.
void buildShapeMesh(const ShapeGeometry& g, ShapeMesh& mesh, std::vector<ShapeVertex>* vertices = nullptr);

}  // namespace vortel
