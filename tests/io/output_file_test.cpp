#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "io/output_file.h"

namespace vortel {
namespace {

namespace fs = std::filesystem;

// A fresh, empty folder for one test.
struct Scratch {
    fs::path dir;
    Scratch() {
        dir = fs::temp_directory_path() /
              ("vortel_out_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~Scratch() { fs::remove_all(dir); }
    std::string operator/(const std::string& name) const { return (dir / name).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> v;
        for (const auto& e : fs::directory_iterator(dir)) v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }
};

std::string slurp(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void spit(const std::string& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

bool writeAndCommit(const std::string& path, bool force, const std::string& text, std::string* why) {
    auto out = OutputFile::create(path, force, why);
    if (!out) return false;
    // A failed write must still fail the commit.
    std::fwrite(text.data(), 1, text.size(), out->stream());
    return out->commit(why);
}

TEST(OutputFile, TargetAppearsWholeOnCommitFromAFreshTemporary) {
    Scratch s;
    // Names an older writer used for its temporary; neither may be touched.
    spit(s / "victim", "victim");
    spit(s / "a.wav.part", "someone's");
    ASSERT_EQ(::symlink("victim", (s / "b.wav.part").c_str()), 0);
    std::string why;
    for (const char* name : {"a.wav", "b.wav"}) {
        auto out = OutputFile::create(s / name, false, &why);
        ASSERT_TRUE(out) << why;
        const fs::path temp = out->writePath();
        EXPECT_EQ(temp.parent_path(), s.dir);
        EXPECT_EQ(temp.filename().string().rfind(".vortel-", 0), 0u) << temp;
        std::fputs("new", out->stream());
        EXPECT_FALSE(fs::exists(s / name)) << "visible before commit";
        ASSERT_TRUE(out->commit(&why)) << why;
        EXPECT_FALSE(fs::exists(temp));
        EXPECT_EQ(slurp(s / name), "new");
    }
    EXPECT_EQ(slurp(s / "a.wav.part"), "someone's");
    EXPECT_EQ(slurp(s / "victim"), "victim");
    EXPECT_TRUE(fs::is_symlink(s / "b.wav.part"));

    // Abandoned (an error, an interruption): nothing is left, the old file stays.
    {
        auto out = OutputFile::create(s / "a.wav", true, &why);
        ASSERT_TRUE(out) << why;
        std::fputs("half", out->stream());
    }
    EXPECT_EQ(slurp(s / "a.wav"), "new");
    EXPECT_EQ(s.names(), (std::vector<std::string>{"a.wav", "a.wav.part", "b.wav", "b.wav.part", "victim"}));

    // Every name the file system takes works, the longest included.
    const std::string longest = std::string(251, 'n') + ".wav";
    ASSERT_TRUE(writeAndCommit(s / longest, false, "long", &why)) << why;
    EXPECT_EQ(slurp(s / longest), "long");
}

TEST(OutputFile, FollowsLinksAndWritesFifosInPlace) {
    Scratch s;
    std::string why;
    fs::create_directories(s.dir / "real");
    spit(s / "real/song.wav", "old");
    ::chmod((s / "real/song.wav").c_str(), 0640);
    ASSERT_EQ(::symlink("real/song.wav", (s / "link.wav").c_str()), 0);
    EXPECT_FALSE(writeAndCommit(s / "link.wav", false, "new", &why));
    EXPECT_NE(why.find("--force"), std::string::npos) << why;
    ASSERT_TRUE(writeAndCommit(s / "link.wav", true, "new", &why)) << why;
    EXPECT_TRUE(fs::is_symlink(s / "link.wav"));
    EXPECT_EQ(slurp(s / "real/song.wav"), "new");
    EXPECT_EQ(fs::status(s / "real/song.wav").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A FIFO with a reader: the bytes go through it, and it stays a FIFO.
    const std::string fifo = s / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    for (bool force : {false, true}) {
        ASSERT_TRUE(writeAndCommit(fifo, force, "piped", &why)) << why;
        char buf[16] = {};
        EXPECT_EQ(::read(reader, buf, sizeof buf), 5);
        EXPECT_EQ(std::string(buf), "piped");
        EXPECT_TRUE(fs::is_fifo(fifo));
    }
    ::close(reader);

    EXPECT_EQ(s.names(), (std::vector<std::string>{"fifo", "link.wav", "real"})) << "a temporary was left";
}

TEST(OutputFile, FailedWritesAreReportedAndLeaveNothing) {
    Scratch s;
    std::string why;
    EXPECT_FALSE(writeAndCommit("/dev/full", true, "x", &why));
    EXPECT_NE(why.find("/dev/full"), std::string::npos) << why;
    EXPECT_NE(why.find(std::strerror(ENOSPC)), std::string::npos) << why;

    // A full disk for a regular file, by way of the file-size limit.
    spit(s / "kept.wav", "kept");
    struct rlimit old;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = writeAndCommit(s / "kept.wav", true, std::string(100000, 'x'), &why);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_NE(why.find(s / "kept.wav"), std::string::npos) << why;
    EXPECT_EQ(slurp(s / "kept.wav"), "kept");
    EXPECT_EQ(s.names(), std::vector<std::string>{"kept.wav"});
}

TEST(OutputFile, TargetsAreCheckedBeforeAnythingIsWritten) {
    Scratch s;
    std::string why;
    spit(s / "there.wav", "x");
    struct Case {
        std::string path;
        bool force;
        bool fine;
        const char* reasonHas;
    } cases[] = {
        {s / "new.wav", false, true, ""},
        {s / "there.wav", false, false, "--force"},
        {s / "there.wav", true, true, ""},
        {s.dir.string(), true, false, "folder"},
        {s / "missing/new.wav", true, false, "does not exist"},
        {s / "there.wav/new.wav", true, false, "not a folder"},
        {"/dev/null", false, true, ""},
        {"", true, false, "name"},
    };
    for (const Case& c : cases) {
        why.clear();
        EXPECT_EQ(checkOutputTarget(c.path, c.force, &why), c.fine) << c.path;
        EXPECT_NE(why.find(c.reasonHas), std::string::npos) << c.path << ": " << why;
        EXPECT_EQ(OutputFile::create(c.path, c.force, &why) != nullptr, c.fine) << c.path;
    }
    EXPECT_EQ(s.names(), std::vector<std::string>{"there.wav"});

    // stdout is fine unless it is a terminal.
    int pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(pty, 0);
    ASSERT_EQ(::grantpt(pty), 0);
    ASSERT_EQ(::unlockpt(pty), 0);
    int terminal = ::open(::ptsname(pty), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    std::fflush(stdout);
    int saved = ::dup(STDOUT_FILENO);
    ::dup2(terminal, STDOUT_FILENO);
    const bool toTerminal = checkOutputTarget("-", true, &why);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(terminal);
    ::close(pty);
    EXPECT_FALSE(toTerminal);
    EXPECT_NE(why.find("terminal"), std::string::npos) << why;
}

TEST(OutputFile, TwoOutputsNamingOneFileAreRefused) {
    Scratch s;
    spit(s / "a.wav", "x");
    ASSERT_EQ(::symlink("a.wav", (s / "alias.wav").c_str()), 0);
    ASSERT_EQ(::link((s / "a.wav").c_str(), (s / "hard.wav").c_str()), 0);
    fs::create_directories(s.dir / "d");
    ASSERT_EQ(::symlink("d", (s / "dlink").c_str()), 0);
    const std::string here = fs::current_path().string();
    fs::current_path(s.dir);
    std::string why;
    const std::vector<std::vector<std::string>> same = {
        {"a.wav", "b.wav", "a.wav"}, {"./a.wav", s / "a.wav"},         {"alias.wav", "a.wav"},
        {"hard.wav", "a.wav"},       {"d/new.wav", "dlink/../d/new.wav"}, {"-", "x.wav", "-"},
    };
    for (const auto& paths : same) {
        why.clear();
        EXPECT_FALSE(checkDistinctOutputs(paths, &why)) << paths[0] << " " << paths[1];
        EXPECT_FALSE(why.empty());
    }
    EXPECT_NE(why.find("stdout"), std::string::npos) << why;
    checkDistinctOutputs({"./a.wav", "a.wav"}, &why);
    EXPECT_NE(why.find("'./a.wav' and 'a.wav'"), std::string::npos) << why;
    EXPECT_TRUE(checkDistinctOutputs({"a.wav", "d/a.wav", "-", "new.wav", "/dev/null"}, &why)) << why;
    fs::current_path(here);
}

}  // namespace
}  // namespace vortel
