// The GPU programs in a headless context: all eight compile; a failing one
// is reported on one line and draws nothing; and a lit plane seen through
// the show's camera has, pixel by pixel, the colour the lighting formulas
// give when computed here on the CPU.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "gfx/gl_helpers.h"
#include "gfx/gpu_programs.h"
#include "gfx/palette.h"
#include "gfx/textures.h"
#include "support/gl_test_support.h"

namespace vortel {
namespace {

// ---- CPU side -----------------------------------------------------------

struct V3 {
    double x = 0, y = 0, z = 0;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 normalized(V3 a) { return a * (1.0 / std::sqrt(dot(a, a))); }
double sat(double v) { return std::clamp(v, 0.0, 1.0); }

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

// Everything the shading of one pixel of the plane needs.
struct Fragment {
    V3 eyePos;       // eye space
    V3 normal;       // eye space, unit
    V3 tangent;      // eye space, unit
    V3 objectPos;    // object space
    V3 eyeInObject;  // the eye in object space
    double u = 0, v = 0;
};

// Lighting of the lit programs: diffuse factor and clamped highlight.
struct Lighting {
    double diff;
    Rgba spec;
};

Lighting light(V3 n, const Fragment& f, V3 lightPos, Vec4 specColour, Vec4 specParams) {
    V3 view = normalized(f.eyePos);
    V3 l = normalized(lightPos - f.eyePos);
    double diff = dot(n, l);
    V3 refl = n * (2 * diff) - l;
    double s = std::max(dot(refl, view) * specParams.y, 0.0);
    double p = std::pow(s, specParams.x);
    return {diff, {sat(p * specColour.x), sat(p * specColour.y), sat(p * specColour.z), sat(p * specColour.w)}};
}

// ---- the plane ----------------------------------------------------------

// A plane z = 0 in object space, [-4, 4] square, normal +z, tangent +x,
// texture coordinates 0..1 over the square; the object is turned by
// kTurnDegrees about y after the camera.
constexpr double kTurnDegrees = 25.0;
const Vec3 kPlaneEye{1.0f, 0.8f, 3.2f};  // the camera of the lit plane, looking at the origin
constexpr float kPlaneDolly = 0.1f;
constexpr double kHalfSize = 4.0;

Mat4 modelMatrix() {
    double a = kTurnDegrees * M_PI / 180;
    Mat4 m = identityMatrix();
    m[0] = std::cos(a);
    m[2] = -std::sin(a);
    m[8] = std::sin(a);
    m[10] = std::cos(a);
    return m;
}

V3 apply(const Mat4& m, V3 p, double w) {
    auto r = transform(m, p.x, p.y, p.z, w);
    return {r[0], r[1], r[2]};
}

// The fragment seen at the centre of working-area pixel (px, py), if the
// plane covers it with a margin.
bool fragmentAt(int px, int py, Fragment* f) {
    Mat4 p = cameraProjectionMatrix();
    Mat4 mv = multiply(cameraViewMatrix(kPlaneEye, {0, 0, 0}, kPlaneDolly), modelMatrix());
    double ndcX = (px + 0.5) / 256.0 - 1, ndcY = (py + 0.5) / 256.0 - 1;
    V3 ray{ndcX / p[0], ndcY / p[5], -1};
    V3 centre = apply(mv, {0, 0, 0}, 1);
    V3 normal = normalized(apply(mv, {0, 0, 1}, 0));  // rigid: the inverse transpose is mv itself
    double t = dot(centre, normal) / dot(ray, normal);
    if (t <= 0) return false;
    f->eyePos = ray * t;
    f->normal = normal;
    f->tangent = normalized(apply(mv, {1, 0, 0}, 0));
    // Back to object space: transpose of the rotation, after the translation.
    V3 d = f->eyePos - centre;
    V3 ax = apply(mv, {1, 0, 0}, 0), ay = apply(mv, {0, 1, 0}, 0), az = apply(mv, {0, 0, 1}, 0);
    f->objectPos = {dot(d, ax), dot(d, ay), dot(d, az)};
    V3 e = V3{0, 0, 0} - centre;
    f->eyeInObject = {dot(e, ax), dot(e, ay), dot(e, az)};
    f->u = (f->objectPos.x + kHalfSize) / (2 * kHalfSize);
    f->v = (f->objectPos.y + kHalfSize) / (2 * kHalfSize);
    return std::fabs(f->objectPos.x) < kHalfSize - 0.1 && std::fabs(f->objectPos.y) < kHalfSize - 0.1;
}

void drawPlane() {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glColor3f(1, 0, 0);  // the tangent
    const float c[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& k : c) {
        glTexCoord2f((k[0] + 1) * 0.5f, (k[1] + 1) * 0.5f);
        glVertex3f(k[0] * static_cast<float>(kHalfSize), k[1] * static_cast<float>(kHalfSize), 0);
    }
    glEnd();
}

// A 256 x 256 texture whose red and green rise by one step per texel in s
// and t, so that a lookup tells where it was made: red = 256 s - 0.5 (in
// 1/255 units) away from the edges.
std::vector<uint8_t> rampImage(uint8_t blue, uint8_t alpha) {
    std::vector<uint8_t> img(256 * 256 * 4);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            uint8_t* t = &img[(y * 256 + x) * 4];
            t[0] = static_cast<uint8_t>(x);
            t[1] = static_cast<uint8_t>(y);
            t[2] = blue;
            t[3] = alpha;
        }
    return img;
}
Rgba sampleRamp(double s, double t, double blue) {
    return {(256 * s - 0.5) / 255, (256 * t - 0.5) / 255, blue / 255, 1};
}
bool insideRamp(double s, double t) { return s > 0.01 && s < 0.99 && t > 0.01 && t < 0.99; }

std::vector<uint8_t> uniformImage(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::vector<uint8_t> img;
    for (int i = 0; i < 16; ++i) img.insert(img.end(), {r, g, b, a});
    return img;
}

class GpuProgramsTest : public test::GlContextTest {
protected:
    void SetUp() override {
        test::GlContextTest::SetUp();
        if (HasFatalFailure()) return;
        testing::internal::CaptureStderr();
        bool compiled = createGpuPrograms(gpu_);
        std::string reported = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(compiled) << reported;
        ASSERT_EQ(reported, "");
    }
    void TearDown() override {
        deleteTextures(gpu_);
        deleteGpuPrograms(gpu_);
        test::GlContextTest::TearDown();
    }

