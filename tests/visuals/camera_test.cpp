#include <gtest/gtest.h>

#include <cmath>

#include "core/rng.h"
#include "core/sine_table.h"
#include "visuals/cameras/cameras.h"

namespace vortel {
namespace {

constexpr double kTol = 2e-4;
// Table sine at -0.2 rad and the pulse (1 + sin(cos 0))^4 = (1 + sin 1)^4.
const double kSinM02 = std::sin(-2086 * 2 * M_PI / 65536);
const double kCosM02 = std::cos(-2086 * 2 * M_PI / 65536);
const double kPulse0 = std::pow(1 + std::sin(10430 * 2 * M_PI / 65536), 4);

TEST(Cameras, FloatCameraAtFullWeightFromTheNeutralPose) {
    const CameraPose p = floatCameraStep(CameraPose{}, 1.0f, 0.0f);
    EXPECT_NEAR(p.light.x, 1, kTol);
    EXPECT_NEAR(p.light.y, 5, kTol);
    EXPECT_NEAR(p.light.z, 5, kTol);
    EXPECT_NEAR(p.from.y, 16, kTol);  // 16 C(4.4 S(0))
    const double f = 0.05 * 16 - 1;
    EXPECT_NEAR(p.from.x, 6 * f * kSinM02, kTol);
    EXPECT_NEAR(p.from.z, -1 + 6.5 * f * kCosM02, kTol);
    EXPECT_NEAR(p.dolly, -0.05 * kPulse0, kTol);
    // Zero weight adds nothing at all.
    const CameraPose idle = floatCameraStep(CameraPose{}, 0.0f, 3.7f);
    EXPECT_EQ(idle.from.x, 0.0f);
    EXPECT_EQ(idle.from.y, 0.0f);
    EXPECT_EQ(idle.from.z, -1.0f);
    EXPECT_EQ(idle.dolly, 0.0f);
}

TEST(Cameras, OverheadCameraRaisesTheEyeAndLowersTheTarget) {
    const CameraPose p = overheadCameraStep(CameraPose{}, 1.0f, 0.0f);
    EXPECT_NEAR(p.light.x, 0, kTol);
    EXPECT_NEAR(p.light.y, 5, kTol);
    EXPECT_NEAR(p.target.y, -1, kTol);
    EXPECT_NEAR(p.from.y, -3, kTol);  // C(0) - 4
    const double f = 0.05 * 3 - 1;
    EXPECT_NEAR(p.from.x, 6 * f * kSinM02, kTol);
    EXPECT_NEAR(p.from.z, -1 + 6.5 * f * kCosM02, kTol);
    EXPECT_NEAR(p.dolly, -0.0015 * kPulse0, kTol);
}

TEST(Cameras, WanderCameraPatternFollowsSeedParity) {
    for (int seed : {10, 11}) {
        Generator model;
        model.srand(1000u + seed);
        model.rand();
        const double u2 = static_cast<float>(model.rand() * double(0.00003051851f));
        Generator g;
        const CameraPose p = wanderCameraStep(CameraPose{}, 1.0f, 0.0f, 1000, seed, g);
        // The camera re-seeds the generator it is given and draws twice.
        EXPECT_EQ(g.state, model.state);
        if (seed % 2 == 0) {
            EXPECT_NEAR(p.from.x, 5 * kSinM02, kTol);
            EXPECT_NEAR(p.from.y, 5, kTol);  // never the floating camera's 16
            EXPECT_NEAR(p.from.z, -1 + 5.5 * kCosM02, kTol);
        } else {
            EXPECT_NEAR(p.from.y, 16, kTol);
            EXPECT_NEAR(p.from.x, 6 * (0.05 * 16 - 1) * kSinM02, kTol);  // never amplitude 5
        }
        EXPECT_NEAR(p.dolly, -0.1 * (1 + 0.5 * u2) * kPulse0, kTol);
    }
}

TEST(Cameras, OverlappingCamerasAddTheirWeightedContributions) {
    const float T = 17.3f;
    const CameraPose first = floatCameraStep(CameraPose{}, 0.3f, T);
    const CameraPose both = floatCameraStep(first, 0.7f, T);
    const CameraPose alone = floatCameraStep(CameraPose{}, 0.7f, T);
    // Light, dolly and the y bob simply add.
    EXPECT_NEAR(both.light.y, first.light.y + alone.light.y, 1e-5);
    EXPECT_NEAR(both.dolly, first.dolly + alone.dolly, 1e-5);
    EXPECT_NEAR(both.from.y, first.from.y + alone.from.y, 1e-4);
    // The second camera's circle radius reads the new y, which includes the first's.
    const double f = 0.05 * std::fabs(both.from.y) - 1;
    const double P = static_cast<float>(0.1f * T);
    const double a = 0.2f * P - double(0.2f);
    EXPECT_NEAR(both.from.x - first.from.x, 6 * 0.7f * f * tableSin(static_cast<float>(a)), 1e-4);
}

}  // namespace
}  // namespace vortel
