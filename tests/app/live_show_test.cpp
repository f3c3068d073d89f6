#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "app/live_show.h"
#include "app/startup.h"
#include "audio/sample_source.h"
#include "gfx/gl_api.h"
#include "gfx/texture_images.h"
#include "gfx/textures.h"
#include "io/json.h"
#include "offline/inspect.h"
#include "offline/show_layout.h"
#include "offline/song_json.h"
#include "offline/song_render.h"
#include "offline/visual_json.h"
#include "platform/sdl_window.h"
#include "support/cli_spawn.h"
#include "visuals/timeline/timeline.h"

namespace vortel {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFrameMs = 20;                         // the scripted clock's frame
constexpr int64_t kSamplesPerFrame = 22050 * kFrameMs / 1000;  // 441

// A sound device stand-in: it takes kSamplesPerFrame samples each frame
// unless paused, and it is only moved while stopped.
class FakePlayer : public LivePlayer {
public:
    PlaybackCursor* cursor = nullptr;
    bool paused = false;
    int starts = 0;
    bool start(PlaybackCursor& c) override {
        cursor = &c;
        ++starts;
        return true;
    }
    void setPaused(bool p) override { paused = p; }
    void whileStopped(const std::function<void()>& fn) override { fn(); }
    void advance() {
        if (cursor && !paused) {
            cursor->position += kSamplesPerFrame;
            cursor->played.store(cursor->position);
        }
    }
};

// The frame loop's platform, scripted: frame k is read at tick 1000 + 20 k,
// its keys come from `keys`, and `afterDraw` sees each finished frame
// before the swap (the back buffer still holds it).
class ScriptedHost : public Host {
public:
    uint32_t now = 1000;
    int frame = 0;
    std::map<int, std::vector<KeyPress>> keys;
    int quitAt = 1 << 30;
    std::function<void(int)> afterDraw;
    std::vector<std::string> titles;
    FakePlayer* player = nullptr;

