// scripts/gallery.sh end to end, and the gallery page in a real browser.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <thread>

#include "io/json.h"
#include "offline/contact_sheet.h"
#include "support/cli_run.h"

namespace vortel {
namespace {

const fs::path kTests = fs::path(__FILE__).parent_path();  // tests/offline
const fs::path kScript = kTests.parent_path().parent_path() / "scripts" / "gallery.sh";
const fs::path kFakeVortel = kTests / "gallery" / "fake_vortel.sh";
const fs::path kFakeSsh = kTests / "gallery" / "fake_ssh.sh";

// ffprobe's line for the contact sheet as the program writes it.
const std::string kSheetProbe =
    "png," + std::to_string(kSheetWidth) + "," + std::to_string(kSheetHeight) + ",rgb24\n";

bool have(const std::string& program) { return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0; }

// Runs a shell command line, collecting stdout and stderr.
RunResult shell(const std::string& cmd) {
    static int counter = 0;
    const fs::path errFile = scratchPath("vortel_gallery_err_" + std::to_string(++counter));
    RunResult r;
    FILE* p = popen(("(" + cmd + ") 2>'" + errFile.string() + "' </dev/null").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    r.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(errFile);
    return r;
}

std::string q(const fs::path& p) { return "'" + p.string() + "'"; }

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t count(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++n;
    return n;
}

// "codec,width,height" of a picture or video's first stream, as ffprobe reads it.
std::string probe(const fs::path& file) {
    return shell("ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height,pix_fmt -of csv=p=0 " +
                 q(file))
        .out;
}

// Every file under `dir` with its inode and modification time: a file that
// is written again gets a new inode (each output is renamed into place).
std::map<std::string, std::pair<ino_t, int64_t>> snapshot(const fs::path& dir) {
    std::map<std::string, std::pair<ino_t, int64_t>> files;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        struct stat st;
        if (::stat(e.path().c_str(), &st) == 0)
            files[fs::relative(e.path(), dir).string()] = {st.st_ino, static_cast<int64_t>(st.st_mtim.tv_nsec) +
                                                                          static_cast<int64_t>(st.st_mtime) * 1000000000};
    }
    return files;
}

// Files whose names start as the program's temporaries do.
std::vector<std::string> temporaries(const fs::path& dir) {
    std::vector<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.path().filename().string().rfind(".vortel-", 0) == 0) found.push_back(e.path().string());
    return found;
}

// Starts a shell command line in a process group of its own, as a terminal
// starts a command.
pid_t spawn(const std::string& cmd) {
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        execl("/bin/bash", "bash", "-c", cmd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid > 0) setpgid(pid, pid);
    return pid;
}

// The exit status of `pid`, or -1 when it was not a plain exit or did not
// come within `limit` (the whole group is then killed).
int waitExit(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Waits (by the files, not the clock; two minutes at most) until a sheet of
// one of the seeds `first`..`last` is done.
bool waitForSheet(const fs::path& out, int first, int last) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < deadline) {
        for (int seed = first; seed <= last; ++seed)
            if (fs::exists(out / "seeds" / std::to_string(seed) / "sheet.png")) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

class Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        // The sanitizer build's test environment preloads the sanitizer
        // runtime and Mesa's driver into every program a test starts. The
        // shells, GNU parallel, ffmpeg and Chromium of a batch must run as
        // they are; the program keeps its own runtime, and its leaks are
        // checked by the tests that run it directly.
        if (const char* preload = std::getenv("LD_PRELOAD"); preload && *preload) {
            unsetenv("LD_PRELOAD");
            setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        }
        dir_ = scratchPath(std::string("vortel_gallery_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    // The batch with the real program (or `bin`), and `env` set for it.
    RunResult gallery(const std::string& args, const std::string& env = "", const std::string& bin = VORTEL_BINARY) {
        return shell("env VORTEL_BIN=" + bin + " " + env + " " + q(kScript) + " " + args);
    }
    // The fakes' settings: the real program for summaries and pages.
    std::string fakeEnv() const { return "FAKE_REAL_VORTEL=" + std::string(VORTEL_BINARY); }
    bool complete(const fs::path& out, int seed, bool clips) const {
        std::vector<std::string> names = {"summary.json", "sheet.png", "thumb.jpg"};
        if (clips) names.push_back("preview.mp4");
        for (const std::string& n : names)
            if (!fs::exists(out / "seeds" / std::to_string(seed) / n)) return false;
        return true;
    }
    fs::path dir_;
};

TEST_F(Gallery, BadCommandLinesExitTwoWithOneLine) {
    // Logins are checked before GNU parallel (or a shell) sees them.
    const fs::path hosts = dir_ / "hosts.txt";
    std::ofstream(hosts) << "# render machines\n2/fakehost\n1/fakehost;touch " << q(dir_ / "X") << "\n";
    for (const std::string& args : std::vector<std::string>{"", "1-5", "x " + q(dir_), "5-3 " + q(dir_), "1,,2 " + q(dir_), "7, " + q(dir_),
                                   "2147483648 " + q(dir_), "0-1000000 " + q(dir_), "1 " + q(dir_) + " --jobs 0",
                                   "1 " + q(dir_) + " --jobs", "1 " + q(dir_) + " --sshlogin", "1 " + q(dir_) + " --nope",
                                   "1 " + q(dir_) + " --job-timeout 0", "1 " + q(dir_) + " --job-timeout 1.5",
                                   "1 " + q(dir_) + " --job-timeout", "1 " + q(dir_) + " --sshlogin '1/a;touch X'",
                                   "1 " + q(dir_) + " --sshlogin 1/a,,:", "1 " + q(dir_) + " --sshlogin -oProxyCommand=x",
                                   "1 " + q(dir_) + " --sshlogin 'a\n1/b;touch X'",
                                   "1 " + q(dir_) + " --sshlogin " + q(hosts)}) {
        const RunResult r = gallery(args, "PARALLEL_SSH=" + q(kFakeSsh) + " FAKE_REMOTE_HOME=" + q(dir_ / "remote"));
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_EQ(count(r.err, "\n"), 1u) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("gallery.sh: ", 0), 0u) << r.err;
    }
    EXPECT_FALSE(fs::exists(dir_ / "seeds"));
    EXPECT_FALSE(fs::exists(dir_ / "X"));
}

// What the command line takes that it once refused or mishandled: seeds
// with leading zeros, "--" before an OUT_DIR that begins with "-"; and a
// folder given as the program is refused before anything starts.
TEST_F(Gallery, CommandLineEdges) {
    if (!have("parallel") || !have("ffprobe")) GTEST_SKIP() << "needs GNU parallel and ffmpeg";
    RunResult r = gallery("1 " + q(dir_ / "none"), "", q(dir_));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "gallery.sh: VORTEL_BIN: " + dir_.string() + " is not an executable program\n");
    EXPECT_FALSE(fs::exists(dir_ / "none"));

    fs::create_directories(dir_ / "before");  // the folder `cd -` would go back to
    r = shell("cd " + q(dir_ / "before") + " && cd " + q(dir_) + " && env VORTEL_BIN=" + q(kFakeVortel) + " " +
              fakeEnv() + " " + q(kScript) + " --jobs 1 -- 00000000001,0000 -");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(complete(dir_ / "-", 0, false));
    EXPECT_TRUE(complete(dir_ / "-", 1, false));
    EXPECT_TRUE(fs::is_empty(dir_ / "before"));
}

// Three seeds with the real program, two at a time: every output whole and
// as the program makes it, the page, then a rerun that does nothing and one
// that only makes what went missing.
TEST_F(Gallery, ThreeSeedsEndToEndThenNothingToDo) {
    if (!have("parallel") || !have("ffprobe")) GTEST_SKIP() << "needs GNU parallel and ffmpeg";
    const fs::path out = dir_ / "out", player = dir_ / "player";
    fs::create_directories(player);
    std::ofstream(player / "index.html") << "<title>player</title>";
    std::ofstream(player / "vortel.js") << "// player";
    RunResult r = gallery("5,11-12 " + q(out) + " --jobs 2", "VORTEL_WEB_PLAYER=" + q(player));
    ASSERT_EQ(r.code, 0) << r.err;
    // The web player is copied in once, and each seed's page plays it.
    EXPECT_EQ(readFile(out / "player" / "vortel.js"), "// player");
    EXPECT_EQ(readFile(out / "player" / "index.html"), "<title>player</title>");
    EXPECT_NE(readFile(out / "seeds" / "11" / "index.html").find("href=\"../../player/index.html#seed=11\">play here</a>"),
              std::string::npos);
    for (int seed : {5, 11, 12}) {
        const fs::path d = out / "seeds" / std::to_string(seed);
        SCOPED_TRACE(d.string());
        EXPECT_EQ(readFile(d / "summary.json"), run(std::to_string(seed) + " --summary -").out);
        EXPECT_EQ(probe(d / "sheet.png"), kSheetProbe);
        EXPECT_EQ(probe(d / "thumb.jpg").substr(0, 14), "mjpeg,400,302,");
        EXPECT_FALSE(fs::exists(d / "preview.mp4"));
        EXPECT_TRUE(fs::exists(d / "index.html"));
    }
    EXPECT_TRUE(temporaries(out).empty());
    const std::string index = readFile(out / "index.html");
    EXPECT_EQ(count(index, "data-seed="), 3u);
    for (const char* s : {"data-seed=\"5\"", "data-seed=\"11\"", "data-seed=\"12\"", "src=\"seeds/11/thumb.jpg\""})
        EXPECT_NE(index.find(s), std::string::npos) << s;

    // Nothing left to do: no output is written again.
    auto before = snapshot(out / "seeds");
    r = gallery("11-12,5 " + q(out) + " --jobs 2");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("3 seeds, 3 already complete, 0 to render"), std::string::npos) << r.err;
    auto after = snapshot(out / "seeds");
    for (const auto& [name, id] : before)
        if (name.find("index.html") == std::string::npos) EXPECT_EQ(after[name], id) << name;

