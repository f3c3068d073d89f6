#include "visuals/cameras/cameras.h"

#include <cmath>

#include "core/sine_table.h"
#include "gfx/camera_math.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"

namespace vortel {

namespace {

constexpr double kQuarter = 16384.0;    // a quarter turn: cosine
// Pre-multiplied constants of the motions: factor times kUnitsPerRadian, as floats.
constexpr double kUnits4_4 = 45893.664f;
constexpr double kUnits4 = 41721.512f;
constexpr double kUnits1_2 = 12516.454f;
constexpr double kUnitsM0_15 = -1564.5568f;
constexpr double kUnitsM0_1 = -1043.0378f;

double S(double radians) { return tableAt(radians * kUnitsPerRadian); }
double C(double radians) { return tableAt(radians * kUnitsPerRadian + kQuarter); }
double f64(float v) { return v; }

// C(4.4 * S(x)), x given in table units.
double bob(double innerUnits) { return tableAt(tableAt(innerUnits) * kUnits4_4 + kQuarter); }

// (1 + S(C(4 x) + 1.2 x))^4, the dolly's pulse.
double pulse(double x) {
    const double c = tableAt(x * kUnits4 + kQuarter);
    const double b = 1.0 + tableAt(c * kUnitsPerRadian + x * kUnits1_2);
    return b * b * b * b;
}

void add(float& field, double amount) { field = static_cast<float>(field + amount); }

void addLight(CameraPose& p, double w, double T) {
    add(p.light.x, w);
    add(p.light.y, 5 * w * C(T));
    add(p.light.z, 5 * w);
    add(p.light.w, w);
}

}  // namespace

CameraPose floatCameraStep(const CameraPose& in, float weight, float T) {
    CameraPose p = in;
    const double w = weight;
    const double P = static_cast<float>(0.1f * f64(T));
    addLight(p, w, T);
    add(p.from.y, 16 * w * bob(P * kUnitsM0_15));
    const double f = static_cast<float>(0.05f * std::fabs(f64(p.from.y)) - 1);
    const double a = 0.2f * P - f64(0.2f);
    add(p.from.x, 6 * w * f * S(a));
    add(p.from.z, 6.5 * w * f * C(a));
    add(p.dolly, -(0.05f * w * pulse(P)));
    return p;
}

CameraPose wanderCameraStep(const CameraPose& in, float weight, float T, int32_t globalSeed, int32_t seed,
                            Generator& g) {
    CameraPose p = in;
    const double w = weight;
    addLight(p, w, T);
    g.srand(static_cast<uint32_t>(globalSeed) + static_cast<uint32_t>(seed));
    const int r1 = g.rand();
    const float speed = static_cast<float>(1.0 + r1 * f64(0.000012207404f));
    const double Tw = static_cast<float>(f64(speed) * T);
    if (seed & 1) {
        add(p.from.y, 16 * w * bob(Tw * kUnitsM0_15));
        const double f = static_cast<float>(0.05f * w * std::fabs(f64(p.from.y)) - 1);
        const double a = 0.2f * Tw - f64(0.2f);
        add(p.from.x, 6 * w * f * S(a));
        add(p.from.z, 6.5 * w * f * C(a));
    } else {
        add(p.from.x, 5 * w * S(0.23f * Tw - f64(0.2f)));
        add(p.from.y, 5 * w * bob(Tw * kUnitsM0_15));
        add(p.from.z, 5.5 * w * C(0.24f * Tw - f64(0.2f)));
    }
    const int r2 = g.rand();
    const double u2 = static_cast<float>(r2 * f64(0.00003051851f));
    add(p.dolly, -(0.1f * w * (1 + 0.5 * u2) * pulse(Tw)));
    return p;
}

CameraPose overheadCameraStep(const CameraPose& in, float weight, float T) {
    CameraPose p = in;
    const double w = weight;
    add(p.light.y, 5 * w);
    add(p.light.z, 5 * w);
    add(p.light.w, w);
    add(p.target.y, -w);
    add(p.from.y, w * (bob(f64(T) * kUnitsM0_1) - 4));
    const double f = static_cast<float>(0.05f * std::fabs(f64(p.from.y)) - 1);
    const double a = 0.12f * f64(T) - f64(0.2f);
    add(p.from.x, 6 * w * f * S(a));
    add(p.from.z, 6.5 * w * f * C(a));
    add(p.dolly, -0.0015f * w * pulse(T));
    return p;
}

namespace {

float motionTime(float time, float clipValue) { return static_cast<float>(f64(time) + clipValue); }

// The camera's pose becomes the frame's and its matrices go into the frame.
void finish(FrameContext& ctx, const CameraPose& pose) {
    ctx.camera = pose;
    DrawPlan plan;
    plan.loadsCamera = true;
    plan.projection = cameraProjectionMatrix();
    plan.view = cameraViewMatrix(pose.from, pose.target, pose.dolly);
    runPlan(ctx, plan);
}

}  // namespace

void FloatCamera(FrameContext& ctx, int32_t, const ClipAction& action, float time, float clipValue, float) {
    finish(ctx, floatCameraStep(ctx.camera, actionWeight(action, time), motionTime(time, clipValue)));
}

void WanderCamera(FrameContext& ctx, int32_t seed, const ClipAction& action, float time, float clipValue, float) {
    finish(ctx, wanderCameraStep(ctx.camera, actionWeight(action, time), motionTime(time, clipValue), ctx.seed, seed,
                                 *ctx.rng));
}

void OverheadCamera(FrameContext& ctx, int32_t, const ClipAction& action, float time, float clipValue, float) {
    finish(ctx, overheadCameraStep(ctx.camera, actionWeight(action, time), motionTime(time, clipValue)));
}

}  // namespace vortel
