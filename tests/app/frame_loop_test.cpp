#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "app/frame_loop.h"

namespace vortel {
namespace {

// A host whose clock and input are scripted frame by frame.
class FakeHost : public Host {
public:
    std::deque<uint32_t> clock;   // successive tick readings
    uint32_t last = 0;
    std::vector<FrameInput> inputs;  // per frame; none = nothing happened
    int polls = 0, swaps = 0;
    std::vector<std::string>* log = nullptr;

    uint32_t ticks() override {
        if (!clock.empty()) {
            last = clock.front();
            clock.pop_front();
        }
        return last;
    }
    FrameInput pollInput() override {
        if (log) log->push_back("poll");
        return polls < static_cast<int>(inputs.size()) ? inputs[polls++] : (++polls, FrameInput{});
    }
    void swapBuffers() override {
        if (log) log->push_back("swap");
        ++swaps;
    }
};

TEST(FrameLoop, RunsUntilOneSecondPastTheSongAcrossAWrap) {
    PlayPosition s;
    s.songLength = 2.0f;
    FakeHost host;
    // t0 just before the wrap; frames every 500 ms.
    uint32_t t0 = 0xFFFFFE0Cu;  // 500 ms before wrapping
    host.clock.push_back(t0);
    for (int i = 1; i <= 10; ++i) host.clock.push_back(t0 + 500u * i);
    std::vector<float> times, deltas;
    FrameHooks hooks;
    hooks.renderAudio = [&] {
        times.push_back(s.songTime);
        deltas.push_back(s.frameDelta);
    };
    LoopResult r = runFrameLoop(host, s, hooks);
    EXPECT_EQ(r.end, LoopEnd::SongOver);
    ASSERT_EQ(r.frames, 6);  // 0.5, 1.0, ..., 3.0 = songLength + 1
    EXPECT_FLOAT_EQ(times.front(), 0.5f);
    EXPECT_FLOAT_EQ(deltas.front(), 0.5f);  // first delta equals first songTime
    for (size_t i = 1; i < times.size(); ++i) {
        EXPECT_GT(times[i], times[i - 1]);
        EXPECT_FLOAT_EQ(deltas[i], 0.5f);
    }
    EXPECT_FLOAT_EQ(s.songTime, 3.0f);
    EXPECT_EQ(host.swaps, 6);
}

TEST(FrameLoop, QuitAndEscapeEndTheFrameTheyArrive) {
    for (bool quit : {true, false}) {
        PlayPosition s;
        s.songLength = 100.0f;
        FakeHost host;
        host.clock = {0, 10, 20, 30, 40};
        FrameInput in;
        (quit ? in.quit : in.escape) = true;
        host.inputs = {FrameInput{}, FrameInput{}, in};
        LoopResult r = runFrameLoop(host, s, {});
        EXPECT_EQ(r.end, quit ? LoopEnd::Quit : LoopEnd::Escape);
        EXPECT_EQ(r.frames, 3);
        EXPECT_EQ(host.swaps, 3);  // the frame still finishes its picture
    }
}

TEST(FrameLoop, FrameOrderIsAudioInputPictureSwap) {
    PlayPosition s;
    s.songLength = -1.0f;  // ends after the first frame
    FakeHost host;
    std::vector<std::string> log;
    host.log = &log;
    FrameHooks hooks;
    hooks.renderAudio = [&] { log.push_back("audio"); };
    hooks.drawFrame = [&] { log.push_back("draw"); };
    runFrameLoop(host, s, hooks);
    EXPECT_EQ(log, (std::vector<std::string>{"audio", "poll", "draw", "swap"}));
}

// With a clock of its own the loop reads each frame's time from it; the
// input hook may move it; at the end of a show nextShow may start another.
TEST(FrameLoop, InputHookAndNextShowSteerTheClock) {
    PlayPosition s;
    s.songLength = 1.0f;
    FakeHost host;
    for (uint32_t t = 100; t < 100 + 40 * 250; t += 250) host.clock.push_back(t);
    host.clock.push_front(100);  // the caller's start
    ShowClock clock;
    clock.start(host.ticks(), 0.5f);
    s.songTime = 0.5f;
    host.inputs.resize(3);
    host.inputs[2].keys.push_back({Key::Right, false});
    std::vector<float> times;
    int shows = 0;
    FrameHooks hooks;
    hooks.handleInput = [&](const FrameInput& in) {
        if (!in.keys.empty()) {
            clock.seek(host.last, 0.0f);
            s.songTime = 0.0f;
        }
    };
    hooks.drawFrame = [&] { times.push_back(s.songTime); };
    hooks.nextShow = [&] {
        if (++shows > 1) return false;
        clock.start(host.last, 0.0f);
        s.songTime = 0.0f;
        return true;
    };
    LoopResult r = runFrameLoop(host, s, hooks, &clock);
    EXPECT_EQ(r.end, LoopEnd::SongOver);
    EXPECT_EQ(shows, 2);
    // 0.5, 0.75, then the seek to 0 at the third frame, 0.25 ... 2.0 (over),
    // the next show 0.25 ... 2.0 (over, nothing next).
    ASSERT_GE(times.size(), 4u);
    EXPECT_FLOAT_EQ(times[0], 0.5f);
    EXPECT_FLOAT_EQ(times[1], 0.75f);
    EXPECT_FLOAT_EQ(times[2], 0.0f);
    EXPECT_FLOAT_EQ(times[3], 0.25f);
    EXPECT_EQ(times.size(), 3u + 8u + 8u);
    EXPECT_FLOAT_EQ(times.back(), 2.0f);
}

}  // namespace
}  // namespace vortel
