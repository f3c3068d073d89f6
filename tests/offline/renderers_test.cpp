// The two renderers draw the same show: stills of several seeds and song
// times, each rendered offscreen with the ARB programs on a compatibility
// context and with the GLSL programs on a core context, compared by PSNR.
// The times are chosen so that between them every scene, every post pass,
// both box passes, the smooth lines (over a picture a tint left bound with
// a clamped edge) and the odd seeds' textured room walls are drawn.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gfx/glsl_resources.h"
#include "offline/offline_show.h"
#include "offline/show_layout.h"

namespace vortel {
namespace {

// The PSNR of two RGB pictures in dB (infinite when they are the same).
double psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const double d = static_cast<double>(a[i]) - b[i];
        sum += d * d;
    }
    const double mse = sum / static_cast<double>(a.size());
    return mse == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mse);
}

// The spread of a picture's bytes: a blank picture would match anything.
double spread(const std::vector<uint8_t>& rgb) {
    double sum = 0, squares = 0;
    for (uint8_t v : rgb) {
        sum += v;
        squares += static_cast<double>(v) * v;
    }
    const double n = static_cast<double>(rgb.size()), mean = sum / n;
    return std::sqrt(squares / n - mean * mean);
}

std::vector<uint8_t> still(int32_t seed, float time, Renderer renderer) {
    std::string why;
    auto show = OfflineShow::open(showLayout(seed), &why, renderer);
    if (!show) {
        ADD_FAILURE() << rendererName(renderer) << ": " << why;
        return {};
    }
    // The objects of the renderer asked for are the ones made.
    const GpuResources& gpu = show->show().gpu;
    EXPECT_EQ(gpu.renderer, renderer);
    EXPECT_EQ(gpu.glsl.programs[static_cast<size_t>(GlslProgramId::Relief)].name != 0, renderer == Renderer::Glsl);
    EXPECT_EQ(gpu.programs[0] != 0, renderer == Renderer::Arb);
    EXPECT_TRUE(show->renderStill(time));
    return show->readRgb();
}

TEST(Renderers, GlslStillsMatchTheArbOnes) {
    struct Case {
        int32_t seed;
        float time;
        const char* draws;
    };
    const Case cases[] = {
        {1, 18.184f, "room, tint, lines, glow"},
        {2026, 24.804f, "room, tint, vortex, glow"},
        {-5, 30.599f, "tunnel, blur fade, cube field, tint"},
        {77, 17.977f, "tunnel, tint, fountain, glow"},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> arb = still(c.seed, c.time, Renderer::Arb);
        const std::vector<uint8_t> glsl = still(c.seed, c.time, Renderer::Glsl);
        ASSERT_EQ(arb.size(), static_cast<size_t>(800 * 600 * 3));
        ASSERT_EQ(glsl.size(), arb.size());
        EXPECT_GT(spread(arb), 10.0) << "seed " << c.seed << " at " << c.time << " s is nearly blank";
        EXPECT_GE(psnr(arb, glsl), 55.0) << "seed " << c.seed << " at " << c.time << " s (" << c.draws << ")";
    }
}

}  // namespace
}  // namespace vortel