    // Camera, light and parameters of the lit plane; draws it with `vp`/`fp`.
    void renderPlane(GpuProgramId vp, GpuProgramId fp, int colour) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        resetRenderState();
        applyCamera(kPlaneEye, {0, 0, 0}, kPlaneDolly);
        glRotated(kTurnDegrees, 0, 1, 0);
        uploadLightPosition(light_);
        uploadSurfaceParameters(surface_);
        uploadMaterialColour(colour);
        enableGpuPrograms(gpu_, vp, fp);
        drawPlane();
        disableGpuPrograms();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }

    // Compares every covered pixel of the working area with `expected`
    // (false = pixel not checked). Returns the number of pixels checked.
    int compareWithFormula(const std::function<bool(const Fragment&, Rgba*)>& expected, int tolerance,
                           bool checkAlpha, const std::string& still) {
        std::vector<uint8_t> frame = test::readPixels(0, 0, 512, 512);
        if (!test::stillsDirectory().empty())
            test::writePng(test::stillsDirectory() + "/" + still + ".png", 512, 512, frame);
        int checked = 0, wrong = 0, worst = 0;
        std::string firstWrong;
        for (int py = 0; py < 512; ++py)
            for (int px = 0; px < 512; ++px) {
                Fragment f;
                Rgba want;
                if (!fragmentAt(px, py, &f) || !expected(f, &want)) continue;
                ++checked;
                const uint8_t* got = &frame[(py * 512 + px) * 4];
                double w[4] = {want.r, want.g, want.b, want.a};
                int err = 0;
                for (int c = 0; c < (checkAlpha ? 4 : 3); ++c)
                    err = std::max(err, std::abs(got[c] - static_cast<int>(std::lround(sat(w[c]) * 255))));
                worst = std::max(worst, err);
                if (err > tolerance && wrong++ == 0)
                    firstWrong = testing::PrintToString(std::vector<int>{px, py, got[0], got[1], got[2], got[3]}) +
                                 " want " + testing::PrintToString(std::vector<double>{w[0] * 255, w[1] * 255, w[2] * 255, w[3] * 255});
            }
        EXPECT_EQ(wrong, 0) << "of " << checked << " pixels; worst error " << worst << "; first " << firstWrong;
        return checked;
    }

    bool alphaChannel() {
        GLint bits = 0;
        glGetIntegerv(GL_ALPHA_BITS, &bits);
        return bits >= 8;
    }

