// The GL routines in a headless context: the working state, the texture
// quad over the working area, the uploaded texture slots, and the camera
// matrices against the system's GLU.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <cstring>
#include <set>

#include "core/rng.h"
#include "gfx/gl_helpers.h"
#include "gfx/textures.h"
#include "support/gl_test_support.h"

namespace vortel {
namespace {

class GlHelpersTest : public test::GlContextTest {
protected:
    void TearDown() override {
        deleteTextures(gpu_);
        test::GlContextTest::TearDown();
    }

    GpuResources gpu_;
};

std::array<float, 16> matrix(GLenum which) {
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

bool isIdentity(const std::array<float, 16>& m) {
    for (int i = 0; i < 16; ++i)
        if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
    return true;
}

TEST_F(GlHelpersTest, ResetRenderStateRestoresTheWorkingState) {
    // Disturb everything the reset covers.
    glViewport(3, 4, 50, 60);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_GREATER);
    glEnable(GL_CULL_FACE);
    for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(mode);
        glTranslatef(1, 2, 3);
    }
    glMatrixMode(GL_TEXTURE);
    glEnable(GL_BLEND);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
    glEnable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

    resetRenderState();

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 512);
    EXPECT_EQ(viewport[3], 512);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (float c : colour) EXPECT_EQ(c, 1.0f);
    EXPECT_TRUE(isIdentity(matrix(GL_TEXTURE_MATRIX)));
    EXPECT_TRUE(isIdentity(matrix(GL_PROJECTION_MATRIX)));
    EXPECT_TRUE(isIdentity(matrix(GL_MODELVIEW_MATRIX)));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlHelpersTest, GenerateTexturesFillsTheSlots) {
    Generator rng, expectedRng;
    TextureImages images = generateTextures(gpu_, 77, rng);
    TextureImages expected = makeTextureImages(77, expectedRng);
    EXPECT_EQ(rng.state, expectedRng.state);
    ASSERT_EQ(images.pattern, expected.pattern);

    std::set<uint32_t> names(gpu_.textureSlots.begin(), gpu_.textureSlots.end());
    EXPECT_EQ(names.size(), 11u);
    EXPECT_EQ(names.count(0u), 0u);

    auto sizeOf = [this](int slot) {
        glBindTexture(GL_TEXTURE_2D, gpu_.textureSlots[static_cast<size_t>(slot)]);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, h) << "slot " << slot;
        return w;
    };
    auto contents = [&](int slot) {
        int size = sizeOf(slot);
        std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    };
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (int slot : {0, 1, 2, 3}) EXPECT_EQ(contents(slot), expected.pattern) << "slot " << slot;
    EXPECT_EQ(contents(kSlotRelief), expected.relief);
    std::vector<uint8_t> glow = contents(kSlotGlow);
    ASSERT_EQ(glow.size(), 128u * 128u * 4u);
    EXPECT_TRUE(std::equal(glow.begin(), glow.end(), expected.pattern.begin()));
    EXPECT_EQ(sizeOf(kSlotUnused), 0);
    for (int slot = 7; slot <= 10; ++slot) EXPECT_EQ(sizeOf(slot), 512);

    // Repeat wrap and linear filtering on every uploaded slot.
    glBindTexture(GL_TEXTURE_2D, gpu_.textureSlots[kSlotRelief]);
    GLint param = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &param);
    EXPECT_EQ(param, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &param);
    EXPECT_EQ(param, GL_LINEAR);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlHelpersTest, BindTextureSlotSetsWrapAndFilter) {
    glGenTextures(kTextureSlotCount, gpu_.textureSlots.data());
    bindTextureSlot(gpu_, 9, GL_CLAMP);
    GLint bound = 0, param = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), gpu_.textureSlots[9]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &param);
    EXPECT_EQ(param, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &param);
    EXPECT_EQ(param, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &param);
    EXPECT_EQ(param, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &param);
    EXPECT_EQ(param, GL_LINEAR);
    bindTextureSlot(gpu_, 11, GL_REPEAT);  // no such slot: the default texture
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(GlHelpersTest, DrawTextureQuadFillsExactlyTheWorkingArea) {
    Generator rng;
    TextureImages images = generateTextures(gpu_, 1234, rng);
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    const int channels = alphaBits >= 8 ? 4 : 3;

    for (int slot : {0, kSlotRelief}) {
        const std::vector<uint8_t>& image = slot == 0 ? images.pattern : images.relief;
        for (GLenum wrap : {GL_REPEAT, GL_CLAMP}) {
            SCOPED_TRACE(testing::Message() << "slot " << slot << " wrap " << wrap);
            glViewport(0, 0, test::kTestWindowWidth, test::kTestWindowHeight);
            glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            resetRenderState();
            drawTextureQuad(gpu_, slot, wrap);
            std::vector<uint8_t> frame = test::readPixels(0, 0, test::kTestWindowWidth, test::kTestWindowHeight);
            int wrongInside = 0, wrongOutside = 0;
            for (int y = 0; y < test::kTestWindowHeight; ++y)
                for (int x = 0; x < test::kTestWindowWidth; ++x) {
                    const uint8_t* p = &frame[(y * test::kTestWindowWidth + x) * 4];
                    if (x < 512 && y < 512) {
                        // Pixel (x, y) shows texel (x, y): row 0 at the bottom.
                        const uint8_t* t = &image[(y * 512 + x) * 4];
                        if (std::memcmp(p, t, channels) != 0) ++wrongInside;
                    } else if (p[0] != 51 || p[1] != 102 || p[2] != 153) {
                        ++wrongOutside;
                    }
                }
            EXPECT_EQ(wrongInside, 0);
            EXPECT_EQ(wrongOutside, 0);
        }
    }
    if (!test::stillsDirectory().empty()) {
        glClear(GL_COLOR_BUFFER_BIT);
        resetRenderState();
        drawTextureQuad(gpu_, kSlotRelief, GL_REPEAT);
        test::writePng(test::stillsDirectory() + "/quad_relief.png", 800, 600, test::readPixels(0, 0, 800, 600));
    }
}

