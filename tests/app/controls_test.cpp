#include <gtest/gtest.h>

#include <climits>

#include "app/controls.h"
#include "app/live_options.h"
#include "app/options.h"
#include "app/overlay_text.h"
#include "app/show_clock.h"
#include "song/song_setup.h"

namespace vortel {
namespace {

std::vector<KeyPress> keys(std::initializer_list<std::pair<Key, bool>> list) {
    std::vector<KeyPress> v;
    for (auto [k, r] : list) v.push_back({k, r});
    return v;
}

TEST(Controls, AFramesPressesFoldInOrderAndRepeatsCountOnlyForSeeks) {
    Controls c = readControls(keys({{Key::Space, false}, {Key::Space, true}, {Key::I, false}, {Key::I, false},
                                    {Key::H, false}, {Key::S, true}}));
    EXPECT_TRUE(c.togglePause);  // the repeat of a held Space is not a second press
    EXPECT_FALSE(c.toggleInfo);  // pressed twice: back as it was
    EXPECT_TRUE(c.toggleGuide);
    EXPECT_FALSE(c.save);
    EXPECT_FALSE(c.seek);

    c = readControls(keys({{Key::Right, false}, {Key::Right, true}, {Key::Right, true}, {Key::Left, false}}));
    EXPECT_TRUE(c.seek);
    EXPECT_FALSE(c.seekFrom);
    EXPECT_EQ(c.seekBy, 10.0f);
    c = readControls(keys({{Key::Right, false}, {Key::Home, false}, {Key::Left, false}}));
    EXPECT_EQ(c.seekFrom, 0.0f);  // Home forgets what came before it
    EXPECT_EQ(c.seekBy, -5.0f);

    c = readControls(keys({{Key::N, false}, {Key::N, true}, {Key::R, false}, {Key::N, false}, {Key::N, false},
                           {Key::P, false}, {Key::F1, false}}));
    EXPECT_TRUE(c.randomSeed);
    EXPECT_EQ(c.seedStep, 1);  // counted from the random seed
    EXPECT_TRUE(c.toggleGuide);
    EXPECT_FALSE(readControls({}).any());

    EXPECT_EQ(stepSeed(5, 1), 6);
    EXPECT_EQ(stepSeed(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(stepSeed(INT32_MIN, -1), INT32_MAX);
    EXPECT_EQ(stepSeed(0, -40), -40);
}

TEST(ShowClock, RunsFromItsAnchorHoldsWhilePausedAndJumpsOnSeeks) {
    ShowClock c;
    c.start(0xFFFFFF00u, 0);  // across the tick counter's wrap
    EXPECT_EQ(c.at(0xFFFFFF00u + 1500u), elapsedSeconds(0xFFFFFF00u, 0xFFFFFF00u + 1500u));
    c.pauseAt(1.25f);
    EXPECT_EQ(c.at(5000), 1.25f);
    EXPECT_EQ(c.at(90000), 1.25f);
    c.resume(90000);
    EXPECT_NEAR(c.at(90500), 1.75f, 1e-6);
    c.seek(91000, 30.0f);
    EXPECT_NEAR(c.at(92000), 31.0f, 1e-5);
    c.pauseAt(31.0f);
    c.seek(93000, 10.0f);  // paused, a seek moves the held time
    EXPECT_EQ(c.at(99000), 10.0f);
}

TEST(LiveOptions, StartPlaylistShuffleAndWindowAreReadAndChecked) {
    auto parse = [](std::vector<std::string> a) { return parseOptions(a); };
    ParseResult r = parse({"5", "--start", "12.5", "--shuffle"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.startSeconds, 12.5f);
    EXPECT_TRUE(r.options.shuffle);
    r = parse({"--playlist=3,-7,+9,2147483647"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.playlist, (std::vector<int32_t>{3, -7, 9, 2147483647}));
    r = parse({"--window-id", "0x1A00007", "--sound"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.windowId, 0x1a00007u);
    EXPECT_EQ(parse({"--window-id=27262983"}).options.windowId, 27262983u);
    for (const char* bad : {"", "3,,4", "3,", "x", "2147483648", "-", " "}) {
        std::string why;
        EXPECT_FALSE(parseSeedList(bad, &why)) << bad;
        EXPECT_NE(why.find("--playlist"), std::string::npos);
    }
    struct Case {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--start", "-1"}, "--start"},
        {{"--start", "soon"}, "--start"},
        {{"--start"}, "--start needs a value"},
        {{"--start", "1", "--start", "2"}, "twice"},
        {{"--start", "1", "--inspect"}, "live show"},
        {{"--shuffle", "--wav", "a.wav"}, "live show"},
        {{"--playlist", "1,2", "--still", "1", "a.png"}, "live show"},
        {{"4", "--playlist", "1,2"}, "either a SEED or --playlist"},
        {{"--playlist", "1", "--shuffle"}, "either --playlist or --shuffle"},
        {{"--shuffle=yes"}, "takes no value"},
        {{"--window-id", "0"}, "not a window id"},
        {{"--window-id", "0x"}, "not a window id"},
        {{"--window-id", "12ab"}, "not a window id"},
        {{"--window-id", "0x100000000"}, "not a window id"},
        {{"--window-id", "0x1a", "--root"}, "either --window-id or --root"},
        {{"--root", "--fullscreen"}, "--fullscreen does not go with --root"},
        {{"--root", "--contact-sheet", "a.png"}, "live show"},
        {{"--sound", "--mute"}, "either --sound or --mute"},
    };
    for (const Case& c : cases) {
        r = parse(c.args);
        EXPECT_NE(r.error.find(c.says), std::string::npos) << c.args[0] << ": " << r.error;
    }
    // Every key and option is in the help.
    const std::string help = usageText();
    for (const char* word : {"--start", "--playlist", "--shuffle", "Space", "Left", "Home", "N, P", "R ", "S ", "I ",
                             "H, F1", "F11", "Escape"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

TEST(OverlayText, TheSongPlaceFollowsTheSectionLayout) {
    SongLayout s;
    s.seed = 5;
    Generator rng;
    setupSong(s, rng);
    const float span = 32 * s.stepLength;
    SongPlace p = songPlace(s, 0);
    EXPECT_EQ(p.section, 1);
    EXPECT_EQ(p.span, 1);
    EXPECT_EQ(p.spans, 16);
    p = songPlace(s, span * 6.5f);
    EXPECT_EQ(p.section, 2);
    EXPECT_EQ(p.spanInSection, 3);
    EXPECT_EQ(p.span, 7);
    p = songPlace(s, s.songLength - 0.001f);
    EXPECT_EQ(p.section, 4);
    EXPECT_EQ(p.spanInSection, 4);
    EXPECT_EQ(songPlace(s, s.songLength + 0.5f).section, 0);  // the last second after the music

    std::vector<ActionRecord> actions = {{Lane::Camera, "FloatCamera", 1, 1}, {Lane::Foreground, "RoomScene", 2, 0.5f}};
    std::vector<std::string> lines = infoLines(s, span * 6.5f, true, actions);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "KELMA: VORTEL 5");
    EXPECT_NE(lines[1].find("PAUSED"), std::string::npos);
    EXPECT_NE(lines[3].find("section  2 of 4, span 3 of 4 (7 of 16)"), std::string::npos);
    EXPECT_NE(lines[6].find("foreground"), std::string::npos);
    EXPECT_NE(lines[6].find("RoomScene"), std::string::npos);
}

}  // namespace
}  // namespace vortel