    GpuResources gpu_;
    SurfaceSettings surface_;
    Vec4 light_{};
};

TEST_F(GpuProgramsTest, AllCompileIntoDistinctPrograms) {
    std::set<uint32_t> names;
    for (int i = 0; i < kGpuProgramCount; ++i) {
        const GpuProgramSource& source = gpuProgramSource(static_cast<GpuProgramId>(i));
        uint32_t name = gpu_.programs[static_cast<size_t>(i)];
        EXPECT_NE(name, 0u) << source.name;
        names.insert(name);
        EXPECT_TRUE(glIsProgramARB(name)) << source.name;
        glBindProgramARB(source.target, name);
        GLint native = 0;
        glGetProgramivARB(source.target, GL_PROGRAM_UNDER_NATIVE_LIMITS_ARB, &native);
        EXPECT_EQ(native, 1) << source.name;
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kGpuProgramCount));
    EXPECT_EQ(gpuProgramSource(GpuProgramId::LitTexturedFP).target, static_cast<uint32_t>(GL_FRAGMENT_PROGRAM_ARB));
    EXPECT_EQ(std::string(gpuProgramSource(GpuProgramId::ReliefVP).name), "ReliefVP");
}

TEST_F(GpuProgramsTest, AFailingProgramIsReportedOnOneLineAndDrawsNothing) {
    GpuProgramSource sources[3] = {
        gpuProgramSource(GpuProgramId::LitVP),
        {"BrokenFP", GL_FRAGMENT_PROGRAM_ARB, "!!ARBfp1.0\nTEMP a;\nMOV result.color, nonsense;\nEND\n"},
        gpuProgramSource(GpuProgramId::LitFP),
    };
    uint32_t names[3] = {};
    testing::internal::CaptureStderr();
    bool all = compileGpuPrograms(sources, 3, names);
    std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(all);
    ASSERT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1) << reported;
    EXPECT_NE(reported.find("BrokenFP"), std::string::npos) << reported;
    EXPECT_NE(reported.find("error at position 3"), std::string::npos) << reported;  // "nonsense" is at 37
    EXPECT_NE(reported.find("line 3"), std::string::npos) << reported;                // GL's own message
    EXPECT_EQ(reported.find("LitFP"), std::string::npos) << reported;   // the others compiled
    EXPECT_NE(names[2], 0u);

    // Bound, the broken program draws nothing, and the show goes on.
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    resetRenderState();
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_VERTEX_PROGRAM_ARB);
    glEnable(GL_FRAGMENT_PROGRAM_ARB);
    glBindProgramARB(GL_VERTEX_PROGRAM_ARB, names[0]);
    glBindProgramARB(GL_FRAGMENT_PROGRAM_ARB, names[1]);
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    disableGpuPrograms();
    while (glGetError() != GL_NO_ERROR) {
    }
    std::vector<uint8_t> frame = test::readPixels(256, 256, 1, 1);
    EXPECT_EQ(frame[0], 128);
    EXPECT_EQ(frame[1], 128);
}

TEST_F(GpuProgramsTest, LitProgramsLightThePlaneAsTheFormulasSay) {
    setShaderDefaults(surface_);
    const int colour = 8;
    const Vec4 material = materialColour(colour);
    struct Case {
        const char* name;
        Vec4 lightPos;  // eye space
    };
    // A light beside the eye gives a highlight on the plane; one far behind
    // the plane lights it from the back (negative diffuse, alpha below 1).
    for (Case c : {Case{"lit_front", {0.5f, 1.0f, 0.5f, 1}}, Case{"lit_back", {0.3f, -0.2f, -12.0f, 1}}}) {
        SCOPED_TRACE(c.name);
        light_ = c.lightPos;
        renderPlane(GpuProgramId::LitVP, GpuProgramId::LitFP, colour);
        double brightest = 0, darkest = 1, lowestAlpha = 1;
        V3 lightPos{c.lightPos.x, c.lightPos.y, c.lightPos.z};
        int checked = compareWithFormula(
            [&](const Fragment& f, Rgba* out) {
                Lighting lit = light(f.normal, f, lightPos, surface_.specularColour, surface_.specularParams);
                *out = {sat(lit.diff * material.x + lit.spec.r), sat(lit.diff * material.y + lit.spec.g),
                        sat(lit.diff * material.z + lit.spec.b), sat(lit.diff * material.w + 1.0)};
                brightest = std::max(brightest, out->b);
                darkest = std::min(darkest, out->b);
                lowestAlpha = std::min(lowestAlpha, out->a);
                return true;
            },
            2, alphaChannel(), c.name);
        EXPECT_GT(checked, 100000);
        if (c.lightPos.z > 0) {
            EXPECT_GT(brightest, 0.9);  // the highlight is in view...
            EXPECT_LT(darkest, 0.3);    // ...and so is plain diffuse light
        } else {
            EXPECT_LT(lowestAlpha, 0.99);
        }
    }
}