    // A missing thumbnail is made again from the sheet, and only it.
    fs::remove(out / "seeds" / "11" / "thumb.jpg");
    r = gallery("5,11,12 " + q(out));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("2 already complete, 1 to render"), std::string::npos) << r.err;
    after = snapshot(out / "seeds");
    EXPECT_EQ(after["11/sheet.png"], before["11/sheet.png"]);
    EXPECT_EQ(after["11/summary.json"], before["11/summary.json"]);
    EXPECT_EQ(probe(out / "seeds" / "11" / "thumb.jpg").substr(0, 14), "mjpeg,400,302,");
}

// --sshlogin through a stand-in ssh whose "machine" is a folder of its own:
// the jobs sent there run in it, their files come back and are removed
// there; a failing seed is listed and the others finish; a rerun makes
// only what failed.
TEST_F(Gallery, OtherMachinesSendTheirFilesBackAndFailuresAreListed) {
    if (!have("parallel") || !have("ffprobe") || !have("rsync")) GTEST_SKIP() << "needs GNU parallel, rsync and ffmpeg";
    const fs::path out = dir_ / "out", remote = dir_ / "remote";
    fs::create_directories(remote);
    const std::string env = fakeEnv() + " PARALLEL_SSH=" + q(kFakeSsh) + " FAKE_REMOTE_HOME=" + q(remote) +
                            " VORTEL_REMOTE_BIN=" + q(kFakeVortel);
    RunResult r = gallery("1-6 " + q(out) + " --sshlogin 2/fakehost,1/: --clips", env + " FAKE_FAIL_SEEDS=4",
                          q(kFakeVortel));
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("1 of 6 seeds failed: 4\n"), std::string::npos) << r.err;
    for (int seed : {1, 2, 3, 5, 6}) {
        EXPECT_TRUE(complete(out, seed, true)) << seed;
        EXPECT_EQ(readFile(out / "seeds" / std::to_string(seed) / "summary.json"),
                  run(std::to_string(seed) + " --summary -").out);
    }
    EXPECT_FALSE(complete(out, 4, true));
    // Jobs went to the other machine, and each of their four files came back
    // through rsync over the stand-in ssh.
    const std::string log = readFile(dir_ / "remote.log");
    const size_t sent = count(log, "GNU_Parallel_worker");
    EXPECT_GE(sent, 1u) << log;
    for (const char* f : {"summary.json", "sheet.png", "thumb.jpg", "preview.mp4"})
        EXPECT_GE(count(log, std::string("rsync --server --sender -lDrRze.iLsfxCIvu . ./") + f), sent - 1) << f;
    // Nothing of ours stays on the other machine.
    for (const auto& e : fs::recursive_directory_iterator(remote)) EXPECT_FALSE(e.is_regular_file()) << e.path();
    EXPECT_EQ(count(readFile(out / "index.html"), "data-seed="), 5u);

    // The same machines from a file, with comments, a blank line, a user and a port.
    std::ofstream(dir_ / "hosts.txt") << "# render machines\n\n2/me@fakehost:2222\n   # and this one\n1/:\n";
    auto before = snapshot(out / "seeds");
    r = gallery("1-6 " + q(out) + " --sshlogin " + q(dir_ / "hosts.txt") + " --clips", env, q(kFakeVortel));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("5 already complete, 1 to render"), std::string::npos) << r.err;
    EXPECT_TRUE(complete(out, 4, true));
    auto after = snapshot(out / "seeds");
    for (const auto& [name, id] : before)
        if (name.find("index.html") == std::string::npos) EXPECT_EQ(after[name], id) << name;
    EXPECT_EQ(count(readFile(out / "index.html"), "data-seed="), 6u);
}

