#pragma once
// An X server of the test's own (Xvfb), for tests of the show in real X11
// windows, and what such tests need around it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "support/cli_spawn.h"

namespace vortel {

inline bool have(const std::string& program) { return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0; }

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

}  // namespace vortel