    uint32_t ticks() override { return now; }
    FrameInput pollInput() override {
        FrameInput in;
        if (auto it = keys.find(frame); it != keys.end()) in.keys = it->second;
        in.quit = frame >= quitAt;
        return in;
    }
    void swapBuffers() override {
        if (afterDraw) afterDraw(frame);
        if (player) player->advance();
        now += kFrameMs;
        ++frame;
    }
    void setTitle(const std::string& t) override { titles.push_back(t); }
    void drawableSize(int* w, int* h) const override {
        *w = 800;
        *h = 600;
    }
    void press(int at, Key k, bool repeat = false) { keys[at].push_back({k, repeat}); }
};

std::vector<uint8_t> readFrame() {
    std::vector<uint8_t> px(800 * 600 * 4);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

std::vector<uint8_t> slotImage(const Show& show, int slot, int size = kTextureSize) {
    std::vector<uint8_t> px(static_cast<size_t>(size) * size * 4);
    glBindTexture(GL_TEXTURE_2D, show.gpu.textureSlots[static_cast<size_t>(slot)]);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
}

fs::path scratchDir(const std::string& name) {
    fs::path p = fs::temp_directory_path() / ("vortel_live_" + name + "_" + std::to_string(getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

class LiveShowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowOptions o;
        o.visible = false;
        o.vsync = false;
        std::string why;
        window_ = SdlWindow::open(o, &why);
        ASSERT_TRUE(window_) << why;
        host_.player = &player_;
        settings_.writeRunFile = false;
    }
    std::unique_ptr<LiveShow> makeShow() { return std::make_unique<LiveShow>(host_, &player_, settings_); }

    std::unique_ptr<SdlWindow> window_;
    ScriptedHost host_;
    FakePlayer player_;
    LiveSettings settings_;
};

// Space holds the picture, the song time and the sound's position; Space
// again goes on from there. Left, Right and Home move time and sound
// together, clamped to the song; paused, the picture moves to the new place
// and holds there.
TEST_F(LiveShowTest, PauseHoldsTimeSoundAndPictureSeekMovesThemTogether) {
    auto show = makeShow();
    ASSERT_TRUE(show->startShow(5, 0, nullptr));
    const float songLength = show->show().layout.songLength;
    struct Seen {
        float time;
        int64_t position;
        bool paused;
        std::vector<uint8_t> pixels;
    };
    std::map<int, Seen> seen;
    const std::set<int> keepPixels = {12, 20, 37, 38, 45};
    host_.afterDraw = [&](int f) {
        seen[f] = {show->position().songTime, show->audio().cursor.position, show->paused(),
                   keepPixels.count(f) ? readFrame() : std::vector<uint8_t>{}};
    };
    host_.press(10, Key::Space);
    host_.press(25, Key::Space);  // go on
    host_.press(30, Key::Right);
    host_.press(31, Key::Right);  // a held key's repeat scrubs on
    host_.keys[31].push_back({Key::Right, true});
    host_.press(33, Key::Left);
    host_.press(36, Key::Space);  // paused again, then a seek while paused
    host_.press(38, Key::Right);
    host_.press(40, Key::Home);
    host_.press(40, Key::Left);   // past the start: held at 0
    host_.press(41, Key::Space);
    for (int i = 0; i < 20; ++i) host_.press(43, Key::Right);  // past the end: held at the song's end
    host_.quitAt = 46;
    show->run();

    // Paused from frame 10 to 24: nothing moves.
    for (int f = 11; f <= 24; ++f) {
        EXPECT_TRUE(seen[f].paused);
        EXPECT_EQ(seen[f].time, seen[10].time) << f;
        EXPECT_EQ(seen[f].position, seen[11].position) << f;
    }
    EXPECT_EQ(seen[12].pixels, seen[20].pixels);  // the held picture
    // Playing, the sound is where the picture is, within one frame's samples.
    for (auto& [f, s] : seen) {
        if (s.paused || f == 0) continue;
        EXPECT_LE(std::abs(s.position - std::llround(s.time * 22050.0)), kSamplesPerFrame) << "frame " << f;
    }
    // The pause resumes where it held: one frame further.
    EXPECT_NEAR(seen[26].time, seen[10].time + 0.02f, 1e-4);
    // Seeks: +5, +10 (a press and a repeat), -5, each from the frame's own time.
    EXPECT_NEAR(seen[30].time, seen[29].time + 0.02f + 5.0f, 1e-3);
    EXPECT_NEAR(seen[31].time, seen[30].time + 0.02f + 10.0f, 1e-3);
    EXPECT_NEAR(seen[33].time, seen[32].time + 0.02f - 5.0f, 1e-3);
    // Paused at 36; the seek at 38 draws the new place once, then holds it.
    EXPECT_NEAR(seen[38].time, seen[36].time + 5.0f, 1e-3);
    EXPECT_NE(seen[38].pixels, seen[37].pixels);
    EXPECT_EQ(seen[39].time, seen[38].time);
    EXPECT_EQ(seen[40].time, 0.0f);
    EXPECT_EQ(seen[40].position, 0);
    EXPECT_FALSE(seen[41].paused);
    EXPECT_EQ(seen[43].time, songLength);
    EXPECT_EQ(seen[43].position, std::llround(songLength * 22050.0));
    // The sound follows on its own thread: it gets there without the frames
    // waiting for it.
    EXPECT_TRUE(eventually([&] { return show->audio().published.load() > seen[45].position + 22050; }));
}

// The sound is written on a thread of its own: with its synthesis held
// still, the frames go on, seeks in the first second included, and not
// one sample is synthesised on the frames' thread.
class HeldSource final : public SampleSource {
public:
    explicit HeldSource(SampleSource& song) : song_(song) {}
    float next(float t) override {
        std::unique_lock<std::mutex> lock(mutex_);
        if (armed_) {
            callers_.insert(std::this_thread::get_id());
            released_.wait(lock, [this] { return !held_; });
        }
        return song_.next(t);
    }
    void arm() {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = true;
    }
    void release() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            held_ = false;
        }
        released_.notify_all();
    }
    bool calledFrom(std::thread::id id) {
        std::lock_guard<std::mutex> lock(mutex_);
        return callers_.count(id) > 0;
    }
    size_t callers() {
        std::lock_guard<std::mutex> lock(mutex_);
        return callers_.size();
    }

private:
    SampleSource& song_;
    std::mutex mutex_;
    std::condition_variable released_;
    bool armed_ = false, held_ = true;
    std::set<std::thread::id> callers_;
};

TEST_F(LiveShowTest, FramesNeverWaitForTheSound) {
    std::unique_ptr<HeldSource> held;
    settings_.wrapSound = [&](SampleSource& song) {
        held = std::make_unique<HeldSource>(song);
        return held.get();
    };
    auto show = makeShow();
    ASSERT_TRUE(show->startShow(5, 0, nullptr));  // its first seconds are written here, before any frame
    held->arm();
    // Ten seeks forward in the first second, then one back to the start.
    for (int f = 2; f < 12; ++f) host_.press(f, Key::Right);
    host_.press(20, Key::Home);
    std::vector<float> times;
    host_.afterDraw = [&](int) { times.push_back(show->position().songTime); };
    host_.quitAt = 30;
    const auto frames = std::this_thread::get_id();
    show->run();
    held->release();
    ASSERT_EQ(times.size(), 31u);  // every frame came (0 to 30), with the synthesis held
    EXPECT_GT(times[12], 10 * 5.0f);  // the pictures moved at once
    EXPECT_LT(times[21], 0.1f);
    EXPECT_FALSE(held->calledFrom(frames));
    EXPECT_EQ(held->callers(), 1u);  // the sound thread, held in its first sample
    // Let go, the sound catches up with the cursor.
    EXPECT_TRUE(eventually([&] { return show->audio().published.load() > show->audio().cursor.played.load(); }));
}

// N, P and R build what a fresh start with the new seed builds: the same
// song, Timeline, textures and first seconds of sound as `--inspect` and
// `--wav` give for that seed; the title follows. Forty presses in one frame
// come to one switch by forty; the seed wraps at the 32-bit ends. Each key
// is pressed once the show before it has taken over (they are made ready
// while the old one plays).
TEST_F(LiveShowTest, SeedKeysBuildExactlyWhatAFreshStartBuilds) {
    auto show = makeShow();
    ASSERT_TRUE(show->startShow(2147483646, 0, nullptr));
    struct Built {
        int32_t seed;
        float bpm, songLength;
        Json song, timeline;
        std::string pattern, relief, detail;
        std::vector<int16_t> firstSeconds;
        float time;
    };
    std::vector<Built> built;
    int32_t lastSeed = show->seed();
    const int startSamples = show->audio().published.load();  // what init renders (render(5))
    struct Step {
        std::vector<KeyPress> keys;
        bool changes;
    };
    const std::vector<Step> steps = {
        {{{Key::N, false}}, true},                  // 2147483647
        {{{Key::N, false}}, true},                  // wraps to -2147483648
        {{{Key::N, true}}, false},                  // a held key's repeat: nothing
        {{{Key::P, false}}, true},                  // back to 2147483647
        {std::vector<KeyPress>(40, {Key::P, false}), true},
        {{{Key::R, false}}, true},
    };
    size_t nextStep = 0;
    bool waiting = false;
    host_.afterDraw = [&](int f) {
        if (show->changingShow()) return;
        if (!waiting) {
            if (nextStep == steps.size()) {
                host_.quitAt = f + 1;
                return;
            }
            host_.keys[f + 1] = steps[nextStep].keys;
            waiting = steps[nextStep++].changes;
            return;
        }
        if (show->seed() == lastSeed) return;
        waiting = false;
        lastSeed = show->seed();
        Built b;
        b.seed = show->seed();
        b.bpm = show->show().layout.bpm;
        b.songLength = show->show().layout.songLength;
        b.song = songToJson(show->song().song);
        b.timeline = timelineToJson(show->show().timeline);
        std::vector<uint8_t> p = slotImage(show->show(), kSlotPattern), r = slotImage(show->show(), kSlotRelief),
                             d = slotImage(show->show(), kSlotDetail);
        b.pattern = crc32Hex(p.data(), p.size());
        b.relief = crc32Hex(r.data(), r.size());
        b.detail = crc32Hex(d.data(), d.size());
        b.firstSeconds.assign(show->audio().samples, show->audio().samples + startSamples);
        b.time = show->position().songTime;
        built.push_back(std::move(b));
    };
    host_.quitAt = 100000;
    const LoopResult result = show->run();

    ASSERT_EQ(built.size(), 5u);
    const std::vector<int32_t> expected = {2147483647, -2147483647 - 1, 2147483647, 2147483607};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(built[i].seed, expected[i]);
    EXPECT_EQ(show->showsStarted(), 6);
    EXPECT_EQ(host_.titles.back(), windowTitle(built.back().seed));
    EXPECT_EQ(host_.titles[1], "KELMA: VORTEL 2147483647");
    // Each compared with the fresh start's description and sound.
    for (const Built& b : {built[1], built[3], built[4]}) {
        SCOPED_TRACE(b.seed);
        EXPECT_LT(b.time, 0.05f);  // a new show starts at its beginning
        const Json fresh = inspectShow(showLayout(b.seed));
        EXPECT_EQ(b.bpm, fresh["bpm"].get<float>());
        EXPECT_EQ(b.songLength, fresh["songLength"].get<float>());
        EXPECT_EQ(b.song, fresh["song"]);
        EXPECT_EQ(b.timeline, fresh["timeline"]);
        EXPECT_EQ(b.pattern, fresh["textures"]["patternCrc32"].get<std::string>());
        EXPECT_EQ(b.detail, fresh["textures"]["patternCrc32"].get<std::string>());
        EXPECT_EQ(b.relief, fresh["textures"]["reliefCrc32"].get<std::string>());
        const std::vector<int16_t> wav = renderSongOffline(showLayout(b.seed), "", nullptr);
        ASSERT_GE(wav.size(), b.firstSeconds.size());
        EXPECT_TRUE(std::equal(b.firstSeconds.begin(), b.firstSeconds.end(), wav.begin()));
    }
    EXPECT_EQ(player_.starts, 6);  // the player moved to each new show's sound
    // Every show was warmed up before its first frame. Only the first show
    // was built while nothing played; the others were made ready while the
    // frames went on, so every frame after the first counts.
    EXPECT_GT(show->warmUpFrameCount(), 0);
    EXPECT_EQ(show->frameTimes().all.size(), static_cast<size_t>(result.frames - 1));
}

// S saves the frame on screen (without the text panels) under a new name,
// never over a file that is there; into a folder that cannot be written it
// says why and the show goes on.
TEST_F(LiveShowTest, SaveNeverOverwritesAndSurvivesAFolderThatCannotBeWritten) {
    const fs::path dir = scratchDir("save");
    settings_.saveFolder = dir.string();
    auto show = makeShow();
    ASSERT_TRUE(show->startShow(5, 0, nullptr));
    std::vector<uint8_t> shown;
    host_.press(2, Key::Space);
    host_.press(3, Key::I);
    host_.press(3, Key::H);
    host_.press(5, Key::S);
    host_.press(6, Key::S);
    host_.keys[6].push_back({Key::S, true});  // a held S saves once
    host_.press(7, Key::S);
    host_.afterDraw = [&](int f) {
        if (f == 4) {
            // What stands there already is never touched.
            const std::string stem = "vortel-5-" + [&] {
                char b[32];
                std::snprintf(b, sizeof b, "%.3f", static_cast<double>(show->position().songTime));
                return std::string(b);
            }();
            std::ofstream(dir / (stem + "-2.png")) << "keep me";
        }
        if (f == 8) settings_.saveFolder = (dir / "missing" / "folder").string();
    };
    host_.quitAt = 9;
    show->run();

    ASSERT_EQ(show->savedFiles().size(), 3u);
    const std::string stem = (dir / "vortel-5-").string();
    EXPECT_EQ(show->savedFiles()[0].rfind(stem, 0), 0u);
    const std::string first = show->savedFiles()[0];
    ASSERT_EQ(first.substr(first.size() - 4), ".png");
    const std::string base = first.substr(0, first.size() - 4);
    EXPECT_EQ(show->savedFiles()[1], base + "-3.png");
    EXPECT_EQ(show->savedFiles()[2], base + "-4.png");
    std::ifstream kept(base + "-2.png");
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>()), "keep me");
    // A PNG of the window's size.
    std::ifstream png(first, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(png)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24 | static_cast<uint8_t>(bytes[at + 1]) << 16 |
               static_cast<uint8_t>(bytes[at + 2]) << 8 | static_cast<uint8_t>(bytes[at + 3]);
    };
    EXPECT_EQ(be32(16), 800u);
    EXPECT_EQ(be32(20), 600u);
    // The three saves of one paused picture are the same file, text panels or not.
    std::ifstream third(base + "-4.png", std::ios::binary);
    EXPECT_EQ(bytes, std::string((std::istreambuf_iterator<char>(third)), std::istreambuf_iterator<char>()));
    fs::remove_all(dir);
}