// An interrupt (Ctrl-C reaches the batch's whole process group) stops the
// batch at once with only whole files left; the same command then finishes
// the rest without redoing what was done.
TEST_F(Gallery, InterruptedBatchLeavesOnlyWholeFilesAndResumes) {
    if (!have("parallel") || !have("ffprobe")) GTEST_SKIP() << "needs GNU parallel and ffmpeg";
    const fs::path out = dir_ / "out";
    const std::string cmd = "exec env VORTEL_BIN=" + q(kFakeVortel) + " " + fakeEnv() + " FAKE_SLOW=1 " + q(kScript) +
                            " 1-8 " + q(out) + " --jobs 2 2>/dev/null";
    const pid_t pid = spawn(cmd);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(waitForSheet(out, 1, 2));
    kill(-pid, SIGINT);
    EXPECT_EQ(waitExit(pid, std::chrono::seconds(120)), 130);
    EXPECT_TRUE(temporaries(out).empty());
    int done = 0;
    for (int seed = 1; seed <= 8; ++seed) {
        const fs::path d = out / "seeds" / std::to_string(seed);
        done += complete(out, seed, false);
        if (fs::exists(d / "summary.json")) EXPECT_FALSE(Json::parse(readFile(d / "summary.json"), nullptr, false).is_discarded());
        if (fs::exists(d / "sheet.png")) EXPECT_EQ(probe(d / "sheet.png"), kSheetProbe);
        if (fs::exists(d / "thumb.jpg")) EXPECT_EQ(probe(d / "thumb.jpg").substr(0, 14), "mjpeg,400,302,");
    }
    EXPECT_LT(done, 8);
    EXPECT_FALSE(fs::exists(out / "index.html"));

    auto before = snapshot(out / "seeds");
    const RunResult r = gallery("1-8 " + q(out) + " --jobs 2", fakeEnv(), q(kFakeVortel));
    ASSERT_EQ(r.code, 0) << r.err;
    for (int seed = 1; seed <= 8; ++seed) EXPECT_TRUE(complete(out, seed, false)) << seed;
    auto after = snapshot(out / "seeds");
    for (const auto& [name, id] : before) EXPECT_EQ(after[name], id) << name;
    EXPECT_EQ(count(readFile(out / "index.html"), "data-seed="), 8u);
}

