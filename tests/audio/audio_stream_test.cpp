#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include <cmath>

#include "audio/audio_stream.h"
#include "audio/pcm.h"
#include "audio/sample_source.h"

namespace vortel {
namespace {

// A scripted millisecond clock: each reading advances it by `step`.
uint32_t g_now = 0;
uint32_t g_step = 0;
uint32_t fakeClock() {
    uint32_t t = g_now;
    g_now += g_step;
    return t;
}

uint32_t get32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// A 440 Hz tone at half scale that notes every time it is asked for.
float tone(float t) { return 0.5f * std::sin(6.2831853f * 440.0f * t); }
struct ToneSource final : SampleSource {
    std::vector<float> asked;
    float next(float t) override {
        asked.push_back(t);
        return tone(t);
    }
};

class AudioStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_now = 1000;
        g_step = 0;
    }
    ToneSource source_;
};

TEST_F(AudioStreamTest, InitBuildsTheImageAndRendersAlittleOverFiveSeconds) {
    AudioStream s(&fakeClock);
    s.init(source_);
    const uint8_t* h = s.image.get();
    EXPECT_EQ(std::memcmp(h, "RIFF", 4), 0);
    EXPECT_EQ(get32(h + 4), 10584038u);
    EXPECT_EQ(std::memcmp(h + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(get32(h + 16), 16u);
    EXPECT_EQ(get16(h + 20), 1);
    EXPECT_EQ(get16(h + 22), 1);
    EXPECT_EQ(get32(h + 24), 22050u);
    EXPECT_EQ(get32(h + 28), 44100u);
    EXPECT_EQ(get16(h + 32), 2);
    EXPECT_EQ(get16(h + 34), 16);
    EXPECT_EQ(std::memcmp(h + 36, "data", 4), 0);
    EXPECT_EQ(get32(h + 40), 10584002u);
    EXPECT_EQ(s.totalBytes, 10584046);
    EXPECT_EQ(s.samples, reinterpret_cast<int16_t*>(s.image.get() + 44));

    EXPECT_EQ(s.samplesWritten, 110349);
    EXPECT_EQ(s.published.load(), 110349);
    EXPECT_NEAR(s.renderAhead, 110349.0 / 22050.0, 1e-6);
    EXPECT_NEAR(s.renderAhead, 5.0045, 1e-4);
    // Every sample is the source's at its own time, asked for once, in order;
    // the rest of the image is still silent.
    ASSERT_EQ(source_.asked.size(), static_cast<size_t>(s.samplesWritten));
    int nonzero = 0;
    for (int i = 0; i < s.samplesWritten; ++i) {
        ASSERT_EQ(source_.asked[i], sampleTime(i)) << i;
        ASSERT_EQ(s.samples[i], toPcm16(tone(sampleTime(i)))) << i;
        nonzero += s.samples[i] != 0;
    }
    EXPECT_GT(nonzero, 1000);
    for (int i = s.samplesWritten; i < s.samplesWritten + 1000; ++i) ASSERT_EQ(s.samples[i], 0);
}

TEST_F(AudioStreamTest, BudgetGrowsAsTheLeadShrinks) {
    AudioStream s(&fakeClock);
    s.init(source_);
    s.play(nullptr);  // no device: silent, but the clock starts
    // 2.5 s left after the frame's elapsed time: factor 11, a 220 ms budget.
    s.renderAhead = 2.5f + 1.0f;
    g_now += 1000;  // one second since play
    g_step = 1;     // every reading one millisecond later
    int before = s.samplesWritten;
    s.render(0);
    EXPECT_FLOAT_EQ(s.lastFactor(), 11.0f);
    // The loop stops at the first sample after more than 220 ms: 221 readings.
    EXPECT_EQ(s.samplesWritten - before, 221);
    EXPECT_NEAR(s.renderAhead, 2.5 + 221.0 / 22050, 1e-5);

    // Behind the player: factor 21.
    s.renderAhead = -1.0f;
    g_step = 0;
    g_now += 5;
    g_step = 500;  // 500 ms per reading: one sample, then over budget
    s.render(0);
    EXPECT_FLOAT_EQ(s.lastFactor(), 21.0f);

    // A lead of 5 s or more: factor 1.
    s.renderAhead = 100.0f;
    s.render(0);
    EXPECT_FLOAT_EQ(s.lastFactor(), 1.0f);
}

TEST_F(AudioStreamTest, TickWrapBetweenCallsIsCorrected) {
    AudioStream s(&fakeClock);
    s.init(source_);
    g_now = 0xFFFFFF00u;
    s.play(nullptr);
    g_now = 0x00000064u;  // 356 ms later, across the wrap
    g_step = 1000;        // stop after one sample
    float ahead = s.renderAhead;
    s.render(0);
    EXPECT_NEAR(s.renderAhead, ahead - 0.356 + 1.0 / 22050, 1e-5);
}

TEST_F(AudioStreamTest, FullImageStopsWritingAndBookkeeping) {
    AudioStream s(&fakeClock);
    s.init(source_);
    const int32_t cap = s.lengthSeconds * s.sampleRate;
    s.samplesWritten = cap - 3;
    s.published.store(cap - 3);
    g_step = 0;
    s.render(1.0f);  // asks for a second, gets the last three samples
    EXPECT_EQ(s.samplesWritten, cap);
    float ahead = s.renderAhead;
    s.render(0);
    s.render(2.0f);
    EXPECT_EQ(s.samplesWritten, cap);
    EXPECT_EQ(s.renderAhead, ahead);
    // The declared extra sample is never rendered.
    EXPECT_EQ(s.samples[cap], 0);
}

TEST(Pcm, TruncatesAndClamps) {
    EXPECT_EQ(toPcm16(1.5f), 32767);
    EXPECT_EQ(toPcm16(-2.0f), -32767);
    EXPECT_EQ(toPcm16(0.99999f), 32766);
    EXPECT_EQ(toPcm16(-0.99999f), -32766);
    EXPECT_EQ(toPcm16(0.0f), 0);
    EXPECT_EQ(toPcm16(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(sampleTime(22050), 1.0f);
    EXPECT_EQ(sampleTime(1), static_cast<float>(1.0 / 22050));
}

TEST(Playback, NeverPlaysUnwrittenSamples) {
    std::vector<int16_t> image(100);
    for (int i = 0; i < 100; ++i) image[i] = static_cast<int16_t>(i + 1);
    std::atomic<int32_t> written{30};
    PlaybackCursor c;
    c.samples = image.data();
    c.length = 100;
    c.written = &written;
    int16_t out[40];
    fillFromImage(c, out, 20);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[19], 20);
    EXPECT_EQ(c.underruns.load(), 0);
    fillFromImage(c, out, 20);  // samples 20..39, only 20..29 written
    EXPECT_EQ(out[9], 30);
    for (int i = 10; i < 20; ++i) EXPECT_EQ(out[i], 0);
    EXPECT_EQ(c.underruns.load(), 1);
    EXPECT_EQ(c.underrunSamples.load(), 10);
    EXPECT_EQ(c.position, 40);  // keeps time
    written = 100;
    fillFromImage(c, out, 40);  // 40..79
    EXPECT_EQ(out[0], 41);
    fillFromImage(c, out, 40);  // 80..99, then past the end: silence, no underrun
    EXPECT_EQ(out[19], 100);
    EXPECT_EQ(out[20], 0);
    EXPECT_EQ(c.underruns.load(), 1);
}

// A writer and a reader on two threads, as the show runs them; meant to be
// run under ThreadSanitizer too. Whatever the reader plays is either a
// written sample or silence.
TEST(Playback, ConcurrentWriterAndReaderAgree) {
    const int n = 200000;
    std::vector<int16_t> image(n, 0);
    std::atomic<int32_t> written{0};
    PlaybackCursor c;
    c.samples = image.data();
    c.length = n;
    c.written = &written;
    std::thread writer([&] {
        for (int i = 0; i < n; ++i) {
            image[i] = static_cast<int16_t>((i % 30000) + 1);
            written.store(i + 1, std::memory_order_release);
        }
    });
    std::vector<int16_t> out(512);
    int64_t bad = 0;
    while (c.position < n) {
        int64_t start = c.position;
        fillFromImage(c, out.data(), 512);
        for (int k = 0; k < 512 && start + k < n; ++k) {
            int16_t v = out[k];
            if (v != 0 && v != static_cast<int16_t>(((start + k) % 30000) + 1)) ++bad;
        }
    }
    writer.join();
    EXPECT_EQ(bad, 0);
}

}  // namespace
}  // namespace vortel
