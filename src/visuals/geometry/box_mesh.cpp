#include "visuals/geometry/box_mesh.h"

#include <cstddef>


namespace vortel {

namespace {

struct BoxFace {
    Vec3 normal;
    Vec3 tangent;
    Vec3 corners[4];
};

constexpr BoxFace kFaces[6] = {
    {{-1, 0, 0}, {0, 0, -1}, {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}},
    {{1, 0, 0}, {0, 0, 1}, {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}}},
    {{0, -1, 0}, {1, 0, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
    {{0, 1, 0}, {1, 0, 0}, {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}},
    {{0, 0, -1}, {-1, 0, 0}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},
    {{0, 0, 1}, {-1, 0, 0}, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},
};
constexpr float kCornerTex[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

}  // namespace

std::array<BoxVertex, kBoxVertexCount> boxMeshVertices(bool insideOut, const Vec3& meshScale,
                                                       const std::array<float, 2>& texCoordScale) {
    std::array<BoxVertex, kBoxVertexCount> out{};
    int n = 0;
    for (const BoxFace& f : kFaces) {
        const Vec3 normal = insideOut ? Vec3{-f.normal.x, -f.normal.y, -f.normal.z} : f.normal;
        const Vec3 tangent = insideOut ? Vec3{f.tangent.x, f.tangent.y, -f.tangent.z} : f.tangent;
        for (int i = 0; i < 4; ++i) {
            const int k = insideOut ? 3 - i : i;
            BoxVertex& v = out[static_cast<size_t>(n++)];
            v.normal = normal;
            v.tangent = tangent;
            v.s = static_cast<float>(static_cast<double>(kCornerTex[k][0]) * texCoordScale[0]);
            v.t = static_cast<float>(static_cast<double>(kCornerTex[k][1]) * texCoordScale[1]);
            v.position = {static_cast<float>(static_cast<double>(f.corners[k].x) * meshScale.x),
                          static_cast<float>(static_cast<double>(f.corners[k].y) * meshScale.y),
                          static_cast<float>(static_cast<double>(f.corners[k].z) * meshScale.z)};
        }
    }
    return out;
}

}  // namespace vortel