// Any of the usual ends of a batch stops it at once, however big it is and
// however it was started: Ctrl-C on 100,000 seeds (the clean-up once took
// minutes, a pass per seed), SIGHUP to the script alone (a closed terminal:
// it once died silently while its jobs went on), and SIGINT to a batch
// started in the background of a script (whose shell ignores SIGINT for
// it). Each time the jobs stop with only whole files left, the temporary
// folder goes, and the status tells the signal.
TEST_F(Gallery, SignalsStopTheBatchAtOnceHoweverStarted) {
    if (!have("parallel") || !have("ffprobe") || !have("setsid")) GTEST_SKIP() << "needs GNU parallel, ffmpeg and setsid";
    const fs::path tmp = dir_ / "tmp";
    fs::create_directories(tmp);
    const std::string env =
        "env TMPDIR=" + q(tmp) + " VORTEL_BIN=" + q(kFakeVortel) + " " + fakeEnv() + " FAKE_SLOW=1 ";
    const std::string interrupted = "gallery.sh: interrupted; every file present is complete";

    const fs::path big = dir_ / "big";
    pid_t pid = spawn("exec " + env + q(kScript) + " 1-100000 " + q(big) + " 2>/dev/null");
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(waitForSheet(big, 1, 2));
    kill(-pid, SIGINT);
    const auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(waitExit(pid, std::chrono::seconds(150)), 130);
    EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(20));
    EXPECT_TRUE(temporaries(big).empty());

    const fs::path hup = dir_ / "hup";
    pid = spawn("exec " + env + q(kScript) + " 1-8 " + q(hup) + " 2>" + q(dir_ / "hup.err"));
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(waitForSheet(hup, 1, 2));
    kill(pid, SIGHUP);
    EXPECT_EQ(waitExit(pid, std::chrono::seconds(120)), 129);
    EXPECT_NE(readFile(dir_ / "hup.err").find(interrupted), std::string::npos) << readFile(dir_ / "hup.err");
    // No job goes on behind its back.
    const auto stopped = snapshot(hup / "seeds");
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_EQ(snapshot(hup / "seeds"), stopped);
    EXPECT_TRUE(temporaries(hup).empty());
    EXPECT_FALSE(fs::exists(hup / "index.html"));

    const fs::path bg = dir_ / "bg";
    std::ofstream(dir_ / "bg.sh") << "setsid " << env << "bash " << q(kScript) << " 50-53 " << q(bg) << " 2>" << q(dir_ / "bg.err")
                                  << " & pid=$!\nfor i in $(seq 1200); do ls " << q(bg) << "/seeds/*/sheet.png >/dev/null 2>&1 && break; sleep 0.1; done\n"
                                  << "kill -INT -- -$pid\nfor i in $(seq 1200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done\n"
                                  << "kill -KILL -- -$pid 2>/dev/null; wait $pid\n";
    const RunResult r = shell("bash " + q(dir_ / "bg.sh"));
    EXPECT_EQ(r.code, 130) << readFile(dir_ / "bg.err");
    EXPECT_NE(readFile(dir_ / "bg.err").find(interrupted), std::string::npos) << readFile(dir_ / "bg.err");
    EXPECT_TRUE(temporaries(bg).empty());

    for (const auto& e : fs::directory_iterator(tmp))
        EXPECT_NE(e.path().filename().string().rfind("vortel-gallery.", 0), 0u) << e.path();
}

