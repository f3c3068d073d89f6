#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "io/json.h"
#include "offline/gallery_command.h"
#include "offline/gallery_page.h"
#include "offline/inspect.h"
#include "offline/show_layout.h"
#include "offline/show_summary.h"
#include "support/cli_run.h"
#include "support/cli_spawn.h"

namespace vortel {
namespace {

// How often `needle` occurs in `text`.
size_t count(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++n;
    return n;
}

std::string names(const Json& list) {
    std::string out;
    for (const Json& n : list) out += n.get<std::string>() + " ";
    return out;
}

// The summary worked out again from --inspect's clip list alone: spans are
// 32 steps of song time from 0, and a clip runs in every span its
// [start, start + duration) reaches into by more than a rounding step.
TEST(ShowSummary, AgreesWithTheInspectedTimelineOverManySeeds) {
    for (int32_t seed : {1, 7, 42, 1234, 2026, 99999, -5, 2147483647}) {
        const Json shown = inspectShow(showLayout(seed));
        const Json summary = showSummary(showLayout(seed));
        SCOPED_TRACE("seed " + std::to_string(seed));
        EXPECT_EQ(summary["seed"].get<int64_t>(), seed);
        EXPECT_EQ(summary["bpm"].get<float>(), shown["bpm"].get<float>());
        EXPECT_EQ(summary["songLength"].get<float>(), shown["songLength"].get<float>());
        const double span = 32.0 * shown["stepLength"].get<float>();
        const int spans = static_cast<int>(std::lround(shown["songLength"].get<float>() / span));
        ASSERT_EQ(spans, 16);
        ASSERT_EQ(summary["spans"].size(), 16u);
        for (int i = 0; i < spans; ++i) {
            Json want = Json::object({{"camera", Json::array()}, {"scenes", Json::array()}, {"post", Json::array()}});
            const char* order[][2] = {{"camera", "camera"}, {"backdrop", "scenes"}, {"foreground", "scenes"},
                                      {"postA", "post"},    {"postB", "post"}};
            for (const auto& [lane, key] : order)
                for (const Json& c : shown["timeline"]) {
                    if (c["lane"] != lane || c["action"].is_null()) continue;
                    const double begin = c["start"].get<float>(), end = begin + c["duration"].get<float>();
                    if (begin < (i + 1) * span - 1e-2 && end > i * span + 1e-2) {
                        Json& list = want[key];
                        if (std::find(list.begin(), list.end(), c["action"]) == list.end()) list.push_back(c["action"]);
                    }
                }
            const Json& got = summary["spans"][i];
            EXPECT_EQ(got["span"].get<int>(), i);
            EXPECT_NEAR(got["start"].get<float>(), i * span, 1e-3);
            for (const char* key : {"camera", "scenes", "post"})
                EXPECT_EQ(names(got[key]), names(want[key])) << key << " of span " << i;
            // Both scene lanes run in every span; so does some post pass.
            EXPECT_GE(got["scenes"].size(), 2u);
            EXPECT_GE(got["post"].size(), 1u);
        }
    }
}

// A summary as --summary writes it, with these scenes in every span.
Json fixtureSummary(int64_t seed, double bpm, const std::vector<std::string>& scenes) {
    Json spans = Json::array();
    for (int i = 0; i < 16; ++i) {
        Json s = Json::object();
        s["span"] = i;
        s["scenes"] = Json::array();
        for (const std::string& n : scenes) s["scenes"].push_back(n);
        s["post"] = Json::array({i % 2 ? "GlowPass" : "TintPass"});
        spans.push_back(std::move(s));
    }
    return Json{{"seed", seed}, {"bpm", static_cast<float>(bpm)}, {"songLength", 63.5f}, {"spans", spans}};
}

GalleryEntry entryOf(const Json& summary, const std::string& folder) {
    GalleryEntry e;
    std::string why;
    EXPECT_TRUE(galleryEntryFromSummary(summary, &e, &why)) << why;
    e.folder = folder;
    return e;
}

const std::string kHostile = "<img src=x onerror=alert(1)>\"'&`</script><script>alert(2)</script>";

TEST(GalleryPage, EveryCardCarriesItsFilterDataAndNothingHostileGetsThrough) {
    std::vector<GalleryEntry> entries = {
        entryOf(fixtureSummary(7, 118.25, {"ShapeTunnelScene", "ShapeVortexScene"}), "7"),
        entryOf(fixtureSummary(42, 131.0, {"RoomScene", "CubeFieldScene"}), "42"),
        entryOf(fixtureSummary(-3, 125.5, {"RoomScene", kHostile}), kHostile),
    };
    entries[0].hasThumb = true;
    const std::string html = galleryIndexHtml(entries);

    // One card per entry, in order, with its data.
    std::regex card("<a class=\"card\" href=\"([^\"]*)\" data-seed=\"([^\"]*)\" data-bpm=\"([^\"]*)\" "
                    "data-length=\"([^\"]*)\" data-scenes=\"([^\"]*)\">");
    std::vector<std::smatch> cards;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), card); it != std::sregex_iterator(); ++it)
        cards.push_back(*it);
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(count(html, "data-seed="), 3u);
    EXPECT_EQ(cards[0][2], "7");
    EXPECT_EQ(cards[1][2], "42");
    EXPECT_EQ(cards[2][2], "-3");
    EXPECT_NEAR(std::stod(cards[0][3]), 118.25, 1e-3);
    EXPECT_NEAR(std::stod(cards[1][3]), 131.0, 1e-3);
    EXPECT_NEAR(std::stod(cards[2][4]), 63.5, 1e-2);
    EXPECT_EQ(cards[0][5], "|ShapeTunnelScene|ShapeVortexScene|");
    EXPECT_EQ(cards[1][5], "|RoomScene|CubeFieldScene|");
    EXPECT_EQ(cards[0][1], "seeds/7/index.html");
    // The hostile folder name is one percent-encoded path segment.
    EXPECT_EQ(cards[2][1], "seeds/%3Cimg%20src%3Dx%20onerror%3Dalert%281%29%3E%22%27%26%60%3C%2Fscript%3E%3Cscript%3E"
                           "alert%282%29%3C%2Fscript%3E/index.html");
    // Only the first card has a picture.
    EXPECT_EQ(count(html, "<img class=\"thumb\""), 1u);
    EXPECT_NE(html.find("src=\"seeds/7/thumb.jpg\""), std::string::npos);

    // A check box per distinct scene; the tempo bounds span the data.
    for (const char* s : {"ShapeTunnelScene", "ShapeVortexScene", "RoomScene", "CubeFieldScene"})
        EXPECT_EQ(count(html, std::string("type=\"checkbox\" value=\"") + s + "\""), 1u) << s;
    EXPECT_EQ(count(html, "type=\"checkbox\""), 5u);
    EXPECT_NE(html.find("id=\"bpm-min\" step=\"any\" placeholder=\"118\""), std::string::npos);
    EXPECT_NE(html.find("id=\"bpm-max\" step=\"any\" placeholder=\"131\""), std::string::npos);

    // The hostile text appears only escaped: the page's own script is its
    // only script, and no tag or attribute came from the data.
    EXPECT_EQ(count(html, "<script"), 1u);
    EXPECT_EQ(count(html, "</script>"), 1u);
    EXPECT_EQ(html.find("<img src=x"), std::string::npos);
    const std::string escaped = "&lt;img src=x onerror=alert(1)&gt;&quot;&#39;&amp;&#96;&lt;/script&gt;";
    EXPECT_EQ(count(html, escaped), 4u);  // its check box, its label, its card's scene list and chip
    // Every attribute value is closed by the next quote, so none holds a raw quote.
    std::regex attr(" [a-z-]+=\"[^\"<>]*\"");
    const std::string tags = std::regex_replace(html.substr(0, html.find("<script>")), attr, "");
    EXPECT_EQ(tags.find("=\""), std::string::npos);
}

