#pragma once
// Test support for the graphics tests: a hidden SDL window with a
// compatibility-profile GL context (offscreen video driver when none is
// set), framebuffer read-back and a small PNG writer for looking at stills.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include <memory>

#include "gfx/gl_api.h"

namespace vortel {
struct Show;  // visuals/frame/show.h
}

namespace vortel::test {

constexpr int kTestWindowWidth = 800;
constexpr int kTestWindowHeight = 600;

// Each test gets a fresh 800 x 600 window (like the show's), a current
// context and the loaded GL API.
class GlContextTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
};

// A GL context with a show in place for `seed` (show_): the seeded
// textures, the render targets, the GPU programs, a tempo of `bpm` with the
// 4 x 4 section layout, and the Timeline of that seed. Call setUpShow from
// the test body (or a derived SetUp) after GlContextTest::SetUp.
class ShowContextTest : public GlContextTest {
protected:
    ShowContextTest();
    ~ShowContextTest() override;
    void setUpShow(int32_t seed, float bpm = 128.0f);
    void TearDown() override;

    std::unique_ptr<Show> show_;
};

// A show for `seed` at `bpm` (4 sections of 4 spans) with its graphics
// built in the current context: textures, render targets, Timeline, GPU
// programs. Null (with a test failure) when the render targets fail.
std::unique_ptr<Show> makeShow(int32_t seed, float bpm = 128.0f);

// RGBA bytes of the rectangle (x, y, w, h) of the back buffer, rows bottom-up.
std::vector<uint8_t> readPixels(int x, int y, int w, int h);

// Writes RGBA rows (bottom-up, as GL returns them) as a PNG, top row first;
// `opaque` replaces alpha by 255 so that the colours can be looked at.
bool writePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgbaBottomUp, bool opaque = true);

// Directory for stills, from VORTEL_STILLS_DIR; empty when stills are off.
std::string stillsDirectory();

// A 2D RGBA texture of w x h texels from `rgba`, repeat wrap, linear filter.
uint32_t makeTexture(int w, int h, const std::vector<uint8_t>& rgba);

}  // namespace vortel::test
