#include <gtest/gtest.h>

#include <cmath>

#include "core/rng.h"
#include "audio/oscillator.h"

namespace vortel {
namespace {

// The phase advance of one sample, which is the frequency / 22050.
float stepOf(OscSlot slot, float note, float d = 0.001f, float hold = 1, float start = 0) {
    Generator rng;
    slot.phase = 0;
    slot.sample(note, d, hold, start, rng);
    return slot.phase;
}

struct OscillatorTest : ::testing::Test {
    Oscillator saw{"saw"};
    OscSlot slot{"slot"};
    Generator rng;
    void SetUp() override {
        saw.waveform = waveRampUp;
        slot.oscillator = &saw;
        slot.amplitude = 1;
    }
};

TEST_F(OscillatorTest, NoteFrequenciesAndPhaseSteps) {
    EXPECT_EQ(noteFrequency(0), 440.0f);
    EXPECT_NEAR(noteFrequency(-9), 261.63f, 0.005f);
    EXPECT_NEAR(stepOf(slot, -9), 0.011865f, 5e-7f);
    EXPECT_FLOAT_EQ(stepOf(slot, 0), 440.0f / 22050.0f);
    EXPECT_NEAR(noteFrequency(-33), 65.41f, 0.005f);
}

TEST_F(OscillatorTest, OctaveSemitoneAndDetune) {
    const float base = stepOf(slot, 0);
    slot.octave = -1;
    EXPECT_FLOAT_EQ(stepOf(slot, 0), base / 2);
    slot.octave = 0;
    slot.semitone = 12;
    EXPECT_FLOAT_EQ(stepOf(slot, 0), base * 2);
    slot.semitone = 0;
    slot.detune = 0.05f;  // counts double: +0.1 semitone
    EXPECT_NEAR(stepOf(slot, 0) / base, std::pow(2.0, 0.1 / 12), 1e-6);
    slot.detune = 0;
    // A note number is a semitone too.
    EXPECT_NEAR(stepOf(slot, 7) / base, std::pow(2.0, 7.0 / 12), 1e-6);
}

TEST_F(OscillatorTest, PitchEnvelopeScalesTheFrequency) {
    Envelope full("full");  // attack 0, sustain 1: level 1 until note-off
    full.sustain = 1;
    full.release = 1;
    saw.pitchEnvelope = &full;
    saw.pitchEnvDepth = 3;
    const float base = 440.0f / 22050.0f;
    EXPECT_FLOAT_EQ(stepOf(slot, 0, 0.5f, 1), 4 * base);       // level 1: x4
    EXPECT_FLOAT_EQ(stepOf(slot, 0, 1.5f, 0.5f), base);        // released: level 0, x1
    EXPECT_FLOAT_EQ(stepOf(slot, 0, 1.0f, 0.5f), 2.5f * base); // half released: x2.5
}

TEST_F(OscillatorTest, PitchLfoMultipliesBeforeTheEnvelope) {
    Lfo square("sq");
    square.waveform = waveSquare;
    square.rate = 1;
    saw.pitchLfo = &square;
    saw.pitchLfoDepth = 0.5f;   // factor 0.5 or 1.5 around offset 1
    Envelope full("full");
    full.sustain = 1;
    saw.pitchEnvelope = &full;
    saw.pitchEnvDepth = 1;      // factor 2
    const float base = 440.0f / 22050.0f;
    // Song time 0.25 (first half of the LFO cycle, value -1) and 0.75 (+1).
    EXPECT_FLOAT_EQ(stepOf(slot, 0, 0.25f, 10, 0), base * 0.5f * 2);
    EXPECT_FLOAT_EQ(stepOf(slot, 0, 0.25f, 10, 0.5f), base * 1.5f * 2);
}

TEST(Lfo, RetriggerChoosesNoteTimeOrSongTime) {
    Generator rng;
    Lfo lfo("lfo");
    lfo.waveform = waveRampUp;
    lfo.rate = 1;
    // Song time: two notes at the same song time see the same value, even
    // though they started at different times.
    EXPECT_FLOAT_EQ(lfo.value(0.75f, 0.0f, rng), lfo.value(0.25f, 0.5f, rng));
    EXPECT_FLOAT_EQ(lfo.value(0.25f, 0.5f, rng), 0.5f);
    // Retriggered: every note runs the LFO from its own start.
    lfo.retrigger = true;
    EXPECT_FLOAT_EQ(lfo.value(0.25f, 0.0f, rng), lfo.value(0.25f, 0.5f, rng));
    EXPECT_FLOAT_EQ(lfo.value(0.25f, 0.5f, rng), -0.5f);
}

TEST_F(OscillatorTest, PhaseAccumulatesWithoutWrapping) {
    slot.phase = 0.5f;  // a preset's start phase
    float expected = 0.5f;
    for (int i = 0; i < 22050; ++i) {
        const float out = slot.sample(0, i * (1.0f / 22050), 10, 0, rng);
        expected = float(double(expected) + double(440.0f) * double(1.0f / 22050.0f));
        ASSERT_EQ(slot.phase, expected);
        ASSERT_EQ(out, waveRampUp(expected, 1, rng));
    }
    // Single-precision accumulation drifts: after one second the phase is
    // only near 440.5 cycles.
    EXPECT_NEAR(slot.phase, 440.5f, 0.1f);
}

TEST_F(OscillatorTest, NoiseSlotDrawsOncePerSample) {
    saw.waveform = waveNoise;
    rng.srand(5);
    Generator expected = rng;
    expected.rand();
    expected.rand();
    slot.sample(0, 0.1f, 1, 0, rng);
    slot.sample(0, 0.2f, 1, 0, rng);
    EXPECT_EQ(rng.state, expected.state);
}

}  // namespace
}  // namespace vortel