TEST(GalleryPage, TheSeedPageLabelsEverySpanAndSaysHowToPlayIt) {
    Json summary = fixtureSummary(2026, 124.0, {"ShapeTunnelScene", "LineWalkScene"});
    summary["spans"][5]["scenes"] = Json::array({"RoomScene", kHostile});
    GalleryEntry e = entryOf(summary, "2026");
    e.hasSheet = true;
    std::string html = gallerySeedHtml(e);
    EXPECT_EQ(count(html, "class=\"cell\""), 16u);
    std::regex cell("data-span=\"(\\d+)\"[^>]*><span>(\\d+) &middot; ([^<]*)<br><span class=\"post\">([^<]*)</span>");
    int cells = 0;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), cell); it != std::sregex_iterator(); ++it, ++cells) {
        const int span = std::stoi((*it)[1]);
        EXPECT_EQ(std::stoi((*it)[2]), span + 1);
        EXPECT_EQ((*it)[3], span == 5 ? "room + " + escapeHtml(kHostile) : "tunnel + lines");
        EXPECT_EQ((*it)[4], span % 2 ? "glow" : "tint");
    }
    EXPECT_EQ(cells, 16);
    EXPECT_NE(html.find("vortel 2026\nvortel 2026 --record seed-2026.mp4"), std::string::npos);
    EXPECT_NE(html.find("<img src=\"sheet.png\""), std::string::npos);
    EXPECT_EQ(html.find("<video"), std::string::npos);
    EXPECT_EQ(count(html, "<script"), 0u);
    e.hasPreview = true;
    EXPECT_NE(gallerySeedHtml(e).find("<video controls preload=\"metadata\" src=\"preview.mp4\">"), std::string::npos);
}