// The information panel and the key guide are laid over the window only:
// the frames themselves (slot 0 carries each into the next) come out the
// same with or without them. A missing font costs the text, not the show.
TEST_F(LiveShowTest, TextPanelsNeverReachTheFrames) {
    std::vector<uint8_t> plain, withText;
    std::vector<std::string> info;
    float infoTime = 0;
    for (bool text : {false, true}) {
        host_ = ScriptedHost{};
        host_.player = &player_;
        auto show = makeShow();
        ASSERT_TRUE(show->startShow(77, 20.0f, nullptr));
        if (text) {
            host_.press(1, Key::I);
            host_.press(2, Key::F1);
        }
        host_.afterDraw = [&](int f) {
            if (f == 12) (text ? withText : plain) = slotImage(show->show(), kSlotPreviousFrame);
            if (f == 12 && text) {
                info = show->infoText();
                infoTime = show->position().songTime;
            }
        };
        host_.quitAt = 12;
        show->run();
        EXPECT_EQ(show->guideShown(), text);
    }
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(plain, withText);
    // The panel says what --inspect --at says the frame runs.
    ASSERT_GT(info.size(), 5u);
    EXPECT_EQ(info[0], "KELMA: VORTEL 77");
    EXPECT_NE(info[3].find("section  2 of 4"), std::string::npos) << info[3];
    const Json frame = inspectShow(showLayout(77), infoTime)["frame"];
    ASSERT_EQ(info.size(), 5 + frame["actions"].size());
    for (size_t i = 0; i < frame["actions"].size(); ++i)
        EXPECT_NE(info[5 + i].find(frame["actions"][i]["action"].get<std::string>()), std::string::npos) << info[5 + i];

    host_ = ScriptedHost{};
    host_.player = &player_;
    settings_.fontPath = "/nonexistent/font.ttf";
    auto show = makeShow();
    ASSERT_TRUE(show->startShow(77, 0, nullptr));
    host_.press(1, Key::I);
    host_.press(3, Key::H);
    host_.quitAt = 6;
    testing::internal::CaptureStderr();
    LoopResult r = show->run();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.frames, 7);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("font"), std::string::npos);
}

