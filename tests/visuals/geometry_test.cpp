// The meshes on the CPU: known figures of the harmonic shape, the shared
// evaluation against the per-vertex one, and the faces of the box.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/demo_state.h"
#include "core/rng.h"
#include "core/sine_table.h"
#include "visuals/scenes/box_mesh.h"
#include "visuals/scenes/harmonic_shape.h"
#include "visuals/scenes/shape_presets.h"

namespace vortel {
namespace {

class GeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        fillSineTable(demo());
        saved_ = demo();
        savedPreset_ = shapePreset;
        savedMorph_ = shapeMorph;
    }
    void TearDown() override {
        DemoState& s = demo();
        s.meshScale = saved_.meshScale;
        s.shapePhaseA = saved_.shapePhaseA;
        s.shapePhaseB = saved_.shapePhaseB;
        s.shapeSegments = saved_.shapeSegments;
        s.texCoordScale[0] = saved_.texCoordScale[0];
        s.texCoordScale[1] = saved_.texCoordScale[1];
        shapePreset = savedPreset_;
        shapeMorph = savedMorph_;
    }
    void settings(int preset, float morph, Vec3 scale, float a = 0, float b = 0, int segments = 8) {
        DemoState& s = demo();
        shapePreset = preset;
        shapeMorph = morph;
        s.meshScale = scale;
        s.shapePhaseA = a;
        s.shapePhaseB = b;
        s.shapeSegments = segments;
        s.texCoordScale[0] = 0.25f;
        s.texCoordScale[1] = 0.5f;
    }
    DemoState saved_;
    int32_t savedPreset_ = 0;
    float savedMorph_ = 1;
};

double dot(const Vec3& a, const Vec3& b) { return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z; }

TEST_F(GeometryTest, HarmonicPointKnownFigures) {
    // Row 7 at the pole: 1 + |S(0)|^2 + |C(0)|^10 + |S(0)| + |C(0)| = 3.
    settings(7, 1.0f, {1, 1, 1});
    const Vec3 p = harmonicPoint(0, 0);
    EXPECT_NEAR(std::sqrt(dot(p, p)), 3.0, 1e-5);
    EXPECT_FLOAT_EQ(p.y, 3.0f);
    EXPECT_FLOAT_EQ(p.x, 3 * demo().sineTable[16]);  // q: table index trunc(16.384)
    EXPECT_EQ(p.z, 0.0f);

    // Morph 0: the ellipsoid of meshScale, for every row and phase (the
    // latitude pulled in by 0.999 costs at most ~0.003).
    for (int preset = 0; preset < kShapePresetCount; ++preset) {
        settings(preset, 0.0f, {2, 3, 0.5f}, 0.7f, -1.3f);
        for (float u = 0; u < 6.283f; u += 0.37f)
            for (float v = 0; v <= 3.1416f; v += 0.29f) {
                const Vec3 q = harmonicPoint(u, v);
                const double e = q.x * q.x / 4.0 + q.y * q.y / 9.0 + q.z * q.z / 0.25;
                ASSERT_NEAR(e, 1.0, 0.004) << preset << " " << u << " " << v;
            }
    }
}

TEST_F(GeometryTest, SharedEvaluationEmitsExactlyThePerVertexValues) {
    srand(99);
    for (int trial = 0; trial < 40; ++trial) {
        const int segments = (trial % 5 == 0) ? 64 : 1 + rand() % 17;
        settings(trial % kShapePresetCount, static_cast<float>(rand() / 16384.0 - 0.5),
                 {static_cast<float>(rand() / 4096.0 - 4), -2.5f, static_cast<float>(rand() / 8192.0)},
                 static_cast<float>(rand() / 1000.0 - 16), static_cast<float>(rand() / 3000.0 - 5), segments);
        std::vector<ShapeVertex> mesh;
        buildShapeMesh(&mesh);
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
                    const ShapeVertex want = emitShapeVertex(uu, v, du, dv);
                    const ShapeVertex& got = mesh[k++];
                    ASSERT_EQ(std::memcmp(&want, &got, sizeof want), 0) << "trial " << trial << " vertex " << k - 1;
                }
            }
        }
    }
    settings(0, 1, {1, 1, 1}, 0, 0, 0);
    std::vector<ShapeVertex> none;
    buildShapeMesh(&none);
    EXPECT_TRUE(none.empty());
}

TEST_F(GeometryTest, MirroredShapeTurnsItsNormalsInward) {
    for (float sign : {1.0f, -1.0f}) {
        settings(1, 0.3f, {sign * 2, sign * 2, sign * 2}, 0.4f, 0, 16);
        std::vector<ShapeVertex> mesh;
        buildShapeMesh(&mesh);
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

TEST_F(GeometryTest, BoxFacesWindTowardsTheirNormals) {
    demo().texCoordScale[0] = 0.5f;
    demo().texCoordScale[1] = 2.0f;
    for (bool inside : {false, true}) {
        demo().meshScale = {8, 8, 8};
        const auto vs = boxMeshVertices(inside);
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
