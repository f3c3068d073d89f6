#include "visuals/box_mesh.h"

#include "core/demo_state.h"
#include "gfx/gl_api.h"
#include "gfx/gpu_programs.h"

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

std::array<BoxVertex, kBoxVertexCount> boxMeshVertices(bool insideOut) {
    const DemoState& s = demo();
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
            v.s = static_cast<float>(static_cast<double>(kCornerTex[k][0]) * s.texCoordScale[0]);
            v.t = static_cast<float>(static_cast<double>(kCornerTex[k][1]) * s.texCoordScale[1]);
            v.position = {static_cast<float>(static_cast<double>(f.corners[k].x) * s.meshScale.x),
                          static_cast<float>(static_cast<double>(f.corners[k].y) * s.meshScale.y),
                          static_cast<float>(static_cast<double>(f.corners[k].z) * s.meshScale.z)};
        }
    }
    return out;
}

void drawBoxMesh(bool insideOut) {
    const auto vertices = boxMeshVertices(insideOut);
    uploadSurfaceParameters();
    glBegin(GL_QUADS);
    for (size_t i = 0; i < vertices.size(); ++i) {
        const BoxVertex& v = vertices[i];
        if (i % 4 == 0) {
            glNormal3f(v.normal.x, v.normal.y, v.normal.z);
            glColor3f(v.tangent.x, v.tangent.y, v.tangent.z);
        }
        glTexCoord2f(v.s, v.t);
        glVertex3f(v.position.x, v.position.y, v.position.z);
    }
    glEnd();
}

}  // namespace vortel
