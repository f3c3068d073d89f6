#pragma once
// The box: the cube [-1, 1]^3 scaled by meshScale, drawn from outside or
// from inside (a room). Six faces of four corners, each face with its
// outward normal and a tangent (carried in the colour attribute); the
// corners take the texture coordinates (0,0), (1,0), (1,1), (0,1) times
// texCoordScale.
#include <array>

#include "core/vec.h"

namespace vortel {

struct BoxVertex {
    Vec3 normal;
    Vec3 tangent;
    float s = 0, t = 0;
    Vec3 position;
};

constexpr int kBoxVertexCount = 24;

// The 24 vertices of the box in drawing order (six GL_QUADS), for the
// scales given. Inside-out flips each normal, negates the tangent's z and
// takes the corners in reverse order, so the faces wind the other way and
// show from inside with back-face culling.
std::array<BoxVertex, kBoxVertexCount> boxMeshVertices(bool insideOut, const Vec3& meshScale,
                                                       const std::array<float, 2>& texCoordScale);

}  // namespace vortel