// A machine that never answers (each ssh call to it waits for ever) costs
// its seeds, not the batch: each of its jobs is stopped after --job-timeout,
// its seeds are listed with the machine, the others finish, the page shows
// them and nothing half-written stays. The timeout leaves the local jobs
// (a stand-in program) room on a machine busy with other tests.
TEST_F(Gallery, SilentMachineFailsItsSeedsNotTheBatch) {
    if (!have("parallel") || !have("ffprobe") || !have("rsync")) GTEST_SKIP() << "needs GNU parallel, rsync and ffmpeg";
    const fs::path out = dir_ / "out", remote = dir_ / "remote";
    fs::create_directories(remote);
    const RunResult r = shell("timeout -k 10 300 env VORTEL_BIN=" + q(kFakeVortel) + " " + fakeEnv() +
                              " PARALLEL_SSH=" + q(kFakeSsh) + " FAKE_REMOTE_HOME=" + q(remote) +
                              " FAKE_SILENT_HOSTS=silent VORTEL_REMOTE_BIN=" + q(kFakeVortel) + " " + q(kScript) +
                              " 1-6 " + q(out) + " --sshlogin 1/silent,1/: --job-timeout 8");
    EXPECT_EQ(r.code, 1) << r.err;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(r.err, m, std::regex("gallery.sh: seeds? ([0-9 ]+) failed on silent \\(timed out after 8 s\\)\n")))
        << r.err;
    const std::string silent = m[1];
    EXPECT_NE(r.err.find(" of 6 seeds failed: " + silent + "\n"), std::string::npos) << r.err;
    EXPECT_GE(count(readFile(dir_ / "remote.log"), "GNU_Parallel_worker"), 1u);
    size_t done = 0;
    for (int seed = 1; seed <= 6; ++seed) {
        const bool failed = (" " + silent + " ").find(" " + std::to_string(seed) + " ") != std::string::npos;
        EXPECT_EQ(complete(out, seed, false), !failed) << seed;
        done += !failed;
    }
    EXPECT_GE(done, 1u);
    EXPECT_TRUE(temporaries(out).empty());
    EXPECT_EQ(count(readFile(out / "index.html"), "data-seed="), done);
}

