#include <gtest/gtest.h>

#include <regex>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/cli_run.h"
#include "support/cli_spawn.h"
#include "io/json.h"
#include "offline/song_render.h"

namespace vortel {
namespace {

namespace fs = std::filesystem;

std::vector<int16_t> readWavSamples(const fs::path& p, uint32_t* declaredBytes) {
    std::ifstream in(p, std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 44) return {};
    *declaredBytes = static_cast<uint8_t>(b[40]) | static_cast<uint8_t>(b[41]) << 8 |
                     static_cast<uint8_t>(b[42]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[43])) << 24;
    std::vector<int16_t> s((b.size() - 44) / 2);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<int16_t>(static_cast<uint8_t>(b[44 + 2 * i]) | static_cast<uint8_t>(b[45 + 2 * i]) << 8);
    return s;
}

TEST(Cli, HelpVersionAndMistakes) {
    RunResult r = run("--help");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Usage: vortel"), std::string::npos);
    r = run("--version");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("vortel ", 0), 0u);
    r = run("1 --frobnicate");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("--frobnicate"), std::string::npos);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    r = run("--wav");
    EXPECT_EQ(r.code, 2);
}

TEST(Cli, InspectReadsTheSeedLikeTheShow) {
    struct Case {
        const char* arg;
        int seed;
    } cases[] = {{"\"  -7xyz\"", -7}, {"+12", 12}, {"1000", 1000}};
    for (const Case& c : cases) {
        RunResult r = run(std::string(c.arg) + " --inspect");
        ASSERT_EQ(r.code, 0) << c.arg << r.err;
        Json j = Json::parse(r.out);
        EXPECT_EQ(j["seed"].get<int>(), c.seed) << c.arg;
        EXPECT_EQ(j["song"]["instances"].size(), 54u);
        EXPECT_TRUE(j["textures"]["patternCrc32"].is_string());
        float bpm = j["bpm"].get<float>();
        EXPECT_GE(bpm, 120.0f);
        EXPECT_LE(bpm, 150.0f);
        EXPECT_NEAR(j["stepLength"].get<float>(), 15.0 / static_cast<double>(bpm), 1e-7);
        EXPECT_FLOAT_EQ(j["songLength"].get<float>(), 512 * j["stepLength"].get<float>());
    }
}

TEST(Cli, WavAndStemsWriteWholeFilesAndNeverOverwriteSilently) {
    fs::path dir = scratchPath("vortel_cli_wav");
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::path wav = dir / "song.wav";
    RunResult r = run("77 --wav " + wav.string());
    ASSERT_EQ(r.code, 0) << r.err;
    Json info = Json::parse(run("77 --inspect").out);
    uint32_t declared = 0;
    std::vector<int16_t> mix = readWavSamples(wav, &declared);
    const int64_t expected = offlineSampleCount(info["songLength"].get<float>());
    EXPECT_EQ(static_cast<int64_t>(mix.size()), expected);
    EXPECT_EQ(declared, expected * 2);

    r = run("77 --wav " + wav.string());
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("--force"), std::string::npos);
    EXPECT_EQ(run("77 --wav " + wav.string() + " --force").code, 0);

    fs::path stems = dir / "stems";
    r = run("77 --stems " + stems.string());
    ASSERT_EQ(r.code, 0) << r.err;
    const float stepLength = info["stepLength"].get<float>();
    const double span = 32.0 * stepLength;
    for (const char* part : {"drums", "hihat", "pad", "bass"}) {
        std::vector<int16_t> s = readWavSamples(stems / (std::string(part) + ".wav"), &declared);
        EXPECT_EQ(static_cast<int64_t>(s.size()), expected) << part;
        int64_t loud = 0;
        for (int16_t v : s) loud += v != 0;
        EXPECT_GT(loud, 0) << part << " is silent";
        if (std::string(part) == "drums") {
            // The drums rest in the first two spans.
            int64_t end = static_cast<int64_t>(2 * span * 22050) - 10;
            for (int64_t i = 0; i < end; ++i) ASSERT_EQ(s[i], 0) << "drums sound at sample " << i;
        }
    }
    r = run("77 --stems " + stems.string());
    EXPECT_EQ(r.code, 2);
    // A folder that cannot be made is refused like any output's.
    for (const std::string& bad : {(stems / "drums.wav" / "sub").string(), std::string("/proc/vortel-stems")}) {
        r = run("77 --stems " + bad);
        EXPECT_EQ(r.code, 2) << bad << ": " << r.err;
        EXPECT_NE(r.err.find("cannot create " + bad), std::string::npos) << r.err;
    }
    fs::remove_all(dir);
}

TEST(Cli, LostStdoutIsAFailureWithAReason) {
    for (const char* args : {"5 --inspect", "--help", "--version", "5 --wav -"}) {
        for (const char* redirect : {" >/dev/full", " >&-"}) {
            RunResult r = run(std::string(args) + redirect);
            EXPECT_EQ(r.code, 1) << args << redirect;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << redirect << ": " << r.err;
            EXPECT_NE(r.err.find("stdout"), std::string::npos) << args << redirect << ": " << r.err;
        }
    }
}