// A playlist plays its seeds in turn when a show ends, and the loop ends
// after the last.
TEST_F(LiveShowTest, PlaylistGoesOnToTheNextSeedAtTheEnd) {
    settings_.playlist = {9, -4};
    auto show = makeShow();
    ASSERT_TRUE(show->startShow(7, 1000.0f, nullptr));  // clamped to the song's end
    std::vector<std::pair<int32_t, float>> firstFrames;
    int32_t last = 0;
    host_.afterDraw = [&](int f) {
        if (show->seed() != last || f == 0) firstFrames.push_back({show->seed(), show->position().songTime});
        last = show->seed();
        // Into each new show's last second at once.
        if (show->seed() != 7 && show->position().songTime < 1 && !host_.keys.count(f + 1))
            for (int i = 0; i < 20; ++i) host_.press(f + 1, Key::Right);
    };
    LoopResult r = show->run();
    EXPECT_EQ(r.end, LoopEnd::SongOver);
    ASSERT_EQ(firstFrames.size(), 3u);
    EXPECT_EQ(firstFrames[0].first, 7);
    EXPECT_EQ(firstFrames[1].first, 9);
    EXPECT_EQ(firstFrames[2].first, -4);
    EXPECT_LT(firstFrames[1].second, 0.05f);
    EXPECT_LT(firstFrames[2].second, 0.05f);
    EXPECT_EQ(host_.titles, (std::vector<std::string>{"KELMA: VORTEL 7", "KELMA: VORTEL 9", "KELMA: VORTEL -4"}));
}

