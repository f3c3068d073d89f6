#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "app/screenshot.h"
#include "app/startup.h"
#include "app/web_show.h"
#include "offline/show_layout.h"
#include "offline/song_render.h"

namespace vortel {
namespace {

constexpr uint32_t kFrameMs = 16;
constexpr int kPull = 22050 * kFrameMs / 1000;  // what the page's output takes per frame

// The sound's writer is timed by this clock; standing still, it never runs
// out of time, so what is written does not depend on the machine's speed.
uint32_t stillClock() { return 0; }

struct PageHost : Host {
    uint32_t now = 5000;
    int frame = 0;
    std::map<int, std::vector<KeyPress>> keys;  // by frame
    std::string title;
    uint32_t ticks() override { return now; }
    FrameInput pollInput() override { return FrameInput{false, false, keys[frame++]}; }
    void swapBuffers() override { now += kFrameMs; }
    void setTitle(const std::string& t) override { title = t; }
};

struct CountingPictures : ShowPictures {
    int made = 0, released = 0, redrawn = 0;
    std::vector<float> times;
    bool make(Show&, const TextureImages& images, std::string*) override { return ++made, !images.pattern.empty(); }
    void draw(Show&, float t, float, FrameLog*) override { times.push_back(t); }
    void redraw(Show&) override { ++redrawn; }
    void release(Show&) override { ++released; }
};

// The page's output: takes kPull samples from the image after each frame.
struct PullingPlayer : LivePlayer {
    PlaybackCursor* cursor = nullptr;
    bool paused = false;
    std::vector<int16_t> heard;
    bool start(PlaybackCursor& c) override { return cursor = &c, true; }
    void setPaused(bool p) override { paused = p; }
    void whileStopped(const std::function<void()>& fn) override { fn(); }
    int64_t pull() {
        const int64_t from = cursor->position;
        if (paused) return from;
        heard.resize(heard.size() + kPull);
        fillFromImage(*cursor, heard.data() + heard.size() - kPull, kPull);
        return from;
    }
};

struct Page {
    PageHost host;
    CountingPictures pictures;
    std::vector<int32_t> addresses;
    std::vector<std::vector<std::string>> panels;
    std::vector<std::string> saved;
    WebShow show{host, pictures,
                 WebShowHooks{[this](int32_t s) { addresses.push_back(s); },
                              [this](const std::vector<std::string>& l) { panels.push_back(l); },
                              [this](const std::string& stem) { saved.push_back(stem); }},
                 &stillClock, 1234};
};

TEST(WebShow, TheSoundJoinsInStepAndIsTheDesktopSongAcrossASeekAndAPause) {
    Page page;
    std::string why;
    ASSERT_TRUE(page.show.start(7, 0, &why)) << why;
    for (int i = 0; i < 30; ++i) page.show.frame();  // pictures only
    const std::vector<int16_t> song = renderSongOffline(showLayout(7), "", {});

    PullingPlayer player;
    // The sound a picture at `t` goes with, 0.1 s of output latency ahead.
    auto soundOf = [](float t) { return std::llround((static_cast<double>(t) + 0.1f) * 22050); };
    page.show.startSound(&player, 0.1f);
    EXPECT_EQ(player.cursor->position, soundOf(page.show.songTime()));
    // Frames with the player taking its samples after each; returns where
    // it began and the song time of the first frame.
    auto listen = [&](int frames) {
        player.heard.clear();
        page.show.frame();
        const float first = page.show.songTime();
        const int64_t from = player.pull();
        for (int i = 1; i < frames; ++i, player.pull()) page.show.frame();
        const std::vector<int16_t> expected(song.begin() + from, song.begin() + from + player.heard.size());
        EXPECT_EQ(player.heard, expected) << "from sample " << from;
        EXPECT_EQ(player.cursor->underruns.load(), 0);
        return std::make_pair(from, first);
    };
    listen(20);
    const float before = page.show.songTime();
    // 10 s on, past what was written ahead: written in the same frame, as
    // the writer's clock stands still.
    page.host.keys[page.host.frame] = {{Key::Right, false}, {Key::Right, true}};
    auto [from, t] = listen(20);
    EXPECT_NEAR(t, before + 10.016f, 1e-4f);
    EXPECT_EQ(from, soundOf(t));
    page.host.keys[page.host.frame] = {{Key::Space, false}};
    page.show.frame();
    EXPECT_TRUE(page.show.paused() && player.paused);
    const float held = page.show.songTime();
    page.host.keys[page.host.frame + 5] = {{Key::Space, false}};
    for (int i = 0; i < 5; ++i) page.show.frame();
    EXPECT_EQ(page.show.songTime(), held);
    EXPECT_EQ(listen(10).first, soundOf(held));  // on from the held picture
}

TEST(WebShow, KeysChangeTheSeedTitleAndAddressAndPanels) {
    Page page;
    std::string why;
    ASSERT_TRUE(page.show.start(-2147483647, 3, &why)) << why;
    EXPECT_EQ(page.host.title, windowTitle(-2147483647));
    page.host.keys[2] = {{Key::P, false}, {Key::P, false}, {Key::P, true}};  // two seeds back, made ready ...
    page.host.keys[4] = {{Key::N, false}};  // ... and overtaken: one on from the seed asked for
    page.host.keys[8] = {{Key::I, false}, {Key::H, false}};
    page.host.keys[9] = {{Key::S, false}};
    page.host.keys[10] = {{Key::R, false}, {Key::N, false}};
    for (int i = 0; i < 14; ++i) page.show.frame();
    ASSERT_EQ(page.addresses.size(), 3u);
    EXPECT_EQ(page.addresses[1], -2147483647 - 1);
    EXPECT_TRUE(page.show.seed() == page.addresses[2] && page.addresses[2] != page.addresses[1]);
    EXPECT_EQ(page.host.title, windowTitle(page.show.seed()));
    EXPECT_EQ(page.pictures.made, 4);
    EXPECT_EQ(page.pictures.released, 3);  // each show let go when overtaken or replaced
    EXPECT_EQ(page.pictures.times.size(), 14u);  // the old show went on meanwhile
    EXPECT_FLOAT_EQ(page.pictures.times[5], 3.0f + 5 * kFrameMs / 1000.0f);
    EXPECT_EQ(page.pictures.times[6], 0.0f);  // the new show from its start
    ASSERT_FALSE(page.panels.empty());
    const std::vector<std::string>& panel = page.panels[0];  // the information, then the keys
    EXPECT_EQ(panel.front(), windowTitle(-2147483647 - 1));
    EXPECT_NE(std::find(panel.begin(), panel.end(), "F            window / whole screen"), panel.end());
    ASSERT_EQ(page.saved.size(), 1u);
    EXPECT_EQ(page.saved[0], screenshotStem(-2147483647 - 1, page.pictures.times[9]));
}

TEST(WebShow, PlayedToTheEndThePictureHoldsAndSpacePlaysItAgain) {
    Page page;
    std::string why;
    const float length = showLayout(5).songLength;
    ASSERT_TRUE(page.show.start(5, length, &why)) << why;
    for (int i = 0; i < 80; ++i) page.show.frame();
    EXPECT_TRUE(page.show.paused() && page.show.songTime() == length + 1.0f && page.pictures.redrawn > 0);
    page.host.keys[page.host.frame] = {{Key::Space, false}};
    page.show.frame();
    EXPECT_TRUE(!page.show.paused() && page.pictures.times.back() == 0.0f);
}

// "#seed=5&t=20&paused": the page draws what a still of that instant is
// drawn from (half a second of frames at 60 per second, then the instant)
// and holds it; Space plays on from there.
TEST(WebShow, APausedLinkHoldsThePictureAStillOfThatInstantHas) {
    Page page;
    std::string why;
    ASSERT_TRUE(page.show.start(5, 20.0f, &why, true)) << why;
    std::vector<float> expected;
    for (int k = 30; k >= 1; --k) expected.push_back(static_cast<float>(20.0 - k / 60.0));
    expected.push_back(20.0f);
    EXPECT_EQ(page.pictures.times, expected);
    for (int i = 0; i < 10; ++i) page.show.frame();
    EXPECT_TRUE(page.show.paused() && page.show.songTime() == 20.0f);
    EXPECT_EQ(page.pictures.times.size(), expected.size());
    EXPECT_EQ(page.pictures.redrawn, 10);
    page.host.keys[page.host.frame] = {{Key::Space, false}};
    page.show.frame();
    page.show.frame();
    EXPECT_FALSE(page.show.paused());
    EXPECT_GT(page.pictures.times.back(), 20.0f);

    EXPECT_TRUE(readPageAddress("#seed=5&t=20&paused").paused);
    EXPECT_TRUE(readPageAddress("#paused=1&seed=5").paused);
    EXPECT_FALSE(readPageAddress("#seed=5&t=20&paused=0").paused);
    EXPECT_FALSE(readPageAddress("#seed=5&t=20").paused);
}

TEST(PageAddress, ASeedIsAWholeNumberInRangeAndATimeIsSeconds) {
    const PageAddress a = readPageAddress("#t=12.5&seed=-42");
    EXPECT_TRUE(a.seed == -42 && a.start == 12.5f);
    for (const char* bad : {"#seed=4x2", "#seed=", "#seed=2147483648", "#seed= 7", "#sed=7", "", "#seed=+7"})
        EXPECT_FALSE(readPageAddress(bad).seed.has_value()) << bad;
    EXPECT_EQ(readPageAddress("#seed=2147483647&t=-3").seed, 2147483647);
    EXPECT_FALSE(readPageAddress("#seed=1&t=-3").start.has_value());
    EXPECT_EQ(pageAddress(-5), "#seed=-5");
}

}  // namespace
}  // namespace vortel