// A login's N/ is how many seeds that machine renders at once, whatever
// --jobs says for the logins without one.
TEST_F(Gallery, EachMachineRunsAsManyAtOnceAsItsLoginSays) {
    if (!have("parallel") || !have("ffprobe")) GTEST_SKIP() << "needs GNU parallel and ffmpeg";
    for (const char* login : {"1/:", "2/:"}) {
        const fs::path out = dir_ / "out", busy = dir_ / "busy";
        fs::remove_all(out);
        fs::remove_all(busy);
        fs::create_directories(busy);
        const RunResult r = gallery("1-4 " + q(out) + " --jobs 3 --sshlogin " + login,
                                    fakeEnv() + " FAKE_SLOW=0.5 FAKE_BUSY_DIR=" + q(busy), q(kFakeVortel));
        ASSERT_EQ(r.code, 0) << login << ": " << r.err;
        EXPECT_EQ(fs::exists(busy / "overlap"), std::string(login) == "2/:") << login;
    }
}

// A summary.json that does not read as one (cut short, not an object,
// beyond the page builder's 1 MiB) is not complete: the next run makes it
// again, and only it; and a job that leaves one behind has failed.
TEST_F(Gallery, SummaryThatDoesNotReadIsMadeAgain) {
    if (!have("parallel") || !have("ffprobe")) GTEST_SKIP() << "needs GNU parallel and ffmpeg";
    const fs::path out = dir_ / "out";
    ASSERT_EQ(gallery("1-3 " + q(out), fakeEnv(), q(kFakeVortel)).code, 0);
    auto summary = [&](int seed) { return out / "seeds" / std::to_string(seed) / "summary.json"; };
    const std::string whole = readFile(summary(1)), whole2 = readFile(summary(2));
    std::ofstream(summary(1), std::ios::trunc) << whole.substr(0, whole.size() / 2);
    std::ofstream(summary(2), std::ios::trunc) << "[" << whole2 << "]";
    std::ofstream(summary(3), std::ios::trunc) << "{\"seed\": 3, \"pad\": \"" << std::string(1 << 20, ' ') << "\"}";
    auto before = snapshot(out / "seeds");

    RunResult r = gallery("1-3 " + q(out), fakeEnv(), q(kFakeVortel));
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("3 seeds, 0 already complete, 3 to render"), std::string::npos) << r.err;
    auto after = snapshot(out / "seeds");
    for (int seed = 1; seed <= 3; ++seed) {
        EXPECT_EQ(readFile(summary(seed)), run(std::to_string(seed) + " --summary -").out) << seed;
        EXPECT_EQ(after[std::to_string(seed) + "/sheet.png"], before[std::to_string(seed) + "/sheet.png"]) << seed;
    }
    EXPECT_EQ(count(readFile(out / "index.html"), "data-seed="), 3u);

    r = gallery("4 " + q(out), fakeEnv() + " FAKE_TRUNCATE_SEEDS=4", q(kFakeVortel));
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("1 of 1 seeds failed: 4\n"), std::string::npos) << r.err;
}

