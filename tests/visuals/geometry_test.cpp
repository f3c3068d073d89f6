// The meshes on the CPU: known figures of the harmonic shape, the shared
// evaluation against the per-vertex one, and the faces of the box.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/rng.h"
#include "core/sine_table.h"
#include "visuals/geometry/box_mesh.h"
#include "visuals/geometry/harmonic_shape.h"
#include "visuals/geometry/shape_presets.h"

namespace vortel {
namespace {

// The geometry of preset row `preset` with the scenes' texture scale of
// (0.25, 0.5).
ShapeGeometry settings(int preset, float morph, Vec3 scale, float a = 0, float b = 0, int segments = 8) {
    ShapeGeometry g;
    g.preset = preset;
    g.morph = morph;
    g.meshScale = scale;
    g.phaseA = a;
    g.phaseB = b;
    g.segments = segments;
    g.texCoordScale = {0.25f, 0.5f};
    return g;
}

double dot(const Vec3& a, const Vec3& b) { return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z; }

TEST(GeometryTest, HarmonicPointKnownFigures) {
    // Row 7 at the pole: 1 + |S(0)|^2 + |C(0)|^10 + |S(0)| + |C(0)| = 3.
    const ShapeGeometry row7 = settings(7, 1.0f, {1, 1, 1});
    const Vec3 p = harmonicPoint(row7, 0, 0);
    EXPECT_NEAR(std::sqrt(dot(p, p)), 3.0, 1e-5);
    EXPECT_FLOAT_EQ(p.y, 3.0f);
    EXPECT_FLOAT_EQ(p.x, 3 * sineTable()[16]);  // q: table index trunc(16.384)
    EXPECT_EQ(p.z, 0.0f);

    // Morph 0: the ellipsoid of meshScale, for every row and phase (the
    // latitude pulled in by 0.999 costs at most ~0.003).
    for (int preset = 0; preset < kShapePresetCount; ++preset) {
        const ShapeGeometry g = settings(preset, 0.0f, {2, 3, 0.5f}, 0.7f, -1.3f);
        for (float u = 0; u < 6.283f; u += 0.37f)
            for (float v = 0; v <= 3.1416f; v += 0.29f) {
                const Vec3 q = harmonicPoint(g, u, v);
                const double e = q.x * q.x / 4.0 + q.y * q.y / 9.0 + q.z * q.z / 0.25;
                ASSERT_NEAR(e, 1.0, 0.004) << preset << " " << u << " " << v;
            }
    }
}

TEST(GeometryTest, SharedEvaluationEmitsExactlyThePerVertexValues) {
    Generator rng;
    rng.srand(99);
    ShapeMesh arrays;  // reused from trial to trial, as the frames reuse theirs
    for (int trial = 0; trial < 40; ++trial) {
        const int segments = (trial % 5 == 0) ? 64 : 1 + rng.rand() % 17;
        const float morph = static_cast<float>(rng.rand() / 16384.0 - 0.5);
        const float sx = static_cast<float>(rng.rand() / 4096.0 - 4);
        const float sz = static_cast<float>(rng.rand() / 8192.0);
        const float a = static_cast<float>(rng.rand() / 1000.0 - 16);
        const float b = static_cast<float>(rng.rand() / 3000.0 - 5);
        const ShapeGeometry g = settings(trial % kShapePresetCount, morph, {sx, -2.5f, sz}, a, b, segments);
        std::vector<ShapeVertex> mesh;
        buildShapeMesh(g, arrays, &mesh);
        ASSERT_EQ(mesh.size(), static_cast<size_t>(segments) * (segments + 1) * 2);
        const float inv = static_cast<float>(1.0 / segments);
        const float du = static_cast<float>(double(inv) * 6.2831855f);
        const float dv = static_cast<float>(double(inv) * 3.1415927f);
        size_t k = 0;
        for (int i = 0; i < segments; ++i) {
            const float u = static_cast<float>(double(i) * du);
            for (int j = 0; j <= segments; ++j) {
                const float v = static_cast<float>(double(j) * dv);
                for (float uu : {u, static_cast<float>(double(u) + du)}) {
                    const ShapeVertex want = emitShapeVertex(g, uu, v, du, dv);
                    const ShapeVertex& got = mesh[k++];
                    ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << "trial " << trial << " vertex " << k - 1;
                }
            }
        }
    }
    std::vector<ShapeVertex> none;
    buildShapeMesh(settings(0, 1, {1, 1, 1}, 0, 0, 0), arrays, &none);
    EXPECT_TRUE(none.empty());
}

TEST(GeometryTest, MirroredShapeTurnsItsNormalsInward) {
    for (float sign : {1.0f, -1.0f}) {
        ShapeMesh arrays;
        std::vector<ShapeVertex> mesh;
        buildShapeMesh(settings(1, 0.3f, {sign * 2, sign * 2, sign * 2}, 0.4f, 0, 16), arrays, &mesh);
        int outward = 0, inward = 0;
        for (const ShapeVertex& v : mesh) {
            const double d = dot(v.normal, v.position);
            (d > 0 ? outward : inward) += d != 0;
            ASSERT_NEAR(dot(v.normal, v.normal), 1.0, 1e-5);
            ASSERT_NEAR(dot(v.tangent, v.tangent), 1.0, 1e-5);
        }
        if (sign > 0) EXPECT_GT(outward, 0.95 * mesh.size());
        else EXPECT_GT(inward, 0.95 * mesh.size());
    }
}

TEST(GeometryTest, BoxFacesWindTowardsTheirNormals) {
    for (bool inside : {false, true}) {
        const auto vs = boxMeshVertices(inside, {8, 8, 8}, {0.5f, 2.0f});
        for (int f = 0; f < 6; ++f) {
            const BoxVertex* q = &vs[static_cast<size_t>(f) * 4];
            const Vec3 e1{q[1].position.x - q[0].position.x, q[1].position.y - q[0].position.y,
                          q[1].position.z - q[0].position.z};
            const Vec3 e2{q[2].position.x - q[0].position.x, q[2].position.y - q[0].position.y,
                          q[2].position.z - q[0].position.z};
            const Vec3 winding{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
            // Counter-clockwise seen from the side the normal points to.
            EXPECT_GT(dot(winding, q[0].normal), 0) << inside << f;
            // Outside faces look away from the centre, inside ones at it.
            const Vec3 centre{(q[0].position.x + q[2].position.x) / 2, (q[0].position.y + q[2].position.y) / 2,
                              (q[0].position.z + q[2].position.z) / 2};
            EXPECT_EQ(dot(centre, q[0].normal), inside ? -8.0 : 8.0);
            EXPECT_EQ(dot(q[0].tangent, q[0].normal), 0.0);
            for (int k = 0; k < 4; ++k) {
                EXPECT_EQ(std::fabs(q[k].position.x) + std::fabs(q[k].position.y) + std::fabs(q[k].position.z), 24);
                EXPECT_TRUE((q[k].s == 0 || q[k].s == 0.5f) && (q[k].t == 0 || q[k].t == 2.0f));
            }
        }
    }
}

}  // namespace
}  // namespace vortel