using PerspectiveFn = void (*)(double, double, double, double);
using LookAtFn = void (*)(double, double, double, double, double, double, double, double, double);

TEST_F(GlHelpersTest, ApplyCameraLoadsWhatGluWould) {
    void* glu = dlopen("libGLU.so.1", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(glu, nullptr) << "the system GLU (libglu1-mesa) is needed as the reference: " << dlerror();
    auto gluPerspective = reinterpret_cast<PerspectiveFn>(dlsym(glu, "gluPerspective"));
    auto gluLookAt = reinterpret_cast<LookAtFn>(dlsym(glu, "gluLookAt"));
    ASSERT_NE(gluPerspective, nullptr);
    ASSERT_NE(gluLookAt, nullptr);

    struct Pose {
        Vec3 from, target;
        float dolly;
    };
    for (const Pose& pose : {Pose{{0, 0, -1}, {0, 0, 0}, 0.0f}, Pose{{1, 0.5f, 3}, {0, 0, 0}, 0.0f},
                             Pose{{2, 4, 6}, {-2, 0, 2}, 0.25f}, Pose{{-30, 12, 7}, {1, -2, 3}, 0.6f},
                             Pose{{0, 10, 0.01f}, {0, 0, 0}, 0.5f}}) {
        SCOPED_TRACE(testing::Message() << "from " << pose.from.x << "," << pose.from.y << "," << pose.from.z);
        resetRenderState();
        applyCamera(pose.from, pose.target, pose.dolly);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        std::array<float, 16> projection = matrix(GL_PROJECTION_MATRIX);
        std::array<float, 16> view = matrix(GL_MODELVIEW_MATRIX);

        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90, 1, 0.01, 1000);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        double eye[3] = {pose.from.x + pose.dolly * (pose.target.x - pose.from.x),
                         pose.from.y + pose.dolly * (pose.target.y - pose.from.y),
                         pose.from.z + pose.dolly * (pose.target.z - pose.from.z)};
        gluLookAt(eye[0], eye[1], eye[2], pose.target.x, pose.target.y, pose.target.z, 0, 1, 0);
        std::array<float, 16> gluProjection = matrix(GL_PROJECTION_MATRIX);
        std::array<float, 16> gluView = matrix(GL_MODELVIEW_MATRIX);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(projection[i], gluProjection[i], 1e-6 * std::max(1.0f, std::fabs(gluProjection[i]))) << i;
            EXPECT_NEAR(view[i], gluView[i], 2e-6 * std::max(1.0f, std::fabs(gluView[i]))) << i;
        }
    }
    dlclose(glu);
}

}  // namespace
}  // namespace vortel
