// The sound thread writes the image in order from its first sample, keeps
// its lead over the player and no more, follows the cursor after a jump,
// and stops when asked. A player on a thread of its own reads as it goes
// (ThreadSanitizer watches the hand-over).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>

#include "audio/audio_stream.h"
#include "audio/playback.h"
#include "audio/sample_source.h"
#include "audio/sound_thread.h"

namespace vortel {
namespace {

uint32_t noClock() { return 0; }

// Counts as it goes; the samples say which sample they are.
struct Ramp final : SampleSource {
    std::atomic<int64_t> asked{0};
    float next(float) override {
        const int64_t n = asked.fetch_add(1);
        return static_cast<float>(n % 1000) / 1000.0f;
    }
};

template <typename Ready>
bool within(double seconds, Ready ready) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(SoundThread, WritesAheadOfThePlayerFollowsASeekAndStops) {
    Ramp ramp;
    AudioStream stream(&noClock);
    stream.init(ramp);  // the first 5 s, on this thread
    const int64_t rate = stream.sampleRate;
    const int64_t first = stream.published.load();
    ASSERT_GE(first, 5 * rate);
    {
        SoundThread thread(stream, 2.0f);
        // Nothing played yet: five seconds are more than the lead, so the
        // thread has nothing to do.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(stream.published.load(), first);

        // A player reads four seconds on a thread of its own: the thread
        // writes further, two seconds (and one turn of writing) ahead.
        std::vector<int16_t> out(static_cast<size_t>(4 * rate));
        std::thread player([&] {
            for (int64_t done = 0; done < 4 * rate; done += 1024)
                fillFromImage(stream.cursor, out.data() + done,
                              static_cast<int>(std::min<int64_t>(1024, 4 * rate - done)));
        });
        player.join();
        for (int64_t i = 0; i < 4 * rate; ++i) ASSERT_EQ(out[static_cast<size_t>(i)], toPcm16(static_cast<float>(i % 1000) / 1000.0f)) << i;

        // A jump far ahead: the cursor moves at once, the silence there is
        // not an underrun, and the thread catches up.
        stream.moveCursor(60 * rate);
        EXPECT_FALSE(stream.caughtUp());
        thread.wake();
        EXPECT_TRUE(within(30.0, [&] { return stream.caughtUp(); }));
        EXPECT_GE(stream.published.load(), 60 * rate);
        EXPECT_TRUE(within(30.0, [&] { return stream.published.load() >= 62 * rate; }));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        // It stops at its lead (plus at most one turn of writing).
        EXPECT_LE(stream.published.load(), 62 * rate + rate / 5);
        EXPECT_EQ(stream.cursor.underruns.load(), 0);
    }
    // Stopped: nothing more is written.
    const int64_t written = stream.published.load();
    stream.moveCursor(100 * rate);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(stream.published.load(), written);
    EXPECT_EQ(ramp.asked.load(), written);  // every sample once, in order
}

}  // namespace
}  // namespace vortel
