// Failures are never reported as success: times and lengths outside the
// show are refused, output folders ffmpeg could misread stay files, an
// encoder that quits early or writes nothing fails the recording, a reader
// that goes away is reported, and a seed the clock chose is named.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <csignal>
#include <cstdio>

#include "io/json.h"
#include "support/cli_run.h"
#include "support/cli_spawn.h"

namespace vortel {
namespace {

class Refusals : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = scratchPath(std::string("vortel_refuse_") +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Every name under the folder, temporaries included, relative to it.
    std::vector<std::string> names() const {
        std::vector<std::string> v;
        for (const auto& e : fs::recursive_directory_iterator(dir_)) v.push_back(fs::relative(e.path(), dir_).string());
        std::sort(v.begin(), v.end());
        return v;
    }

    fs::path script(const std::string& name, const std::string& body) const {
        const fs::path p = dir_ / name;
        std::ofstream(p) << "#!/bin/sh\n" << body;
        fs::permissions(p, fs::perms::owner_all);
        return p;
    }

    fs::path dir_;
};

int lineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// The show's end for `seed` as --inspect tells it: the song and one second.
float showEndOf(int seed) {
    return Json::parse(run(std::to_string(seed) + " --inspect").out)["songLength"].get<float>() + 1.0f;
}

std::string formatted(const char* format, double v) {
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

TEST_F(Refusals, TimesAndLengthsOutsideTheShowAreUsageErrorsThatGiveItsLength) {
    const float end = showEndOf(7);
    // The length as the messages give it: cut to whole milliseconds.
    const double shown = std::floor(static_cast<double>(end) * 1000) / 1000;
    const std::string lengthText = formatted("%.3f", shown);
    const std::string png = (dir_ / "s.png").string(), video = (dir_ / "v.mkv").string();
    struct Case {
        std::string args;
        bool namesLength;
    } cases[] = {
        {"--still 1000 " + png, true},
        {"--still " + formatted("%.3f", end + 0.01) + " " + png, true},
        {"--inspect --at 1000", true},
        {"--inspect --at " + formatted("%.3f", end + 0.01), true},
        {"--record " + video + " --length " + formatted("%.3f", end + 0.01), true},
        {"--record " + video + " --length 241 --fps 1", true},
        {"--record " + video + " --length 0", false},
        {"--record " + video + " --length 0.0", false},
        {"--record " + video + " --length -1", false},
        {"--record " + video + " --length nan", false},
        {"--record " + video + " --length inf", false},
    };
    for (const Case& c : cases) {
        RunResult r = run("7 " + c.args);
        EXPECT_EQ(r.code, 2) << c.args << ": " << r.err;
        EXPECT_EQ(lineCount(r.err), 1) << c.args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.args << ": " << r.out;
        if (c.namesLength) {
            EXPECT_NE(r.err.find(lengthText + " s"), std::string::npos) << c.args << ": " << r.err;
        }
    }
    EXPECT_TRUE(names().empty());
    // The figure given is itself a time the still accepts: the show's last
    // frame.
    RunResult r = run("7 --still " + lengthText + " " + png);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_GT(fs::file_size(png), 0u);
    r = run("7 --inspect --at " + lengthText);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_FALSE(Json::parse(r.out)["frame"].is_null()) << r.out;
    // The help gives the ranges.
    const std::string help = run("--help").out;
    EXPECT_NE(help.find("to the show's end"), std::string::npos) << help;
    EXPECT_NE(help.find("above 0"), std::string::npos) << help;
}

bool haveFfmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1 && ffprobe -version >/dev/null 2>&1") == 0; }

TEST_F(Refusals, FolderNamesFfmpegCouldReadAsOptionsOrProtocolsStayFiles) {
    if (!haveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    for (const char* folder : {"-d", "http:", "pipe:"}) {
        fs::create_directories(dir_ / folder);
        const std::string target = std::string(folder) + "/x.mkv";
        SpawnOptions o;
        o.cwd = dir_;
        o.pipeStdout = true;
        Spawned p({"5", "--record", target, "--fps", "4", "--length", "0.25"}, o);
        ASSERT_TRUE(p.started());
        // Nothing may come out on stdout (pipe:/x.mkv once sent the video there).
        std::string out;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(p.stdoutFd(), buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
        EXPECT_EQ(p.finish(), 0) << target << ": " << p.err();
        EXPECT_TRUE(out.empty()) << target << ": " << out.size() << " bytes on stdout";
        const fs::path file = dir_ / folder / "x.mkv";
        const std::string cmd = "ffprobe -v error -show_entries stream=codec_type -of csv=p=0 -- 'file:" +
                                file.string() + "' 2>&1";
        std::string streams;
        if (FILE* pr = popen(cmd.c_str(), "r")) {
            while ((n = static_cast<ssize_t>(fread(buf, 1, sizeof buf, pr))) > 0) streams.append(buf, n);
            pclose(pr);
        }
        EXPECT_EQ(streams, "video\naudio\n") << target;
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"-d", "-d/x.mkv", "http:", "http:/x.mkv", "pipe:", "pipe:/x.mkv"}));
}

TEST_F(Refusals, AnEncoderThatQuitsFailsOrWritesNothingFailsTheRecordingInOneLine) {
    const fs::path out = dir_ / "out" / "show.mp4";
    fs::create_directories(out.parent_path());
    const std::string recordArgs = " --record '" + out.string() + "' --fps 6 --length 1";
    // Exits at once with status 0: what failed is that it stopped reading.
    fs::path quick = script("quick.sh", "exit 0\n");
    RunResult r = run("5" + recordArgs, "VORTEL_FFMPEG=" + quick.string());
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.err.find("failed (exit status 0)"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("before it had read the whole"), std::string::npos) << r.err;
    // Fails with a message of its own that names its output file (our
    // temporary): our line comes alone, naming the user's file instead.
    fs::path noisy = script("noisy.sh", "for last in \"$@\"; do :; done\n"
                                        "echo \"noise from the encoder about $last\" >&2\nexit 3\n");
    r = run("5" + recordArgs, "VORTEL_FFMPEG=" + noisy.string());
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_EQ(r.err.rfind("vortel: ffmpeg failed (exit status 3)", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("noise from the encoder about " + out.string()), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(".vortel-"), std::string::npos) << r.err;
    // Bytes that are no text, or that would drive the terminal, are quoted.
    fs::path garbage = script("garbage.sh", "printf 'bad \\033[31mred\\302\\233 \\377\\376 caf\\303\\251\\n' >&2\nexit 3\n");
    r = run("5" + recordArgs, "VORTEL_FFMPEG=" + garbage.string());
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("bad \\x1b[31mred\\xc2\\x9b \\xff\\xfe caf\xc3\xa9"), std::string::npos) << r.err;
    // --verbose passes its messages on as they come.
    r = run("5" + recordArgs + " --verbose", "VORTEL_FFMPEG=" + noisy.string());
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("noise from the encoder about file:/"), std::string::npos) << r.err;
    // Reads everything, says it succeeded, writes nothing.
    fs::path empty = script("empty.sh", "cat >/dev/null\ncat <&3 >/dev/null\nexit 0\n");
    r = run("5" + recordArgs, "VORTEL_FFMPEG=" + empty.string());
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(lineCount(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("wrote nothing"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(out.parent_path()));
}

// A write the system refuses (here the file-size limit, as a full disk
// would) names its cause, and leaves nothing behind.
TEST_F(Refusals, AFailedWriteSaysWhy) {
    for (const std::string& args : {"--still 3 " + (dir_ / "s.png").string(), "--wav " + (dir_ / "a.wav").string()}) {
        const std::string said =
            commandOutput("(ulimit -f 8; " + std::string(VORTEL_BINARY) + " 7 " + args + " 2>&1; echo \"exit $?\")");
        EXPECT_NE(said.find(": File too large\nexit 1\n"), std::string::npos) << args << ": " << said;
        EXPECT_TRUE(names().empty()) << args;
    }
}

TEST_F(Refusals, AReaderThatGoesAwayIsReportedInOneLine) {
    // A FIFO read for ten bytes, then closed; and stdout the same way.
    const fs::path fifo = dir_ / "ff";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (std::vector<std::string> args : {std::vector<std::string>{"9", "--wav", fifo.string()},
                                          std::vector<std::string>{"9", "--still", "2", fifo.string()},
                                          std::vector<std::string>{"9", "--wav", "-"}}) {
        const std::string what = args[1] + " " + args.back();
        SpawnOptions o;
        o.pipeStdout = args.back() == "-";
        Spawned p(args, o);
        ASSERT_TRUE(p.started());
        int reader = o.pipeStdout ? p.stdoutFd() : ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
        std::string got;
        ASSERT_TRUE(p.waitUntil([&] {
            char buf[10];
            struct pollfd pf {reader, POLLIN, 0};
            if (::poll(&pf, 1, 20) > 0) {
                const ssize_t n = ::read(reader, buf, sizeof buf - got.size());
                if (n > 0) got.append(buf, static_cast<size_t>(n));
            }
            return got.size() >= 10;
        })) << what << ": " << p.err();
        if (o.pipeStdout) p.closeStdout();
        else ::close(reader);
        const int code = p.finish();
        EXPECT_EQ(code, 1) << what << ": " << p.err();
        EXPECT_EQ(lineCount(p.err()), 1) << what << ": " << p.err();
        EXPECT_NE(p.err().find("the reader closed the pipe"), std::string::npos) << what << ": " << p.err();
    }
    EXPECT_EQ(names(), std::vector<std::string>{"ff"});
}

TEST_F(Refusals, ASeedTheClockChoseIsNamedSoTheOutputCanBeMadeAgain) {
    for (const char* text : {"nan", "2147483648", "99999999999999999999"}) {
        const fs::path wav = dir_ / "a.wav";
        RunResult r = run(std::string(text) + " --wav '" + wav.string() + "' --force");
        ASSERT_EQ(r.code, 0) << text << ": " << r.err;
        EXPECT_EQ(lineCount(r.err), 1) << text << ": " << r.err;
        const std::string prefix = "vortel: '" + std::string(text) + "' is not a seed; using seed ";
        ASSERT_EQ(r.err.rfind(prefix, 0), 0u) << r.err;
        const std::string seed = r.err.substr(prefix.size(), r.err.find(' ', prefix.size()) - prefix.size());
        // The seed named makes the same file.
        const fs::path again = dir_ / "b.wav";
        r = run(seed + " --wav '" + again.string() + "' --force");
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
        std::ifstream a(wav, std::ios::binary), b(again, std::ios::binary);
        const std::string bytesA((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>());
        const std::string bytesB((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(bytesA == bytesB && bytesA.size() > 44) << text << " then " << seed;
    }
}

}  // namespace
}  // namespace vortel
