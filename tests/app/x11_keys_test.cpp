// The live show in a real X11 window (an Xvfb server of the test's own),
// keys sent by xdotool: presses faster than SDL's auto-repeat guess all
// count, a held key still acts once.
#include <gtest/gtest.h>

#include <regex>

#include "support/cli_run.h"
#include "support/cli_spawn.h"
#include "support/xvfb.h"

namespace vortel {
namespace {

// The seeds the show switched to, in order, from its --verbose lines.
std::vector<int> seedsShown(const std::string& err) {
    std::vector<int> seeds;
    std::regex line("vortel: seed (-?\\d+) \\(after");
    for (auto it = std::sregex_iterator(err.begin(), err.end(), line); it != std::sregex_iterator(); ++it)
        seeds.push_back(std::stoi((*it)[1]));
    return seeds;
}

TEST(X11Keys, FastPressesAllCountAndAHeldKeyActsOnce) {
    if (!have("Xvfb") || !have("xdotool")) GTEST_SKIP() << "needs Xvfb and xdotool";
    const WithoutPreload preload;
    Xvfb x;
    ASSERT_FALSE(x.display().empty());
    SpawnOptions o;
    o.env["DISPLAY"] = x.display();
    o.env["SDL_VIDEODRIVER"] = std::nullopt;
    o.env["SDL_AUDIODRIVER"] = "dummy";
    o.cwd = fs::temp_directory_path();
    preload.keepFor(o);
    Spawned show({"100", "--verbose"}, o);
    ASSERT_TRUE(show.started());
    ASSERT_TRUE(show.waitForStderr("first frame shown")) << show.err();
    const std::string xdo = "DISPLAY=" + x.display() + " xdotool ";
    const std::string window = commandOutput(xdo + "search --name 'VORTEL 100' | head -n 1");
    ASSERT_FALSE(window.empty());
    const std::string id = window.substr(0, window.find('\n'));

    // Forty N presses a millisecond apart: forty seeds on.
    std::string presses;
    for (int i = 0; i < 40; ++i) presses += " n";
    ASSERT_EQ(std::system((xdo + "key --window " + id + " --delay 1" + presses).c_str()), 0);
    ASSERT_TRUE(show.waitUntil([&] {
        const std::vector<int> s = seedsShown(show.err());
        return !s.empty() && s.back() == 140;
    })) << show.err();

    // N held long enough for the keyboard to repeat it: one seed on. Once
    // that show has taken over (a show is made ready while the old one
    // plays, and keys meanwhile fold into the next request), one P press,
    // which shows where the held key left the show.
    ASSERT_EQ(std::system((xdo + "keydown --window " + id + " n && sleep 1.5 && " + xdo + "keyup --window " + id +
                           " n")
                              .c_str()),
              0);
    ASSERT_TRUE(show.waitForStderr("vortel: seed 141 (after 140")) << show.err();
    ASSERT_EQ(std::system((xdo + "key --window " + id + " p").c_str()), 0);
    ASSERT_TRUE(show.waitForStderr("vortel: seed 140 (after 141")) << show.err();
    show.signal(SIGTERM);
    EXPECT_EQ(show.finish(), 0) << show.err();
    const std::vector<int> seeds = seedsShown(show.err());
    for (int s : seeds) EXPECT_LE(s, 141) << show.err();
    EXPECT_EQ(seeds.back(), 140);
}

}  // namespace
}  // namespace vortel
