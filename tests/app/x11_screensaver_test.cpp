// The show drawn into an X11 window another program owns, as a screensaver
// hack does: the test makes the window on an Xvfb server of its own, then
// reads its pixels, signals the show and destroys the window under it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/cli_run.h"
#include "support/cli_spawn.h"
#include "support/xvfb.h"

// Last: Xlib's macros (None, Status, Bool) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vortel {
namespace {

// A plain black window of the test's own on `display`.
class TestWindow {
public:
    explicit TestWindow(const std::string& display) {
        display_ = XOpenDisplay(display.c_str());
        if (!display_) return;
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 20, 20, kWidth, kHeight, 0, 0, 0);
        XMapWindow(display_, window_);
        XSync(display_, False);
    }
    ~TestWindow() {
        if (display_) XCloseDisplay(display_);
    }
    bool made() const { return display_ && window_; }
    std::string id() const {
        char text[32];
        std::snprintf(text, sizeof text, "0x%lx", window_);
        return text;
    }
    // How many of the window's pixels are not black.
    int litPixels() {
        XImage* image = XGetImage(display_, window_, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (!image) return 0;
        int lit = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if ((XGetPixel(image, x, y) & 0xffffff) != 0) ++lit;
        XDestroyImage(image);
        return lit;
    }
    // The windows on the screen beside this one (a show that opened one of
    // its own would add to them).
    int topLevelWindows() {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) return -1;
        if (children) XFree(children);
        return static_cast<int>(count);
    }
    void clear() {
        XClearWindow(display_, window_);
        XSync(display_, False);
    }
    void destroy() {
        XDestroyWindow(display_, window_);
        XSync(display_, False);
    }

    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

private:
    Display* display_ = nullptr;
    Window window_ = 0;
};

SpawnOptions onDisplay(const std::string& display, const WithoutPreload& preload) {
    SpawnOptions o;
    o.env["DISPLAY"] = display;
    o.env["SDL_VIDEODRIVER"] = std::nullopt;
    o.env["SDL_AUDIODRIVER"] = "dummy";
    o.env["XSCREENSAVER_WINDOW"] = std::nullopt;
    o.cwd = fs::temp_directory_path();
    preload.keepFor(o);
    return o;
}

TEST(X11Screensaver, DrawsIntoAWindowItDoesNotOwnAndEndsOnSigtermOrWhenTheWindowGoes) {
    if (!have("Xvfb")) GTEST_SKIP() << "needs Xvfb";
    const WithoutPreload preload;
    Xvfb x;
    ASSERT_FALSE(x.display().empty());
    TestWindow window(x.display());
    ASSERT_TRUE(window.made());
    ASSERT_EQ(window.litPixels(), 0);
    const int windowsBefore = window.topLevelWindows();

    // SIGTERM, as XScreenSaver ends its hacks: a clean exit 0. The show
    // draws into the test's window (it lights up) and opens none of its own.
    {
        Spawned show({"--window-id", window.id(), "--verbose"}, onDisplay(x.display(), preload));
        ASSERT_TRUE(show.started());
        ASSERT_TRUE(show.waitForStderr("first frame shown")) << show.err();
        ASSERT_TRUE(show.waitUntil([&] { return window.litPixels() > TestWindow::kWidth * TestWindow::kHeight / 10; }))
            << show.err();
        EXPECT_EQ(window.topLevelWindows(), windowsBefore);
        EXPECT_NE(show.err().find("no --sound: the show runs silently"), std::string::npos) << show.err();
        show.signal(SIGTERM);
        EXPECT_EQ(show.finish(), 0) << show.err();
    }

    // The owner destroys the window under a running show (how a screensaver
    // ends): exit 0 and not a word on stderr. The window is taken through
    // the variable XScreenSaver sets, with --root.
    {
        SpawnOptions o = onDisplay(x.display(), preload);
        o.env["XSCREENSAVER_WINDOW"] = window.id();
        window.clear();
        ASSERT_EQ(window.litPixels(), 0);
        Spawned show({"--root", "5"}, o);
        ASSERT_TRUE(show.started());
        ASSERT_TRUE(show.waitUntil([&] { return window.litPixels() > 0; })) << show.err();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        window.destroy();
        EXPECT_EQ(show.finish(), 0) << show.err();
        EXPECT_EQ(show.err(), "");
    }

    // The window is gone now: its id is refused in one line, exit 2.
    Spawned stale({"--window-id", window.id()}, onDisplay(x.display(), preload));
    EXPECT_EQ(stale.finish(), 2);
    EXPECT_EQ(stale.err(), "vortel: window " + window.id() + " does not exist\n");
}

}  // namespace
}  // namespace vortel