TEST_F(GpuProgramsTest, LitTexturedAddsHalfTheTexture) {
    setShaderDefaults(surface_);
    light_ = {-1.0f, 0.5f, 1.0f, 1};
    uint32_t ramp = test::makeTexture(256, 256, rampImage(60, 10));
    glBindTexture(GL_TEXTURE_2D, ramp);
    const int colour = 4;
    const Vec4 material = materialColour(colour);
    renderPlane(GpuProgramId::LitTexturedVP, GpuProgramId::LitTexturedFP, colour);
    V3 lightPos{-1.0, 0.5, 1.0};
    int checked = compareWithFormula(
        [&](const Fragment& f, Rgba* out) {
            if (!insideRamp(f.u, f.v)) return false;
            Lighting lit = light(f.normal, f, lightPos, surface_.specularColour, surface_.specularParams);
            Rgba c{sat(lit.diff * material.x + lit.spec.r), sat(lit.diff * material.y + lit.spec.g),
                   sat(lit.diff * material.z + lit.spec.b), sat(lit.diff * material.w + 1.0)};
            Rgba tex = sampleRamp(f.u, f.v, 60);  // alpha forced to 1
            *out = {tex.r * 0.5 + c.r, tex.g * 0.5 + c.g, tex.b * 0.5 + c.b, 0.5 + c.a};
            return true;
        },
        2, alphaChannel(), "lit_textured");
    EXPECT_GT(checked, 100000);
}

TEST_F(GpuProgramsTest, ReliefProgramsPerturbTheNormalAndShiftTheDetail) {
    setShaderDefaults(surface_);
    SurfaceSettings& s = surface_;
    light_ = {1.5f, 0.5f, 0.0f, 1};
    s.specularColour = {0.4f, 0.3f, 0.2f, 1.0f};
    s.surfaceParams = {-2.0f, 0.5f, 0.2f, -0.05f};  // strong parallax, so that the shift shows
    const uint8_t relief[4] = {200, 60, 180, 128};
    uint32_t reliefTex = test::makeTexture(4, 4, uniformImage(relief[0], relief[1], relief[2], relief[3]));
    uint32_t detailTex = test::makeTexture(256, 256, rampImage(90, 255));
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glBindTexture(GL_TEXTURE_2D, detailTex);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, reliefTex);
    const int colour = 5;
    const Vec4 material = materialColour(colour);
    const Vec4 F2 = s.specularParams, F3 = s.surfaceParams;

    for (float normalSign : {-1.0f, 1.0f}) {
        SCOPED_TRACE(normalSign);
        s.specularParams.w = normalSign;
        renderPlane(GpuProgramId::ReliefVP, GpuProgramId::ReliefFP, colour);
        double minShift = 1, maxShift = -1;
        int checked = compareWithFormula(
            [&](const Fragment& f, Rgba* out) {
                V3 N = f.normal, T = f.tangent;
                // View in tangent space: (tangent, normal x tangent, normal) = object x, y, z.
                V3 Vt = normalized(f.eyeInObject - f.objectPos);
                double h = relief[3] / 255.0;
                double shift = h * F3.z + F3.w;
                double u = f.u + shift * Vt.x, v = f.v + shift * Vt.y;
                if (!insideRamp(u, v)) return false;
                minShift = std::min(minShift, shift * Vt.x);
                maxShift = std::max(maxShift, shift * Vt.x);
                V3 d = V3{relief[0] / 255.0 - 0.5, relief[1] / 255.0 - 0.5, relief[2] / 255.0 - 0.5} * F3.x;
                V3 n = normalized(T * d.x + cross(N, T) * d.y + N * (normalSign * d.z));
                Lighting lit = light(n, f, {light_.x, light_.y, light_.z},
                                     s.specularColour, s.specularParams);
                Rgba litColour{sat(lit.diff * material.x + lit.spec.r), sat(lit.diff * material.y + lit.spec.g),
                               sat(lit.diff * material.z + lit.spec.b), 1};
                Rgba detail = sampleRamp(u, v, 90);
                double k = F3.y * (lit.diff + F2.z);
                *out = {detail.r * k + litColour.r, detail.g * k + litColour.g, detail.b * k + litColour.b, 1};
                return true;
            },
            2, alphaChannel(), normalSign < 0 ? "relief_inward" : "relief_outward");
        EXPECT_GT(checked, 50000);
        // The shift is large enough that a wrong view vector would show:
        // at least 8 texels of the ramp across the picture.
        EXPECT_GT((maxShift - minShift) * 256, 8.0);
    }
}

