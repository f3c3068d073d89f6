// The glow computed on the processor against the GL draws it replaces, on
// the headless context: the shrink as a linearly filtered quad into a
// 128 x 128 target, a blur iteration as the blur programs reading with
// GL_CLAMP. Random pictures and a hard-edged one, several gains.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/gpu_programs.h"
#include "support/gl_test_support.h"
#include "visuals/frame/show.h"
#include "visuals/plan/glow_image.h"

namespace vortel {
namespace {

constexpr int kN = kGlowImageSize;

std::vector<uint8_t> randomImage(int size, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> img(static_cast<size_t>(size) * size * 4);
    for (auto& c : img) c = static_cast<uint8_t>(rng() & 255);
    return img;
}

// A dark picture with a bright block and a few thin lines: the kind of
// edges the show's frames have, where rounding differences would show.
std::vector<uint8_t> edgeImage(int size) {
    std::vector<uint8_t> img(static_cast<size_t>(size) * size * 4, 10);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* p = &img[(static_cast<size_t>(y) * size + x) * 4];
            if (x > size / 4 && x < size / 2 && y > size / 3 && y < size * 2 / 3) p[0] = 250, p[1] = 200, p[2] = 90;
            if (x % 17 == 0) p[1] = 255;
            p[3] = static_cast<uint8_t>(255 - (y & 7));
        }
    return img;
}

class GlowImageTest : public test::ShowContextTest {
protected:
    void SetUp() override {
        ShowContextTest::SetUp();
        if (HasFatalFailure()) return;
        setUpShow(3);
        glGenTextures(2, textures_);
        glGenFramebuffers(1, &fbo_);
    }
    void TearDown() override {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo_);
        glDeleteTextures(2, textures_);
        ShowContextTest::TearDown();
    }
    // `source` (size x size) in texture 0 with `wrap`, a 128 x 128 target in
    // texture 1; a quad over the target drawn by `draw`, read back.
    std::vector<uint8_t> render(const std::vector<uint8_t>& source, int size, GLenum wrap,
                                void (*draw)(const GpuResources&, float),
                                float gain) {
        glBindTexture(GL_TEXTURE_2D, textures_[1]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kN, kN, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, textures_[1], 0);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glBindTexture(GL_TEXTURE_2D, textures_[0]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, source.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        resetRenderState();
        glDisable(GL_DEPTH_TEST);
        glViewport(0, 0, kN, kN);
        draw(show_->gpu, gain);
        std::vector<uint8_t> out(static_cast<size_t>(kN) * kN * 4);
        glReadPixels(0, 0, kN, kN, GL_BGRA, GL_UNSIGNED_BYTE, out.data());
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return out;
    }
    static void shrinkQuad(const GpuResources&, float) { drawViewportQuad(); }
    static void blurQuad(const GpuResources& gpu, float gain) {
        const float params[4] = {kBlurTapShift, kBlurTapShift, static_cast<float>(gain * 255.0), 255.0f};
        glProgramEnvParameter4fvARB(GL_VERTEX_PROGRAM_ARB, 5, params);
        glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, 5, params);
        enableGpuPrograms(gpu, GpuProgramId::BlurVP, GpuProgramId::BlurFP);
        drawViewportQuad();
        disableGpuPrograms();
    }

    GLuint textures_[2] = {0, 0};
    GLuint fbo_ = 0;
};

struct Difference {
    int differing = 0;
    int largest = 0;
};
Difference compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    Difference d;
    for (size_t i = 0; i < a.size(); ++i) {
        const int delta = std::abs(a[i] - b[i]);
        if (delta) ++d.differing;
        d.largest = std::max(d.largest, delta);
    }
    return d;
}

TEST_F(GlowImageTest, ShrinkRoundsAsTheFilteredQuad) {
    for (const auto& area : {randomImage(4 * kN, 1), edgeImage(4 * kN)}) {
        const auto gpu = render(area, 4 * kN, GL_REPEAT, shrinkQuad, 1);
        std::vector<uint8_t> cpu(gpu.size());
        shrinkForGlow(area.data(), cpu.data());
        const Difference d = compare(gpu, cpu);
        EXPECT_EQ(d.differing, 0) << "largest " << d.largest;
    }
}

TEST_F(GlowImageTest, BlurIterationRoundsAsTheBlurPrograms) {
    // Gains of the frame's glow, a glow pass at full and part weight, none.
    for (float gain : {0.24f, 0.25f, 0.25f * 0.37f, 0.0f}) {
        for (const auto& glow : {randomImage(kN, 2), edgeImage(kN)}) {
            const auto gpu = render(glow, kN, GL_CLAMP, blurQuad, gain);
            std::vector<uint8_t> cpu(gpu.size());
            blurGlowOnce(glow.data(), cpu.data(), gain);
            const Difference d = compare(gpu, cpu);
            // Float rounding at the border may move a tap by a step.
            EXPECT_LE(d.largest, 1) << "gain " << gain;
            EXPECT_LE(d.differing, 2) << "gain " << gain;
        }
    }
}

}  // namespace
}  // namespace vortel
