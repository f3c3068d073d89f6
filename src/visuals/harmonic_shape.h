#pragma once
// The harmonic shape: a closed surface round the y axis whose radius is a
// sum of powered sine and cosine terms of latitude v (0 at +y .. pi at -y)
// and longitude u (0 .. 2 pi). It reads the shape settings of demo()
// (meshScale, shapePhaseA, shapePhaseB, shapeSegments, texCoordScale) and
// shapePreset / shapeMorph (shape_presets.h) at draw time.
//
// Radius r = 1 + shapeMorph * (|S(m0 v + A)|^m4 + |C(m1 v + A)|^m5
//                              + |S(m2 u + B)|^m6 + |C(m3 u + B)|^m7)
// with S, C the sine-table lookups. The point is
// (r q C(u), r C(v), r q S(u)) * meshScale, where q = sin(0.999 v + pi/2000)
// keeps the two pole rows apart.
#include <vector>

#include "core/vec.h"

namespace vortel {

// One point of the surface for the current settings.
Vec3 harmonicPoint(float u, float v);

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
ShapeVertex emitShapeVertex(float u, float v, float du, float dv);

// The same from the three points already evaluated.
ShapeVertex shapeVertexFrom(const Vec3& p0, const Vec3& p1, const Vec3& p2, float u, float v);

// Every vertex drawHarmonicShape emits, in order (n strips of 2 (n + 1)),
// into *out when out is not null. Evaluates each surface point once per
// column and row and shares it between the vertices that need it; the
// values are exactly those of emitShapeVertex.
void buildShapeMesh(std::vector<ShapeVertex>* out);

// Draws the shape: uploads fragment parameters 1..3 (specularColour,
// specularParams, surfaceParams), enables back-face culling (left on), then
// n = shapeSegments quad strips: strip i at u = i du holds, for j = 0..n,
// the vertices (u, j dv) and (u + du, j dv), du = 2 pi / n, dv = pi / n.
// n <= 0 draws nothing. Leaves programs, textures and matrices alone.
void drawHarmonicShape();

}  // namespace vortel
