// Camera matrices, checked by what they do to points; signedPower; the
// material colour rule; the shader defaults.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/camera_math.h"
#include "gfx/gl_helpers.h"
#include "gfx/palette.h"

namespace vortel {
namespace {

std::array<double, 3> toNdc(const Mat4& projection, double x, double y, double z) {
    auto c = transform(projection, x, y, z, 1);
    return {c[0] / c[3], c[1] / c[3], c[2] / c[3]};
}

TEST(CameraMath, PerspectiveMapsTheFrustumOntoTheUnitCube) {
    Mat4 p = perspectiveMatrix(90, 1, 0.01, 1000);
    // Near and far planes go to depth -1 and +1.
    EXPECT_NEAR(toNdc(p, 0, 0, -0.01)[2], -1.0, 1e-9);
    EXPECT_NEAR(toNdc(p, 0, 0, -1000)[2], 1.0, 1e-9);
    // 90 degrees: the frustum's sides are at 45 degrees, whatever the depth.
    for (double d : {0.5, 3.0, 200.0}) {
        auto corner = toNdc(p, d, -d, -d);
        EXPECT_NEAR(corner[0], 1.0, 1e-12);
        EXPECT_NEAR(corner[1], -1.0, 1e-12);
    }
    // w = distance in front of the eye.
    EXPECT_NEAR(transform(p, 1, 2, -7, 1)[3], 7.0, 1e-12);

    // A narrower, wider view: fovy 60, aspect 2 -> y edge at tan(30), x edge at 2 tan(30).
    Mat4 q = perspectiveMatrix(60, 2, 1, 10);
    double t30 = std::tan(M_PI / 6);
    EXPECT_NEAR(toNdc(q, 2 * t30 * 4, t30 * 4, -4)[0], 1.0, 1e-12);
    EXPECT_NEAR(toNdc(q, 2 * t30 * 4, t30 * 4, -4)[1], 1.0, 1e-12);
}

TEST(CameraMath, LookAtPutsTheEyeAtTheOriginLookingDownMinusZ) {
    Point3d eye{1, 0.5, 3}, target{-2, 1, -1};
    Mat4 v = lookAtMatrix(eye, target, {0, 1, 0});
    auto e = transform(v, eye.x, eye.y, eye.z, 1);
    EXPECT_NEAR(e[0], 0, 1e-12);
    EXPECT_NEAR(e[1], 0, 1e-12);
    EXPECT_NEAR(e[2], 0, 1e-12);
    auto t = transform(v, target.x, target.y, target.z, 1);
    double distance = std::sqrt(9 + 0.25 + 16);
    EXPECT_NEAR(t[0], 0, 1e-12);
    EXPECT_NEAR(t[1], 0, 1e-12);
    EXPECT_NEAR(t[2], -distance, 1e-12);
    // A point straight above the eye is above the view axis, not beside it.
    auto up = transform(v, eye.x, eye.y + 1, eye.z, 1);
    EXPECT_NEAR(up[0], 0, 1e-12);
    EXPECT_GT(up[1], 0.9);
    // Rigid: lengths are kept.
    auto a = transform(v, 3, -1, 2, 1), b = transform(v, -1, 4, 0, 1);
    double d2 = (a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]);
    EXPECT_NEAR(d2, 16 + 25 + 4, 1e-9);
}

TEST(CameraMath, ShowCameraPlacesTheEyeAlongTheDolly) {
    // The neutral pose: from (0, 0, -1) towards the origin. Looking along +z
    // with +y up puts world +x on the left of the picture (eye -x).
    Mat4 v = cameraViewMatrix({0, 0, -1}, {0, 0, 0}, 0);
    auto p = transform(v, 0, 0, 5, 1);
    EXPECT_NEAR(p[2], -6, 1e-12);
    auto right = transform(v, 1, 0, 0, 1);
    EXPECT_NEAR(right[0], -1, 1e-12);
    EXPECT_NEAR(right[2], -1, 1e-12);

    v = cameraViewMatrix({2, 4, 6}, {-2, 0, 2}, 0.25f);  // eye at (1, 3, 5)
    auto eye = transform(v, 1, 3, 5, 1);
    EXPECT_NEAR(eye[0], 0, 1e-6);
    EXPECT_NEAR(eye[1], 0, 1e-6);
    EXPECT_NEAR(eye[2], 0, 1e-6);

    // On the target the direction is lost: the matrix degenerates but stays finite.
    v = cameraViewMatrix({2, 4, 6}, {-2, 0, 2}, 1);
    for (double m : v) EXPECT_TRUE(std::isfinite(m));

    // Projection: 90 degrees, square, near 0.01, far 1000.
    Mat4 proj = cameraProjectionMatrix();
    EXPECT_NEAR(toNdc(proj, 5, 5, -5)[0], 1.0, 1e-12);
    EXPECT_NEAR(toNdc(proj, 0, 0, -0.01)[2], -1.0, 1e-9);
}

TEST(GlHelpers, SignedPower) {
    EXPECT_EQ(signedPower(2, -0.5f, true), -0.25f);
    EXPECT_EQ(signedPower(2, -0.5f, false), 0.25f);
    EXPECT_EQ(signedPower(0, -3.0f, false), 3.0f);   // n <= 1: |x|
    EXPECT_EQ(signedPower(-4, -3.0f, true), -3.0f);
    EXPECT_EQ(signedPower(1, 0.75f, true), 0.75f);
    EXPECT_EQ(signedPower(3, -2.0f, true), -8.0f);
    EXPECT_EQ(signedPower(5, 1.5f, true), 7.59375f);
    // Zero counts as negative: -0 with the sign kept.
    EXPECT_TRUE(std::signbit(signedPower(2, 0.0f, true)));
    EXPECT_FALSE(std::signbit(signedPower(2, 0.0f, false)));
    // One rounding at the end: 1.1^7 in double, then to float.
    EXPECT_EQ(signedPower(7, 1.1f, false), static_cast<float>(std::pow(static_cast<double>(1.1f), 7)));
}

TEST(GlHelpers, ShaderDefaults) {
    SurfaceSettings s;
    s.specularParams.w = 1.0f;
    s.texCoordScale[1] = 9.0f;
    setShaderDefaults(s);
    EXPECT_EQ(s.specularColour.x, 1.5f);
    EXPECT_EQ(s.specularColour.w, 1.0f);
    EXPECT_EQ(s.specularParams.x, 32.0f);
    EXPECT_EQ(s.specularParams.w, -1.0f);
    EXPECT_EQ(s.surfaceParams.z, 0.01f);
    EXPECT_EQ(s.surfaceParams.w, -0.005f);
    EXPECT_EQ(s.texCoordScale[0], 0.25f);
    EXPECT_EQ(s.texCoordScale[1], 0.25f);
}

TEST(Palette, MaterialColourCarriesTheNextRed) {
    Vec4 first = materialColour(0);
    EXPECT_EQ(first.x, 0.45f);
    EXPECT_EQ(first.y, 0.25f);
    EXPECT_EQ(first.z, 0.1f);
    EXPECT_EQ(first.w, 0.5f);  // red of colour 1
    Vec4 white = materialColour(9);
    EXPECT_EQ(white.w, 0.5f);   // red of colour 10
    Vec4 last = materialColour(11);
    EXPECT_EQ(last.x, 0.2f);
    EXPECT_EQ(last.w, 0.0f);    // nothing follows the last colour
    EXPECT_EQ(materialColour(23).x, last.x);  // numbers wrap mod 12
    EXPECT_EQ(materialColour(-1).w, 0.0f);
    // The room's choices are the colours 1, 10, 11, 2 and 0.
    EXPECT_EQ(Palette[PaletteSequence[16]].g, 0.475f);
    EXPECT_EQ(Palette[PaletteSequence[20]].r, 0.45f);
}

}  // namespace
}  // namespace vortel
