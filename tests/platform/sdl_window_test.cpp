#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <cstring>

#include "platform/sdl_window.h"

namespace vortel {
namespace {

std::unique_ptr<SdlWindow> openHidden() {
    WindowOptions o;
    o.title = "KELMA: VORTEL 1234";
    o.visible = false;
    std::string err;
    auto w = SdlWindow::open(o, &err);
    EXPECT_TRUE(w) << err;
    return w;
}

TEST(SdlWindow, GivesACompatibilityContextWithTheArbProgramExtensions) {
    auto w = openHidden();
    ASSERT_TRUE(w);
    EXPECT_GE(w->depthBits(), 24);
    EXPECT_FALSE(w->renderer().empty());
    EXPECT_STREQ(SDL_GetWindowTitle(w->handle()), "KELMA: VORTEL 1234");
    int width = 0, height = 0;
    SDL_GetWindowSize(w->handle(), &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    for (const char* ext : {"GL_ARB_vertex_program", "GL_ARB_fragment_program", "GL_ARB_multitexture"})
        EXPECT_TRUE(SDL_GL_ExtensionSupported(ext)) << ext;
    // Fixed-function calls work: a cleared colour reads back.
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char px[4] = {};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(SdlWindow, QuitIsSeenThroughAFloodOfEvents) {
    auto w = openHidden();
    ASSERT_TRUE(w);
    w->pollInput();  // drain what the window produced at creation
    SDL_Event user{};
    user.type = SDL_USEREVENT;
    for (int i = 0; i < 5000; ++i) SDL_PushEvent(&user);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    FrameInput in = w->pollInput();
    EXPECT_TRUE(in.quit);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

TEST(SdlWindow, EscapePressIsLatchedUntilThePoll) {
    auto w = openHidden();
    ASSERT_TRUE(w);
    w->pollInput();
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_ESCAPE;
    key.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    SDL_PushEvent(&key);
    EXPECT_TRUE(w->pollInput().escape);
    EXPECT_FALSE(w->pollInput().escape);
    SDL_Event other = key;
    other.key.keysym.sym = SDLK_a;
    other.key.keysym.scancode = SDL_SCANCODE_A;
    SDL_PushEvent(&other);
    EXPECT_FALSE(w->pollInput().escape);
}

TEST(SdlWindow, CloseRequestEndsTheShow) {
    auto w = openHidden();
    ASSERT_TRUE(w);
    w->pollInput();
    SDL_Event ev{};
    ev.type = SDL_WINDOWEVENT;
    ev.window.event = SDL_WINDOWEVENT_CLOSE;
    ev.window.windowID = SDL_GetWindowID(w->handle());
    SDL_PushEvent(&ev);
    EXPECT_TRUE(w->pollInput().quit);
}

}  // namespace
}  // namespace vortel
