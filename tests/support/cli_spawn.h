#pragma once
// Running the real program as a child the test can watch and signal: its
// stderr is read as it comes, so the test can wait for the moment it
// means to interrupt instead of guessing at times.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vortel {

// Generous limits for waits that only guard against a test hanging for
// ever; nothing is asserted about speed.
constexpr int kPatienceSeconds = 180;

struct SpawnOptions {
    std::map<std::string, std::optional<std::string>> env;  // set, or unset (nullopt)
    std::filesystem::path cwd;                                 // empty: the test's own
    bool pipeStdout = false;                                   // else /dev/null
};

class Spawned {
public:
    Spawned(const std::vector<std::string>& args, const SpawnOptions& options = {}) {
        std::map<std::string, std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string kv = *e;
            const size_t eq = kv.find('=');
            if (eq != std::string::npos) env[kv.substr(0, eq)] = kv.substr(eq + 1);
        }
        for (const auto& [name, value] : options.env) {
            if (value) env[name] = *value;
            else env.erase(name);
        }
        std::vector<std::string> envText;
        for (const auto& [name, value] : env) envText.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (std::string& s : envText) envp.push_back(s.data());
        envp.push_back(nullptr);
        std::vector<std::string> argText = {VORTEL_BINARY};
        argText.insert(argText.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& s : argText) argv.push_back(s.data());
        argv.push_back(nullptr);

        int errPipe[2], outPipe[2] = {-1, -1};
        if (pipe2(errPipe, O_CLOEXEC) != 0) return;
        if (options.pipeStdout && pipe2(outPipe, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
        if (options.pipeStdout) posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (!options.cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());
        if (posix_spawn(&pid_, VORTEL_BINARY, &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(errPipe[1]);
        errFd_ = errPipe[0];
        if (options.pipeStdout) {
            ::close(outPipe[1]);
            outFd_ = outPipe[0];
        }
    }
    ~Spawned() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (errFd_ >= 0) ::close(errFd_);
        closeStdout();
    }
    Spawned(const Spawned&) = delete;
    Spawned& operator=(const Spawned&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    int stdoutFd() const { return outFd_; }
    void closeStdout() {
        if (outFd_ >= 0) ::close(outFd_);
        outFd_ = -1;
    }
    const std::string& err() const { return err_; }

    // Reads stderr until `text` shows up in it (true) or it ends (false).
    bool waitForStderr(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kPatienceSeconds);
        while (err_.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline || !readErr(100)) return err_.find(text) != std::string::npos;
        }
        return true;
    }

    // Waits until `ready` says yes, reading stderr meanwhile; false when the
    // program ended first.
    template <typename Ready>
    bool waitUntil(Ready ready) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kPatienceSeconds);
        while (!ready()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            if (!readErr(20) && !ready()) return false;
        }
        return true;
    }

    void signal(int sig) { ::kill(pid_, sig); }

    // Reads the rest of stderr and waits for the exit: the exit status, or
    // 128 + the signal that killed it; -1 when it had to be killed because
    // it did not end (a hang).
    int finish() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kPatienceSeconds);
        int status = 0;
        for (;;) {
            const pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) break;
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, nullptr, 0);
                pid_ = -1;
                return -1;
            }
            if (!readErr(50)) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        pid_ = -1;
        // What is left in the pipe (a grandchild may hold it open: no waiting).
        while (errFd_ >= 0) {
            struct pollfd p {errFd_, POLLIN, 0};
            if (::poll(&p, 1, 0) <= 0 || !readErr(0)) break;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    // Reads what stderr has within `ms`; false once it is closed.
    bool readErr(int ms) {
        if (errFd_ < 0) return false;
        struct pollfd p {errFd_, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0) return true;
        char buf[4096];
        const ssize_t n = ::read(errFd_, buf, sizeof buf);
        if (n <= 0) {
            ::close(errFd_);
            errFd_ = -1;
            return false;
        }
        err_.append(buf, static_cast<size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int errFd_ = -1, outFd_ = -1;
    std::string err_;
};

// The lines of `text`.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Whether process `pid` still runs (a zombie has ended).
inline bool processRuns(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t paren = text.rfind(')');
    return paren != std::string::npos && paren + 2 < text.size() && text[paren + 2] != 'Z' && text[paren + 2] != 'X';
}

// Waits until `ready` says yes (true), or gives up after kPatienceSeconds.
template <typename Ready>
bool eventually(Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kPatienceSeconds);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Makes this test process the one orphans of its children are handed to, so
// that it can reap whatever a killed encoder left (and see what lives on).
inline void adoptOrphans() { ::prctl(PR_SET_CHILD_SUBREAPER, 1); }

// Reaps every ended orphan; returns without waiting.
inline void reapOrphans() {
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

}  // namespace vortel
