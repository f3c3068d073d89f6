// The live show in a real X11 window (an Xvfb server of the test's own),
// keys sent by xdotool: presses faster than SDL's auto-repeat guess all
// count, a held key still acts once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <regex>

#include "support/cli_run.h"
#include "support/cli_spawn.h"

namespace vortel {
namespace {

bool have(const std::string& program) { return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0; }

// An Xvfb server on a free display, ended with the test.
class Xvfb {
public:
    Xvfb() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(fds[1]);
        // The display number and a newline, once the server is ready. It may
        // come in pieces, and the server dies if the pipe closes before the
        // newline is through.
        std::string number;
        char c = 0;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (!number.empty()) display_ = ":" + std::to_string(std::atoi(number.c_str()));
    }
    ~Xvfb() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// The seeds the show switched to, in order, from its --verbose lines.
std::vector<int> seedsShown(const std::string& err) {
    std::vector<int> seeds;
    std::regex line("vortel: seed (-?\\d+) \\(after");
    for (auto it = std::sregex_iterator(err.begin(), err.end(), line); it != std::sregex_iterator(); ++it)
        seeds.push_back(std::stoi((*it)[1]));
    return seeds;
}

// The sanitizer build's test environment preloads its runtime (and Mesa's
// driver) into every program a test starts. Only the show keeps it: the X
// server, its keymap compiler and xdotool are not ours to check.
class WithoutPreload {
public:
    WithoutPreload() {
        if (const char* p = std::getenv("LD_PRELOAD")) saved_ = p;
        unsetenv("LD_PRELOAD");
    }
    ~WithoutPreload() {
        if (saved_) setenv("LD_PRELOAD", saved_->c_str(), 1);
    }
    void keepFor(SpawnOptions& o) const {
        if (saved_) o.env["LD_PRELOAD"] = *saved_;
    }

private:
    std::optional<std::string> saved_;
};

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