// Switching seeds again and again reuses or frees every resource of the
// show before: the GL names stay as many, and the heap stays the size of
// one show.
// Bytes the allocator has handed out, the large blocks it maps on their
// own (a sound image) included.
size_t heapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

TEST_F(LiveShowTest, ManySwitchesDoNotGrowTheResources) {
    auto show = makeShow();
    ASSERT_TRUE(show->startShow(1, 0, nullptr));
    // Every name up to past the highest in use (the GL may hand out new
    // names rather than reuse freed ones).
    auto liveGlNames = [&] {
        int textures = 0, programs = 0;
        GLuint top = 0;
        for (uint32_t n : show->show().gpu.textureSlots) top = std::max(top, n);
        for (uint32_t n : show->show().gpu.programs) top = std::max(top, n);
        for (GLuint n = 1; n < top + 64; ++n) {
            textures += glIsTexture(n) ? 1 : 0;
            programs += glIsProgramARB(n) ? 1 : 0;
        }
        return std::pair{textures, programs};
    };
    std::pair<int, int> namesAfterWarmUp;
    size_t heapAfterWarmUp = 0, heapAtEnd = 0;
    const int kSwitches = 40;
    // A random seed, then back and forth between it and the next: the
    // driver compiles its program variants for both seeds' frames in the
    // first switches (its own cache, which the warm-up fills), so what
    // grows after that is ours.
    // Each switch is asked for once the one before has taken over.
    int switches = 0, settledFrames = 0;
    host_.afterDraw = [&](int f) {
        if (show->changingShow()) return;
        if (switches == 9) {
            namesAfterWarmUp = liveGlNames();
            heapAfterWarmUp = heapInUse();
        }
        if (switches == kSwitches) {
            // The least over the frames after the last takeover: what the
            // driver and the threads hold for a moment is not a show left
            // behind, which would stay.
            const size_t heap = heapInUse();
            heapAtEnd = heapAtEnd == 0 ? heap : std::min(heapAtEnd, heap);
            if (++settledFrames == 30) host_.quitAt = f + 1;
            return;
        }
        host_.press(f + 1, switches == 0 ? Key::R : switches % 2 ? Key::N : Key::P);
        if (switches == 2) host_.press(f + 1, Key::I);  // the text panel's texture too
        ++switches;
    };
    host_.quitAt = 1000000;
    show->run();
    EXPECT_EQ(show->showsStarted(), kSwitches + 1);
    EXPECT_EQ(liveGlNames(), namesAfterWarmUp);
    EXPECT_GE(namesAfterWarmUp.first, kTextureSlotCount);
    // One show's sound image alone is 10.5 MB: a show left behind shows up
    // above the few megabytes the driver may still add for itself.
    EXPECT_LT(heapAtEnd, heapAfterWarmUp + (6u << 20)) << heapAfterWarmUp << " -> " << heapAtEnd;
}

