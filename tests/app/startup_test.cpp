#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "core/rng.h"
#include "core/song_layout.h"
#include "app/options.h"
#include "core/rng.h"
#include "app/startup.h"
#include "app/live_options.h"
#include "song/song_setup.h"

namespace vortel {
namespace {

TEST(Seed, ReadLikeAStreamExtractsAnInt) {
    EXPECT_EQ(parseSeed("1234"), 1234);
    EXPECT_EQ(parseSeed("  -7xyz"), -7);
    EXPECT_EQ(parseSeed("+12"), 12);
    EXPECT_EQ(parseSeed("\t42 99"), 42);
    EXPECT_EQ(parseSeed("-2147483648"), INT32_MIN);
    EXPECT_EQ(parseSeed("2147483647"), INT32_MAX);
    // No number at the start, or one out of range: the caller uses the clock.
    EXPECT_EQ(parseSeed(""), std::nullopt);
    EXPECT_EQ(parseSeed("abc"), std::nullopt);
    EXPECT_EQ(parseSeed("-"), std::nullopt);
    EXPECT_EQ(parseSeed("99999999999"), std::nullopt);
    EXPECT_EQ(parseSeed("2147483648"), std::nullopt);
}

// A playlist's seeds read exactly as the seed on the command line does; an
// item that is no seed refuses the list (there is no clock to fall back on).
TEST(Seed, PlaylistItemsReadAsTheCommandLineSeed) {
    const std::vector<std::string> items = {"5", " 5", "\t-7", "+12", "42x", "-2147483648", "2147483647",
                                            "2147483648", "", "x", "-", " ", "99999999999"};
    for (const std::string& a : items)
        for (const std::string& b : items) {
            const auto list = parseSeedList(a + "," + b, nullptr);
            const auto first = parseSeed(a), second = parseSeed(b);
            SCOPED_TRACE("'" + a + "," + b + "'");
            ASSERT_EQ(list.has_value(), first && second);
            if (list) {
                EXPECT_EQ(*list, (std::vector<int32_t>{*first, *second}));
            }
        }
}

TEST(Texts, TitleAndReplayLine) {
    EXPECT_EQ(windowTitle(1234), "KELMA: VORTEL 1234");
    EXPECT_EQ(windowTitle(-7), "KELMA: VORTEL -7");
    EXPECT_EQ(replayLine(1234), "vortelWindow.exe 1234");
}

TEST(ReplayFile, HoldsExactlyTheLineAndTruncatesAnOldOne) {
    auto dir = std::filesystem::temp_directory_path() / "vortel_replay_test";
    std::filesystem::create_directories(dir);
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    {
        std::ofstream f(kReplayFileName);
        f << "a much longer line that must disappear completely\n";
    }
    std::string err;
    ASSERT_TRUE(writeReplayFile(1234, &err)) << err;
    std::ifstream in(kReplayFileName, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "vortelWindow.exe 1234");
    EXPECT_EQ(content.size(), 21u);
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
}

TEST(ReplayFile, UnwritableFolderReportsWhy) {
    auto dir = std::filesystem::temp_directory_path() / "vortel_replay_blocked";
    std::filesystem::create_directories(dir / kReplayFileName);  // a folder in the file's place
    auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    std::string err;
    EXPECT_FALSE(writeReplayFile(5, &err));
    EXPECT_NE(err.find(kReplayFileName), std::string::npos);
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
}

// Finds a seed whose tempo draw (the first draw after seeding) is r.
TEST(Song, TempoStepAndLengthFollowTheFirstDraw) {
    SongLayout s;
    Generator rng, model;
    for (int32_t seed : {1, 2, 1000, -7, 1234}) {
        s.seed = seed;
        setupSong(s, rng);
        model.srand(static_cast<uint32_t>(seed));
        int r = model.rand();
        EXPECT_EQ(rng.state, model.state);  // exactly one draw
        double bpm = 120.0 + r * static_cast<double>(0.0009155553f);
        EXPECT_EQ(s.bpm, static_cast<float>(bpm));
        EXPECT_EQ(s.stepLength, static_cast<float>(15.0 / bpm));
        EXPECT_EQ(s.sectionCount, 4);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(s.spanCount[i], 4);
        EXPECT_EQ(s.spanCount[4], 0);
        EXPECT_FLOAT_EQ(s.songLength, 512.0f * s.stepLength);
        EXPECT_GE(s.bpm, 120.0f);
        EXPECT_LE(s.bpm, 150.0f);
    }
    // seed 1: first draw 41.
    s.seed = 1;
    setupSong(s, rng);
    EXPECT_NEAR(s.bpm, 120.0 + 41 * 30.0 / 32767, 1e-4);
}

TEST(Song, ExtremeDrawsGiveTheTempoBounds) {
    // Search seeds for draws of 0 and 32767 to check both ends of the range.
    SongLayout s;
    Generator rng, model;
    bool sawLow = false, sawHigh = false;
    for (int32_t seed = 0; seed < 2000000 && !(sawLow && sawHigh); ++seed) {
        model.srand(static_cast<uint32_t>(seed));
        int r = model.rand();
        if (r != 0 && r != 32767) continue;
        s.seed = seed;
        setupSong(s, rng);
        if (r == 0) {
            sawLow = true;
            EXPECT_EQ(s.bpm, 120.0f);
            EXPECT_EQ(s.stepLength, 0.125f);
            EXPECT_EQ(s.songLength, 64.0f);
        } else {
            sawHigh = true;
            EXPECT_NEAR(s.bpm, 150.0f, 1e-4);
            EXPECT_NEAR(s.stepLength, 0.1f, 1e-7);
            EXPECT_NEAR(s.songLength, 51.2f, 1e-4);
        }
    }
    EXPECT_TRUE(sawLow);
    EXPECT_TRUE(sawHigh);
}

TEST(Options, SeedIsTheFirstPositionalArgument) {
    auto r = parseOptions({"--verbose", "  -7xyz", "--no-vsync"});
    ASSERT_TRUE(r.error.empty());
    EXPECT_EQ(r.options.seedText, "  -7xyz");
    EXPECT_TRUE(r.options.verbose);
    EXPECT_TRUE(r.options.noVsync);

    r = parseOptions({"--wav", "song.wav", "12"});
    ASSERT_TRUE(r.error.empty());
    EXPECT_EQ(r.options.offline.wavPath, "song.wav");
    EXPECT_EQ(r.options.seedText, "12");  // an option's value is not the seed

    r = parseOptions({"--stems=out", "-5"});
    ASSERT_TRUE(r.error.empty());
    EXPECT_EQ(r.options.offline.stemsDir, "out");
    EXPECT_EQ(r.options.seedText, "-5");

    r = parseOptions({});
    EXPECT_TRUE(r.error.empty());
    EXPECT_FALSE(r.options.seedText.has_value());
}

TEST(Options, MistakesAreNamed) {
    auto r = parseOptions({"1", "--frobnicate"});
    EXPECT_NE(r.error.find("--frobnicate"), std::string::npos);
    r = parseOptions({"--wav"});
    EXPECT_NE(r.error.find("--wav"), std::string::npos);
    r = parseOptions({"1", "2"});
    EXPECT_NE(r.error.find("'2'"), std::string::npos);
    r = parseOptions({"--verbose=yes"});
    EXPECT_FALSE(r.error.empty());
}

// Each option of the table is listed in --help with its placeholders and is
// read in the form listed there (a single value also as --name=VALUE, a value
// refused when given twice); no name is in the table twice.
TEST(Options, EveryOptionIsListedAndReadAsTheHelpSays) {
    const std::map<std::string, std::string> example = {
        {"SECONDS", "1.5"}, {"FILE", "a.mkv"}, {"FILE.png", "a.png"}, {"FILE.json", "a.json"},
        {"N", "30"}, {"DIR", "d"}, {"SEED[,SEED...]", "3,-7"}, {"ID", "0x1a00007"}, {"arb|glsl", "glsl"}};
    const std::string help = usageText();
    std::set<std::string> names;
    // The option's values as the help names them, each replaced by an example.
    auto valuesOf = [&](const OptionSpec& spec) {
        std::vector<std::string> values;
        std::istringstream words(spec.values ? spec.values : "");
        for (std::string w; words >> w;) {
            EXPECT_TRUE(example.count(w)) << "no example value for " << w;
            values.push_back(example.count(w) ? example.at(w) : w);
        }
        return values;
    };
    for (const OptionSpec& spec : optionTable()) {
        std::string label = spec.shortName ? std::string(spec.shortName) + ", " + spec.name : spec.name;
        if (spec.values) label += std::string(" ") + spec.values;
        EXPECT_NE(help.find("\n  " + label), std::string::npos) << label;
        std::vector<std::string> partner;  // the option it goes with, with its values
        for (const OptionSpec& other : optionTable())
            if (spec.goesWith && spec.goesWith == std::string(other.name)) {
                partner = valuesOf(other);
                partner.insert(partner.begin(), other.name);
            }
        EXPECT_EQ(spec.goesWith != nullptr, !partner.empty()) << label << " goes with no option of the table";
        const std::vector<std::string> values = valuesOf(spec);
        for (const char* name : {spec.shortName, spec.name}) {
            if (!name) continue;
            EXPECT_TRUE(names.insert(name).second) << name << " is in the table twice";
            std::vector<std::vector<std::string>> forms = {{name}};
            forms[0].insert(forms[0].end(), values.begin(), values.end());
            if (values.size() == 1) forms.push_back({std::string(name) + "=" + values[0]});
            for (const std::vector<std::string>& form : forms) {
                std::vector<std::string> args = form;
                args.insert(args.end(), partner.begin(), partner.end());
                EXPECT_EQ(parseOptions(args).error, "") << args[0];
                args.insert(args.end(), form.begin(), form.end());
                EXPECT_EQ(parseOptions(args).error.find("given twice") != std::string::npos, !values.empty()) << args[0];
            }
        }
    }
}

}  // namespace
}  // namespace vortel