TEST_F(GpuProgramsTest, DepthNormalPacksDepthAndNormal) {
    const float pack[4] = {-0.390625f, 2.56f, 0, 0};
    glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, 4, pack);
    renderPlane(GpuProgramId::DepthNormalVP, GpuProgramId::DepthNormalFP, 0);
    Mat4 p = cameraProjectionMatrix();
    int checked = compareWithFormula(
        [&](const Fragment& f, Rgba* out) {
            double clipZ = p[10] * f.eyePos.z + p[14];
            double z = clipZ * 2.56;
            double whole = std::floor(z), frac = z - whole;
            if (frac < 0.02 || frac > 0.98) return false;  // the split flips there
            *out = {whole / 256, frac, f.normal.x * 0.5 + 0.5, f.normal.y * 0.5 + 0.5};
            // A reader gets -(clip z) back.
            EXPECT_NEAR((whole + frac) * -0.390625, -clipZ, 1e-9);
            return true;
        },
        2, alphaChannel(), "depth_normal");
    EXPECT_GT(checked, 100000);
}

// A sphere of radius r with normals, tangents (in the colour) and texture
// coordinates, for pictures.
void drawSphere(double r, int slices, int stacks) {
    for (int j = 0; j < stacks; ++j) {
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i <= slices; ++i)
            for (int k : {j + 1, j}) {
                double phi = 2 * M_PI * i / slices, theta = M_PI * k / stacks;
                V3 n{std::sin(theta) * std::cos(phi), std::cos(theta), -std::sin(theta) * std::sin(phi)};
                glNormal3d(n.x, n.y, n.z);
                glColor3d(-std::sin(phi), 0, -std::cos(phi));
                glTexCoord2d(4.0 * i / slices, 2.0 * k / stacks);
                glVertex3d(n.x * r, n.y * r, n.z * r);
            }
        glEnd();
    }
}

TEST_F(GpuProgramsTest, StillOfTheShowsTexturesOnASphere) {
    Generator rng;
    generateTextures(gpu_, 20240, rng);
    setShaderDefaults(surface_);
    light_ = {1.5f, 1.5f, 1.0f, 1};
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    resetRenderState();
    applyCamera({0, 0.5f, 3.0f}, {0, 0, 0}, 0);
    uploadLightPosition(light_);
    uploadSurfaceParameters(surface_);
    uploadMaterialColour(PaletteSequence[7]);
    glActiveTextureARB(GL_TEXTURE1_ARB);
    bindTextureSlot(gpu_, kSlotDetail, GL_REPEAT);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    bindTextureSlot(gpu_, kSlotRelief, GL_REPEAT);
    enableGpuPrograms(gpu_, GpuProgramId::ReliefVP, GpuProgramId::ReliefFP);
    drawSphere(1.5, 96, 48);
    disableGpuPrograms();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    std::vector<uint8_t> frame = test::readPixels(0, 0, 512, 512);
    if (!test::stillsDirectory().empty()) {
        test::writePng(test::stillsDirectory() + "/relief_sphere.png", 512, 512, frame);
        for (int motif = 0; motif < 8; ++motif) {
            for (int32_t seed = 1;; ++seed) {
                if (textureSummary(seed).motif != motif) continue;
                TextureImages images = makeTextureImages(seed, rng);
                std::string base = test::stillsDirectory() + "/motif" + std::to_string(motif);
                test::writePng(base + "_pattern.png", 512, 512, images.pattern);
                test::writePng(base + "_relief.png", 512, 512, images.relief);
                break;
            }
        }
    }
    // The sphere is lit more where it faces the light (upper right) than
    // opposite, and the background stays black.
    auto brightness = [&](int x0, int y0) {
        long sum = 0;
        for (int y = y0; y < y0 + 40; ++y)
            for (int x = x0; x < x0 + 40; ++x)
                for (int c = 0; c < 3; ++c) sum += frame[(y * 512 + x) * 4 + c];
        return sum / (40.0 * 40.0);
    };
    EXPECT_EQ(brightness(0, 0), 0.0);
    EXPECT_EQ(brightness(470, 470), 0.0);
    EXPECT_GT(brightness(300, 300), brightness(170, 170) + 40);
    EXPECT_GT(brightness(170, 170), 100);  // the detail texture shows on the shaded side
}

}  // namespace
}  // namespace vortel