TEST(Cli, DashArgumentsAreOptionsUnlessTheyAreNumbers) {
    RunResult r = run("-h");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Usage: vortel"), std::string::npos);
    for (const char* bad : {"-x --inspect", "--inspect -", "--inspect -seed"}) {
        r = run(bad);
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_TRUE(r.out.empty()) << bad;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << bad << ": " << r.err;
    }
    for (int seed : {-5, -2147483647 - 1}) {
        r = run(std::to_string(seed) + " --inspect");
        ASSERT_EQ(r.code, 0) << seed << r.err;
        EXPECT_EQ(Json::parse(r.out)["seed"].get<int>(), seed);
    }
}

TEST(Cli, WavGoesToPipesAndDevicesAsToFiles) {
    fs::path dir = scratchPath("vortel_cli_pipe");
    fs::remove_all(dir);
    fs::create_directories(dir);
    ASSERT_EQ(run("9 --wav " + (dir / "a.wav").string()).code, 0);
    std::ifstream in(dir / "a.wav", std::ios::binary);
    std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RunResult r = run("9 --wav -");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_GT(file.size(), 44u);
    EXPECT_TRUE(r.out == file) << "stdout differs from the file";
    for (const char* force : {"", " --force"}) {
        // Stops at the first failure: a writer that replaces devices must
        // not get a second go at /dev/null.
        r = run(std::string("9 --wav /dev/null") + force);
        ASSERT_EQ(r.code, 0) << force << r.err;
        EXPECT_TRUE(fs::is_character_file("/dev/null"));
    }
    r = run("9 --inspect --wav -");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.empty());
    fs::remove_all(dir);
}

TEST(Cli, OutputsNamingOneFileAreRefusedBeforeRendering) {
    fs::path dir = scratchPath("vortel_cli_same");
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string d = dir.string();
    for (std::string args : {"--wav " + d + "/drums.wav --stems " + d, "--wav " + d + "/./bass.wav --stems " + d,
                             "--wav " + d + "/a.wav --wav " + d + "/b.wav"}) {
        RunResult r = run("3 " + args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
        EXPECT_TRUE(fs::is_empty(dir)) << args << " wrote something";
    }
    fs::remove_all(dir);
}

TEST(Cli, LibrariesKeepTheirOwnErrorLinesOutOfTheWay) {
    // The live show writes its replay file in the current folder.
    const fs::path dir = scratchPath("vortel_cli_noise");
    fs::remove_all(dir);
    fs::create_directories(dir);
    {
        // No display at all: libwayland would complain of XDG_RUNTIME_DIR
        // before our one line.
        SpawnOptions o;
        o.cwd = dir;
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "XDG_RUNTIME_DIR"}) o.env[name] = std::nullopt;
        Spawned p({"7"}, o);
        ASSERT_TRUE(p.started());
        EXPECT_EQ(p.finish(), 1) << p.err();
        EXPECT_EQ(linesOf(p.err()).size(), 1u) << p.err();
        EXPECT_EQ(p.err().rfind("vortel: no display", 0), 0u) << p.err();
    }
    {
        // ALSA asked for where no sound card can be found (the machines the
        // tests run on have none; a machine with one plays, and says so).
        SpawnOptions o;
        o.cwd = dir;
        o.env["SDL_VIDEODRIVER"] = "offscreen";
        o.env["SDL_AUDIODRIVER"] = "alsa";
        o.env["XDG_RUNTIME_DIR"] = std::nullopt;
        Spawned p({"7", "--verbose"}, o);
        ASSERT_TRUE(p.started());
        ASSERT_TRUE(p.waitUntil([&] {
            return p.err().find("runs silently") != std::string::npos || p.err().find("audio through") != std::string::npos;
        })) << p.err();
        p.signal(SIGINT);
        p.finish();
        for (const std::string& line : linesOf(p.err()))
            EXPECT_EQ(line.rfind("vortel: ", 0), 0u) << "a line not ours: " << line;
        if (p.err().find("runs silently") != std::string::npos) {
            EXPECT_NE(p.err().find("no audio"), std::string::npos) << p.err();
        }
    }
    fs::remove_all(dir);
}

// The live show's options refuse bad values with exit 2 and one line,
// before any window opens.
TEST(Cli, LiveOptionsRefuseBadValuesWithOneLine) {
    for (const char* args : {"5 --start 500", "5 --start -2", "--playlist 3,x", "--playlist 3 --shuffle",
                             "5 --start 3 --inspect", "5 --renderer vulkan"}) {
        RunResult r = run(args, "SDL_VIDEODRIVER=dummy");
        EXPECT_EQ(r.code, 2) << args << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_NE(run("5 --start 500").err.find("past the end of the song of seed 5"), std::string::npos);
}

// A start past the show of a seed the user did not choose (none given, or
// one that does not read) starts that show at its last second instead.
TEST(Cli, StartPastAShowTheClockChoseBeginsAtItsLastSecond) {
    for (const char* args : {"--start 100000 --verbose", "x --start 100000 --verbose"}) {
        RunResult r = run(args, "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy");
        EXPECT_EQ(r.code, 0) << args << ": " << r.err;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(r.err, m, std::regex("past the end of the song of seed -?\\d+ \\(([0-9.]+) s\\); "
                                                             "starting at ([0-9.]+) s"))) << r.err;
        EXPECT_NEAR(std::stod(m[2]), std::stod(m[1]) - 1.0, 2e-3);
        EXPECT_NE(r.err.find("ended (song over)"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace vortel