// The page in headless Chromium, opened from disk: one card per summary,
// and the filters hide exactly the cards that do not match, whether set by
// the page's fragment or by clicks and typing.
class GalleryInBrowser : public Gallery {
protected:
    // The DOM after the page's scripts ran.
    std::string dom(const std::string& url) {
        const RunResult r = shell("timeout 120 chromium --headless --no-sandbox --disable-gpu --user-data-dir=" +
                                  q(dir_ / "profile") + " --virtual-time-budget=2000 --dump-dom '" + url + "'");
        EXPECT_EQ(r.code, 0) << r.err;
        return r.out;
    }
    // Seed of each card, with whether it is hidden.
    static std::map<int, bool> cards(const std::string& html) {
        std::map<int, bool> found;
        std::regex card("<a class=\"card\"[^>]*data-seed=\"(-?\\d+)\"[^>]*>");
        for (auto it = std::sregex_iterator(html.begin(), html.end(), card); it != std::sregex_iterator(); ++it)
            found[std::stoi((*it)[1])] = (*it)[0].str().find(" hidden") != std::string::npos;
        return found;
    }
};

TEST_F(GalleryInBrowser, CardsAndFilters) {
    if (!have("chromium")) GTEST_SKIP() << "chromium is not installed";
    struct Fixture {
        int seed;
        float bpm;
        std::vector<std::string> scenes;
    };
    const std::vector<Fixture> fixtures = {
        {3, 118.5f, {"ShapeTunnelScene", "ShapeVortexScene"}}, {8, 124.0f, {"RoomScene", "ShapeVortexScene"}},
        {15, 127.5f, {"RoomScene", "CubeFieldScene"}},          {21, 131.0f, {"ShapeTunnelScene", "ShapeVortexScene"}},
        {34, 121.0f, {"RoomScene", "LineWalkScene"}},           {55, 126.0f, {"ShapeTunnelScene", "CubeFieldScene"}},
    };
    for (const Fixture& f : fixtures) {
        Json spans = Json::array();
        for (int i = 0; i < 16; ++i)
            spans.push_back(Json{{"span", i},
                                 {"scenes", Json::array({f.scenes[i % 2 ? 1 : 0]})},
                                 {"post", Json::array({"GlowPass"})}});
        const fs::path d = dir_ / "seeds" / std::to_string(f.seed);
        fs::create_directories(d);
        std::ofstream(d / "summary.json")
            << dumpJson(Json{{"seed", f.seed}, {"bpm", f.bpm}, {"songLength", 64.0f}, {"spans", spans}});
    }
    ASSERT_EQ(run("--gallery-page " + q(dir_)).code, 0);
    const std::string page = "file://" + (dir_ / "index.html").string();
    // What a filter should leave: every checked scene, tempo within bounds.
    auto expect = [&](const std::set<std::string>& scenes, float lo, float hi) {
        std::map<int, bool> hidden;
        for (const Fixture& f : fixtures) {
            bool ok = f.bpm >= lo && f.bpm <= hi;
            for (const std::string& s : scenes) ok = ok && std::count(f.scenes.begin(), f.scenes.end(), s) > 0;
            hidden[f.seed] = !ok;
        }
        return hidden;
    };

    std::string html = dom(page);
    EXPECT_EQ(cards(html), expect({}, 0, 1000));
    EXPECT_NE(html.find("6 of 6 seeds shown"), std::string::npos);

    html = dom(page + "#scenes=ShapeVortexScene&bpm=120-130");
    EXPECT_EQ(cards(html), expect({"ShapeVortexScene"}, 120, 130));
    EXPECT_NE(html.find("1 of 6 seeds shown"), std::string::npos);
    html = dom(page + "#scenes=RoomScene,CubeFieldScene");
    EXPECT_EQ(cards(html), expect({"RoomScene", "CubeFieldScene"}, 0, 1000));

    // The same as a viewer does it: a click on a scene, a typed tempo.
    std::string clicked = readFile(dir_ / "index.html");
    const size_t end = clicked.rfind("</body>");
    ASSERT_NE(end, std::string::npos);
    clicked.insert(end, "<script>document.querySelector('#scenes input[value=\"RoomScene\"]').click();"
                        "var lo = document.getElementById('bpm-min'); lo.value = '122';"
                        "lo.dispatchEvent(new Event('input'));</script>\n");
    std::ofstream(dir_ / "clicked.html") << clicked;
    html = dom("file://" + (dir_ / "clicked.html").string());
    EXPECT_EQ(cards(html), expect({"RoomScene"}, 122, 1000));
    EXPECT_NE(html.find("2 of 6 seeds shown"), std::string::npos);
}

}  // namespace
}  // namespace vortel
