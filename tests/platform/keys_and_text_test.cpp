#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <algorithm>

#include "platform/sdl_window.h"
#include "platform/text_image.h"

namespace vortel {
namespace {

void pushKey(SDL_Keycode sym, bool repeat = false, Uint16 mod = KMOD_NONE) {
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = sym;
    key.key.keysym.mod = mod;
    key.key.repeat = repeat ? 1 : 0;
    SDL_PushEvent(&key);
}

// Key events reach the frame in order, auto-repeat marked; a key held with
// Ctrl or Alt belongs to the desktop; keys the show does not use are dropped.
TEST(SdlWindowKeys, TheShowsKeysArriveInOrderWithTheirRepeats) {
    WindowOptions o;
    o.visible = false;
    std::string why;
    auto w = SdlWindow::open(o, &why);
    ASSERT_TRUE(w) << why;
    w->pollInput();
    const SDL_Keycode syms[] = {SDLK_SPACE, SDLK_LEFT, SDLK_RIGHT, SDLK_HOME, SDLK_n, SDLK_p,
                                SDLK_r,     SDLK_s,    SDLK_i,     SDLK_h,    SDLK_F1};
    for (SDL_Keycode s : syms) pushKey(s);
    pushKey(SDLK_RIGHT, true);
    pushKey(SDLK_a);
    pushKey(SDLK_n, false, KMOD_LCTRL);
    FrameInput in = w->pollInput();
    ASSERT_EQ(in.keys.size(), 12u);
    const Key keys[] = {Key::Space, Key::Left, Key::Right, Key::Home, Key::N, Key::P,
                        Key::R,     Key::S,    Key::I,     Key::H,    Key::F1};
    for (size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(in.keys[i].key, keys[i]) << i;
        EXPECT_FALSE(in.keys[i].repeat);
    }
    EXPECT_EQ(in.keys[11].key, Key::Right);
    EXPECT_TRUE(in.keys[11].repeat);
    EXPECT_FALSE(in.escape);
    EXPECT_TRUE(w->pollInput().keys.empty());
}

// Text set in DejaVu Sans Mono: a panel that grows with the size, light
// glyphs on the translucent backing; a missing font is a reason, not a crash.
TEST(TextRenderer, SetsLinesOnATranslucentPanel) {
    std::string why;
    auto text = TextRenderer::open(kDefaultFontPath, &why);
    ASSERT_TRUE(text) << why;
    RgbaImage small = text->renderPanel({"KELMA: VORTEL 5", "", "time 1.000 s"}, 15);
    RgbaImage big = text->renderPanel({"KELMA: VORTEL 5", "", "time 1.000 s"}, 30);
    ASSERT_GT(small.width, 0);
    EXPECT_EQ(small.pixels.size(), static_cast<size_t>(small.width) * small.height * 4);
    EXPECT_GT(big.width, small.width * 3 / 2);
    EXPECT_GT(big.height, small.height * 3 / 2);
    // Monospaced: 15 characters are 15 advances wide, plus the margins.
    EXPECT_GT(small.width, 15 * 7);
    int backing = 0, glyph = 0;
    for (size_t i = 0; i < small.pixels.size(); i += 4) {
        if (small.pixels[i + 3] == 176 && small.pixels[i] == 0) ++backing;
        if (small.pixels[i + 3] > 240 && std::min({small.pixels[i], small.pixels[i + 1]}) > 200) ++glyph;
    }
    EXPECT_GT(backing, small.width * small.height / 2);  // mostly backing
    EXPECT_GT(glyph, 40);                                // and some solid glyph pixels
    EXPECT_FALSE(TextRenderer::open("/nonexistent/font.ttf", &why));
    EXPECT_NE(why.find("/nonexistent/font.ttf"), std::string::npos);
}

}  // namespace
}  // namespace vortel
