// Every offline output can be stopped with SIGINT, SIGTERM or SIGHUP wherever it
// waits: for a FIFO's reader, on an encoder that reads nothing, between the
// frames of a still or a contact sheet. A stop exits 1 with one
// "interrupted" line, and leaves no file, temporary or process behind.
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <csignal>

#include "support/cli_run.h"
#include "support/cli_spawn.h"

namespace vortel {
namespace {

class Stop : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = scratchPath(std::string("vortel_stop_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // The names in the folder, temporaries included.
    std::vector<std::string> names() const {
        std::vector<std::string> v;
        for (const auto& e : fs::directory_iterator(dir_)) v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }

    // The run ended as a stop must: status 1, the last line saying so.
    static void expectInterrupted(Spawned& p, const std::string& what) {
        const int code = p.finish();
        EXPECT_EQ(code, 1) << what << ": " << p.err();
        const std::vector<std::string> lines = linesOf(p.err());
        ASSERT_FALSE(lines.empty()) << what;
        EXPECT_EQ(lines.back().rfind("vortel: interrupted", 0), 0u) << what << ": " << p.err();
    }

    fs::path dir_;
};

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

TEST_F(Stop, AFifoNobodyReadsIsWaitedForOnlyUntilASignal) {
    const fs::path fifo = dir_ / "ff";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (int sig : kSignals) {
        for (std::vector<std::string> args : {std::vector<std::string>{"7", "--wav", fifo.string()},
                                              std::vector<std::string>{"7", "--still", "3", fifo.string()}}) {
            const std::string what = args[1] + " with signal " + std::to_string(sig);
            Spawned p(args);
            ASSERT_TRUE(p.started());
            // It says so once it finds nobody reading, and keeps waiting.
            ASSERT_TRUE(p.waitForStderr("waiting for a reader of " + fifo.string())) << what << ": " << p.err();
            p.signal(sig);
            expectInterrupted(p, what);
            EXPECT_EQ(names(), std::vector<std::string>{"ff"}) << what;
        }
    }
}

// An encoder that reads nothing, and a child of its own that outlives it
// unless its whole process group is killed. Each writes its pid to a file.
fs::path writeStallingEncoder(const fs::path& dir) {
    const fs::path stub = dir / "stall.sh";
    std::ofstream(stub) << "#!/bin/sh\n"
                        << "sleep 300 &\n"
                        << "echo $! > '" << (dir / "sleep.pid").string() << "'\n"
                        << "echo $$ > '" << (dir / "stub.pid").string() << "'\n"
                        << "wait\n";
    fs::permissions(stub, fs::perms::owner_all);
    return stub;
}

pid_t readPid(const fs::path& file) {
    std::ifstream in(file);
    long pid = 0;
    return in >> pid ? static_cast<pid_t>(pid) : 0;
}

// Whether the pipe on descriptor `fd` of process `pid` is full: whoever
// writes it now blocks.
bool pipeFull(pid_t pid, int fd) {
    const int r = ::open(("/proc/" + std::to_string(pid) + "/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_NONBLOCK);
    if (r < 0) return false;
    int queued = 0;
    const int capacity = ::fcntl(r, F_GETPIPE_SZ);
    const bool full = ::ioctl(r, FIONREAD, &queued) == 0 && capacity > 0 && queued >= capacity;
    ::close(r);
    return full;
}

TEST_F(Stop, ARecordingBlockedOnAnEncoderThatNeverReadsEndsWithTheEncoder) {
    adoptOrphans();
    const fs::path stub = writeStallingEncoder(dir_);
    for (int sig : kSignals) {
        fs::remove(dir_ / "stub.pid");
        fs::remove(dir_ / "sleep.pid");
        const std::string what = "signal " + std::to_string(sig);
        SpawnOptions o;
        o.env["VORTEL_FFMPEG"] = stub.string();
        Spawned p({"7", "--record", (dir_ / "a.mp4").string(), "--length", "2", "--fps", "12"}, o);
        ASSERT_TRUE(p.started());
        pid_t stubPid = 0, sleepPid = 0;
        // Blocked for good: the frames' pipe is full and nobody reads it.
        const bool blocked = p.waitUntil([&] {
            stubPid = readPid(dir_ / "stub.pid");
            sleepPid = readPid(dir_ / "sleep.pid");
            return stubPid > 0 && sleepPid > 0 && pipeFull(stubPid, 0);
        });
        EXPECT_TRUE(blocked) << what << ": " << p.err();
        p.signal(sig);
        expectInterrupted(p, what);
        EXPECT_NE(p.err().find("a.mp4 not written"), std::string::npos) << p.err();
        // The encoder and its child are gone (given time to die, not asked
        // to be quick).
        for (pid_t pid : {stubPid, sleepPid}) {
            if (pid <= 0) continue;
            const bool ended = eventually([pid] {
                reapOrphans();
                return !processRuns(pid);
            });
            EXPECT_TRUE(ended) << what << ": process " << pid << " of the encoder outlived the recording";
            if (!ended) ::kill(pid, SIGKILL);
        }
        reapOrphans();
        EXPECT_EQ(names(), (std::vector<std::string>{"sleep.pid", "stall.sh", "stub.pid"})) << what;
    }
}

// Whether process `pid` runs more than `n` threads (llvmpipe starts its
// rasterising threads with the GL context, so the rendering is under way).
bool moreThreads(pid_t pid, int n) {
    std::error_code ec;
    int count = 0;
    for (auto it = fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec);
         !ec && it != fs::directory_iterator(); ++it)
        ++count;
    return count > n;
}

TEST_F(Stop, StillsAndContactSheetsStopBetweenFrames) {
    for (int sig : kSignals) {
        for (std::vector<std::string> args :
             {std::vector<std::string>{"11", "--contact-sheet", (dir_ / "sheet.png").string()},
              std::vector<std::string>{"11", "--still", "40", (dir_ / "still.png").string()}}) {
            const std::string what = args[1] + " with signal " + std::to_string(sig);
            Spawned p(args);
            ASSERT_TRUE(p.started());
            EXPECT_TRUE(p.waitUntil([&] { return moreThreads(p.pid(), 1); })) << what << ": " << p.err();
            p.signal(sig);
            expectInterrupted(p, what);
            EXPECT_TRUE(names().empty()) << what;
        }
    }
}

// The stems are all written or none: a stop once the first is on the disk
// leaves no stem, and no folder the run made.
TEST_F(Stop, StemsAreAllOrNone) {
    const fs::path stems = dir_ / "new" / "stems";
    for (int sig : kSignals) {
        const std::string what = "signal " + std::to_string(sig);
        Spawned p({"13", "--stems", stems.string()});
        ASSERT_TRUE(p.started());
        std::error_code ec;
        EXPECT_TRUE(p.waitUntil([&] { return fs::exists(stems, ec) && !fs::is_empty(stems, ec); })) << what;
        p.signal(sig);
        const int code = p.finish();
        if (code == 0) {  // it finished first: every stem is there
            EXPECT_EQ(std::distance(fs::directory_iterator(stems), fs::directory_iterator()), 4) << what;
        } else {
            EXPECT_EQ(code, 1) << what << ": " << p.err();
            EXPECT_TRUE(names().empty()) << what;
        }
        fs::remove_all(dir_ / "new");
    }
}

}  // namespace
}  // namespace vortel