TEST(GalleryPage, SummariesThatDoNotReadAreRefused) {
    GalleryEntry e;
    std::string why;
    const Json good = fixtureSummary(5, 120, {"RoomScene"});
    EXPECT_TRUE(galleryEntryFromSummary(good, &e, &why)) << why;
    EXPECT_EQ(e.spans.size(), 16u);
    for (const char* key : {"seed", "bpm", "songLength", "spans"}) {
        Json bad = good;
        bad.erase(key);
        EXPECT_FALSE(galleryEntryFromSummary(bad, &e, &why)) << key;
        bad[key] = "text";
        EXPECT_FALSE(galleryEntryFromSummary(bad, &e, &why)) << key;
    }
    Json bad = good;
    bad["seed"] = int64_t{1} << 40;
    EXPECT_FALSE(galleryEntryFromSummary(bad, &e, &why));
    bad = good;
    bad["spans"][3]["scenes"] = Json::array({1, 2});
    EXPECT_FALSE(galleryEntryFromSummary(bad, &e, &why));
    EXPECT_FALSE(galleryEntryFromSummary(Json::array(), &e, &why));
}

class GalleryCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = scratchPath(std::string("vortel_gallery_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    void put(const std::string& folder, const std::string& text) {
        fs::create_directories(dir_ / "seeds" / folder);
        std::ofstream(dir_ / "seeds" / folder / "summary.json") << text;
    }
    std::string read(const fs::path& p) {
        std::ifstream in(p);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The temporaries left anywhere under `root`, links not followed.
    static int temporaries(const fs::path& root) {
        int n = 0;
        for (const auto& f : fs::recursive_directory_iterator(root))
            n += f.path().filename().string().rfind(".vortel-", 0) == 0;
        return n;
    }
    fs::path dir_;
};

// The sanitizers reserve more address space than any `ulimit -v` allows.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

TEST_F(GalleryCommand, SummaryOptionWritesTheSeedsSummaryOnlyWhereAllowed) {
    const fs::path file = dir_ / "s.json";
    RunResult r = run("1999 --summary '" + file.string() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(read(file), dumpJson(showSummary(showLayout(1999))) + "\n");
    // Never over an existing file without --force, and stdout only once.
    r = run("7 --summary '" + file.string() + "'");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("s.json"), std::string::npos) << r.err;
    EXPECT_EQ(read(file), dumpJson(showSummary(showLayout(1999))) + "\n");
    EXPECT_EQ(run("7 --summary '" + file.string() + "' --force").code, 0);
    EXPECT_EQ(read(file), dumpJson(showSummary(showLayout(7))) + "\n");
    EXPECT_EQ(run("7 --summary - --inspect").code, 2);
    r = run("7 --summary -");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, dumpJson(showSummary(showLayout(7))) + "\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(GalleryCommand, BuildsThePagesFromTheSummariesThatRead) {
    put("12", dumpJson(fixtureSummary(12, 120, {"RoomScene"})));
    put("3", dumpJson(fixtureSummary(3, 125, {"ShapeVortexScene"})));
    put("broken", "{\"seed\": ");
    fs::create_directories(dir_ / "seeds" / "empty");
    std::ofstream(dir_ / "seeds" / "3" / "thumb.jpg") << "x";
    RunResult r = run("--gallery-page '" + dir_.string() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("broken"), std::string::npos) << r.err;
    const std::string index = read(dir_ / "index.html");
    // Sorted by seed, the unreadable one left out.
    const size_t a = index.find("data-seed=\"3\""), b = index.find("data-seed=\"12\"");
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    EXPECT_LT(a, b);
    EXPECT_EQ(count(index, "data-seed="), 2u);
    EXPECT_NE(index.find("src=\"seeds/3/thumb.jpg\""), std::string::npos);
    EXPECT_TRUE(fs::exists(dir_ / "seeds" / "3" / "index.html"));
    EXPECT_TRUE(fs::exists(dir_ / "seeds" / "12" / "index.html"));
    EXPECT_FALSE(fs::exists(dir_ / "seeds" / "broken" / "index.html"));
    // A rebuild replaces the derived pages.
    put("5", dumpJson(fixtureSummary(5, 122, {"RoomScene"})));
    ASSERT_EQ(run("--gallery-page '" + dir_.string() + "'").code, 0);
    EXPECT_EQ(count(read(dir_ / "index.html"), "data-seed="), 3u);
    // It takes a folder, and nothing else.
    EXPECT_EQ(run("--gallery-page '" + (dir_ / "nothere").string() + "'").code, 2);
    EXPECT_EQ(run("5 --gallery-page '" + dir_.string() + "'").code, 2);
    EXPECT_EQ(run("--gallery-page '" + dir_.string() + "' --inspect").code, 2);
}

// The pages land only inside the gallery folder: a link where a page goes is
// replaced, never written through, and a seed folder, a summary or the seeds
// folder that is a link is not used.
// A signal ends the run between two pages: every page whole, no
// temporary, no index, exit 1.
TEST_F(GalleryCommand, ASignalStopsItBetweenPages) {
    const std::string summary = dumpJson(fixtureSummary(1, 120, {"RoomScene"}));
    for (int seed = 1; seed <= 3000; ++seed) put(std::to_string(seed), summary);
    for (int sig : {SIGINT, SIGHUP}) {
        fs::remove(dir_ / "index.html");
        for (int seed = 1; seed <= 3000; ++seed) fs::remove(dir_ / "seeds" / std::to_string(seed) / "index.html");
        Spawned p({"--gallery-page", dir_.string()});
        ASSERT_TRUE(p.started());
        std::error_code ec;
        ASSERT_TRUE(p.waitUntil([&] { return fs::exists(dir_ / "seeds" / "100" / "index.html", ec); })) << p.err();
        p.signal(sig);
        EXPECT_EQ(p.finish(), 1) << p.err();
        EXPECT_NE(p.err().find("vortel: interrupted; " + (dir_ / "index.html").string() + " not rebuilt"),
                  std::string::npos)
            << p.err();
        EXPECT_FALSE(fs::exists(dir_ / "index.html"));
        for (const auto& e : fs::recursive_directory_iterator(dir_))
            EXPECT_NE(e.path().filename().string().rfind(".vortel-", 0), 0u) << e.path();
    }
}

TEST_F(GalleryCommand, NeverWritesThroughSymbolicLinks) {
    const fs::path away = dir_.string() + "_away", seeds = dir_ / "seeds";
    fs::remove_all(away);
    fs::create_directories(away / "seed9");
    std::ofstream(away / "victim.html") << "precious";
    std::ofstream(away / "seed9" / "summary.json") << dumpJson(fixtureSummary(9, 120, {"RoomScene"}));
    put("5", dumpJson(fixtureSummary(5, 120, {"RoomScene"})));
    put("6", "");
    fs::remove(seeds / "6" / "summary.json");
    fs::create_symlink(away / "seed9" / "summary.json", seeds / "6" / "summary.json");
    fs::create_symlink(away / "victim.html", seeds / "5" / "index.html");
    fs::create_symlink(away / "created.html", dir_ / "index.html");  // dangling
    fs::create_directory_symlink(away / "seed9", seeds / "9");

    RunResult r = run("--gallery-page '" + dir_.string() + "'");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(read(away / "victim.html") == "precious") << "the link's target was written";
    EXPECT_FALSE(fs::exists(fs::symlink_status(away / "created.html")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(away / "seed9" / "index.html")));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir_ / "index.html")));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(seeds / "5" / "index.html")));
    EXPECT_NE(read(seeds / "5" / "index.html").find("<h1>Seed 5</h1>"), std::string::npos);
    const std::string index = read(dir_ / "index.html");
    EXPECT_EQ(count(index, "data-seed="), 1u);
    EXPECT_EQ(count(r.err, "\n"), 2u) << r.err;
    EXPECT_EQ(count(r.err, (seeds / "9").string() + " left out: a symbolic link\n"), 1u) << r.err;
    EXPECT_EQ(count(r.err, (seeds / "6" / "summary.json").string() + " left out: a symbolic link\n"), 1u) << r.err;

    // A page that cannot be put in place (a folder by its name) costs its
    // card and the run's success, and leaves no temporary.
    fs::remove(seeds / "5" / "index.html");
    fs::create_directories(seeds / "5" / "index.html" / "x");
    r = run("--gallery-page '" + dir_.string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find((seeds / "5").string() + " left out: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find((seeds / "5" / "index.html").string()), std::string::npos) << r.err;
    EXPECT_EQ(count(read(dir_ / "index.html"), "data-seed="), 0u);
    EXPECT_EQ(temporaries(dir_) + temporaries(away), 0);
    fs::remove_all(seeds / "5" / "index.html");
    ASSERT_EQ(run("--gallery-page '" + dir_.string() + "'").code, 0);
    EXPECT_EQ(read(dir_ / "index.html"), index);

    // A seeds folder that is a link would take every seed's page elsewhere.
    fs::remove(seeds / "5" / "index.html");
    fs::rename(seeds, away / "seeds");
    fs::create_directory_symlink(away / "seeds", seeds);
    r = run("--gallery-page '" + dir_.string() + "'");
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("symbolic link"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(away / "seeds" / "5" / "index.html")) << r.err;
    EXPECT_EQ(read(dir_ / "index.html"), index);
    EXPECT_EQ(temporaries(dir_) + temporaries(away), 0);
    fs::remove_all(away);
}

// Every summary that is too big, no regular file, unreadable or out of range
// is left out with one line saying why, and the rest make the pages. Nothing
// is read whole that is too big: 3 GB of nothing under a 2 GB address space.
TEST_F(GalleryCommand, LeavesOutOddBigAndOutOfRangeSummariesWithOneLineEach) {
    const Json good = fixtureSummary(1, 120, {"RoomScene"});
    put("1", dumpJson(good));
    const std::string two = dumpJson(fixtureSummary(2, 120, {"RoomScene"}));
    put("2", two + std::string(kMaxGallerySummaryBytes - two.size(), ' '));  // exactly the most
    put("over", two + std::string(kMaxGallerySummaryBytes + 1 - two.size(), ' '));
    put("huge", "");
    fs::resize_file(dir_ / "seeds" / "huge" / "summary.json", uintmax_t{3} << 30);
    Json bad = good;
    bad["seed"] = std::numeric_limits<uint64_t>::max();
    put("unsigned", dumpJson(bad));
    bad = good;
    bad["songLength"] = 3.4e38f;
    put("long", dumpJson(bad));
    bad = good;
    bad["bpm"] = 0;
    put("still", dumpJson(bad));
    fs::create_directories(dir_ / "seeds" / "folder" / "summary.json");
    fs::create_directories(dir_ / "seeds" / "fifo");
    ASSERT_EQ(::mkfifo((dir_ / "seeds" / "fifo" / "summary.json").c_str(), 0644), 0);
    fs::create_directories(dir_ / "seeds" / "loop");
    fs::create_symlink("summary.json", dir_ / "seeds" / "loop" / "summary.json");
    // Unreadable: root reads anything, so as root the program runs as nobody.
    const std::string asNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    const bool root = ::geteuid() == 0, setpriv = commandOutput(asNobody + "true 2>/dev/null && echo ok") == "ok\n";
    if (!root || setpriv) {
        put("locked", dumpJson(good));
        fs::permissions(dir_ / "seeds" / "locked" / "summary.json", fs::perms::none);
    }
    for (const auto& f : fs::recursive_directory_iterator(dir_))
        if (fs::is_directory(f.symlink_status())) fs::permissions(f.path(), fs::perms::all);
    fs::permissions(dir_, fs::perms::all);

    std::string cmd = kSanitized ? "" : "ulimit -v 2097152; ";
    if (root && setpriv) cmd += asNobody;
    const std::string out =
        commandOutput(cmd + VORTEL_BINARY + " --gallery-page '" + dir_.string() + "' 2>&1; echo \"exit $?\"");
    EXPECT_EQ(out.substr(out.rfind("exit")), "exit 0\n") << out;
    const std::string limit = "over the 1048576 bytes a summary may have";
    std::vector<std::pair<std::string, std::string>> refused = {
        {"huge", "3221225472 bytes, " + limit},
        {"over", "1048577 bytes, " + limit},
        {"unsigned", "\"seed\" out of range"},
        {"long", "\"songLength\" 3.4e+38 is not in (0, 3600]"},
        {"still", "\"bpm\" 0 is not in (0, 1000]"},
        {"folder", "a folder"},
        {"fifo", "a FIFO"},
        {"loop", "a symbolic link"},
    };
    if (!root || setpriv) refused.emplace_back("locked", std::strerror(EACCES));
    for (const auto& [folder, why] : refused) {
        const std::string line = (dir_ / "seeds" / folder / "summary.json").string() + " left out: " + why + "\n";
        EXPECT_EQ(count(out, line), 1u) << line << out;
        EXPECT_FALSE(fs::exists(dir_ / "seeds" / folder / "index.html")) << folder;
    }
    EXPECT_EQ(count(out, "\n"), refused.size() + 1) << out;
    const std::string index = read(dir_ / "index.html");
    EXPECT_EQ(count(index, "data-seed=\"1\""), 1u);
    EXPECT_EQ(count(index, "data-seed=\"2\""), 1u);
    EXPECT_EQ(count(index, "data-seed="), 2u);
    EXPECT_TRUE(fs::exists(dir_ / "seeds" / "2" / "index.html"));
}

}  // namespace
}  // namespace vortel