// The GLSL renderer's live show on a core profile context: the text panels
// (a program of their own there) leave the frames as they were, a seed
// change, made ready and warmed up beside the playing show, takes over, and
// the GL records no error on the way.
TEST_F(LiveShowTest, GlslRendererLaysTextOverAndChangesSeed) {
    window_.reset();
    WindowOptions o;
    o.visible = false;
    o.vsync = false;
    o.coreProfile = true;
    std::string why;
    window_ = SdlWindow::open(o, &why);
    ASSERT_TRUE(window_) << why;
    settings_.renderer = Renderer::Glsl;
    std::vector<uint8_t> plain, withText, windowPlain, windowWithText;
    for (bool text : {false, true}) {
        host_ = ScriptedHost{};
        host_.player = &player_;
        auto show = makeShow();
        ASSERT_TRUE(show->startShow(77, 20.0f, &why)) << why;
        if (text) {
            host_.press(1, Key::I);
            host_.press(2, Key::F1);
            host_.press(13, Key::N);
        }
        host_.afterDraw = [&](int f) {
            if (f == 12) {
                (text ? withText : plain) = slotImage(show->show(), kSlotPreviousFrame);
                (text ? windowWithText : windowPlain) = readFrame();
            }
            if (f == 12 && !text) host_.quitAt = f + 1;
            if (f > 13 && ((!show->changingShow() && show->seed() == 78) || f > 3000)) host_.quitAt = f + 1;
        };
        host_.quitAt = 1000000;
        show->run();
        EXPECT_EQ(show->seed(), text ? 78 : 77);
        EXPECT_EQ(show->showsStarted(), text ? 2 : 1);
    }
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(plain, withText);
    EXPECT_NE(windowPlain, windowWithText);  // the panels are there, over the window
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
}  // namespace vortel
