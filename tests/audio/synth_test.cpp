#include <gtest/gtest.h>

#include <cmath>

#include "core/rng.h"
#include "audio/synth.h"
#include "patch_lab.h"

namespace vortel {
namespace {

using testing::addChannel;
using testing::addEnvelope;
using testing::addInstrument;
using testing::addOscillator;
using testing::makeSlot;

struct SynthTest : ::testing::Test {
    Synth synth{22050};
    Channel* channel = addChannel(synth, 0.5f);
    Envelope* env = addEnvelope(synth, 0, 0, 1, 0.1f);  // full level, 0.1 s release
    Oscillator* square = addOscillator(synth, waveSquare);
    Oscillator* noise = addOscillator(synth, waveNoise);
    Instrument* tone = addInstrument(synth, {makeSlot(square, 1, 0, 0, 0.6f)}, {}, env, 1);
    Instrument* drum = addInstrument(synth, {makeSlot(square)}, {}, env, 1, 0.2f);
    Generator rng;

    float at(int n) { return float(double(n) / 22050); }
};

TEST_F(SynthTest, ConstructionLeavesThePoolFreeAndTheListsEmpty) {
    Synth fresh(44100);
    EXPECT_EQ(fresh.sampleRate, 44100);
    EXPECT_EQ(fresh.voices.size(), 50u);
    for (const Voice& v : fresh.voices) {
        EXPECT_FALSE(v.active);
        EXPECT_EQ(v.start, 0.0f);
        EXPECT_EQ(v.channel, nullptr);
        ASSERT_NE(v.instance, nullptr);
        EXPECT_EQ(v.instance->name, "");
        EXPECT_TRUE(v.instance->oscSlots.empty());
    }
    EXPECT_TRUE(fresh.instruments.empty() && fresh.oscillators.empty() && fresh.oscSlots.empty() &&
                fresh.filters.empty() && fresh.lfos.empty() && fresh.envelopes.empty() &&
                fresh.channels.empty());
    EXPECT_EQ(fresh.mix(0.5f), 0.0f);
}

TEST_F(SynthTest, NotesTakeTheLowestFreeVoice) {
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, 0, 0.0f, 10));
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, 0, 0.0f, 0.05f));  // voice 1 ends first
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, 0, 0.0f, 10));
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, 3, 0.0f, 10));
    EXPECT_EQ(synth.voices[3].note, 3);
    EXPECT_EQ(synth.activeVoices(), 4);
    // Voice 1's lifetime is 0.05 + 0.1 s.
    EXPECT_EQ(synth.voices[1].lifetime, float(0.05 + double(0.1f)));
    synth.mix(0.2f);
    EXPECT_FALSE(synth.voices[1].active);
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, 7, 0.3f, 10));
    EXPECT_TRUE(synth.voices[1].active);
    EXPECT_EQ(synth.voices[1].note, 7);
    EXPECT_EQ(synth.voices[1].start, 0.3f);
    EXPECT_FALSE(synth.voices[4].active);
}

TEST_F(SynthTest, TheFiftyFirstNoteIsDropped) {
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(synth.noteOn(tone, channel, 1, i, 1.0f, 1));
    EXPECT_FALSE(synth.noteOn(tone, channel, 1, 99, 0.0f, 1));
    for (const Voice& v : synth.voices) EXPECT_NE(v.note, 99);  // nothing was stolen
    EXPECT_EQ(synth.activeVoices(), 50);
}

TEST_F(SynthTest, PendingNotesAreSilentUntilAfterTheirStart) {
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, 0, 10.0f, 1));
    EXPECT_EQ(synth.mix(9.0f), 0.0f);
    EXPECT_TRUE(synth.voices[0].active);
    EXPECT_EQ(synth.voices[0].instance->oscSlots[0].phase, 0.6f);
    EXPECT_EQ(synth.mix(10.0f), 0.0f);  // d = 0: not yet
    EXPECT_EQ(synth.voices[0].instance->oscSlots[0].phase, 0.6f);
    const float t = std::nextafter(10.0f, 11.0f);
    // Square at phase 0.6 + one step: second half, +1; times volume 0.5.
    EXPECT_EQ(synth.mix(t), 0.5f);
    EXPECT_GT(synth.voices[0].instance->oscSlots[0].phase, 0.6f);
}

TEST_F(SynthTest, AVoiceSoundsUpToItsLifetimeAndIsFreedAfter) {
    // A noise slot shows whether the voice was evaluated: one draw each.
    Instrument* hiss = addInstrument(synth, {makeSlot(noise)}, {}, env, 1);
    ASSERT_TRUE(synth.noteOn(hiss, channel, 1, 0, 0.0f, 0.4f));
    ASSERT_EQ(synth.voices[0].lifetime, 0.5f);
    synth.noise = &rng;
    rng.srand(9);
    synth.mix(0.5f);  // d = 0.5 = lifetime: still evaluated
    EXPECT_TRUE(synth.voices[0].active);
    rng.srand(9);
    Generator afterOne = rng;
    afterOne.rand();
    synth.mix(0.5f);
    EXPECT_EQ(rng.state, afterOne.state);
    synth.mix(std::nextafter(0.5f, 1.0f));
    EXPECT_FALSE(synth.voices[0].active);
    EXPECT_EQ(rng.state, afterOne.state);  // freed without being evaluated
}

TEST_F(SynthTest, NoiseDrawsFromTheSynthsOwnGeneratorUnlessPointedElsewhere) {
    Instrument* hiss = addInstrument(synth, {makeSlot(noise)}, {}, env, 1);
    ASSERT_TRUE(synth.noteOn(hiss, channel, 1, 0, 0.0f, 1.0f));
    Generator expected;  // a fresh synth's generator starts from state 1
    const float first = float((expected.rand() * double(1.0f / 32767) - 0.5) * 2 * 0.5);
    EXPECT_EQ(synth.mix(0.25f), first);
    EXPECT_EQ(synth.ownNoise.state, expected.state);
    synth.noise = &rng;
    rng.srand(42);
    Generator other = rng;
    const float second = float((other.rand() * double(1.0f / 32767) - 0.5) * 2 * 0.5);
    EXPECT_EQ(synth.mix(0.5f), second);
    EXPECT_EQ(rng.state, other.state);
    EXPECT_EQ(synth.ownNoise.state, expected.state);  // left alone
}

TEST_F(SynthTest, ANegativeLifetimeIsFreedBeforeItsStart) {
    // An explicit negative length is taken as given: lifetime -0.5 + 0.1.
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, 0, 10.0f, -0.5f));
    EXPECT_EQ(synth.voices[0].lifetime, float(-0.5 + double(0.1f)));
    synth.mix(9.0f);  // d = -1 is not beyond the lifetime yet
    EXPECT_TRUE(synth.voices[0].active);
    synth.mix(9.7f);  // d = -0.3 > -0.4: freed, never sounded
    EXPECT_FALSE(synth.voices[0].active);
    EXPECT_EQ(synth.voices[0].instance->oscSlots[0].phase, 0.6f);
}

TEST_F(SynthTest, NotesPlacedLateOrAheadWakeOnTime) {
    // Note -200 is a fraction of a hertz: the square stays at +1 (phase 0.6),
    // so each held voice adds its channel volume, 0.5.
    const int dc = -200;
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, dc, 5.0f, 1));
    EXPECT_EQ(synth.mix(1.0f), 0.0f);
    // Placed for a start already passed: it sounds at once. Placed ahead, but
    // before the pending voice 0: it is not held back by it.
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, dc, 0.5f, 1));
    ASSERT_TRUE(synth.noteOn(tone, channel, 1, dc, 1.5f, 1));
    EXPECT_EQ(synth.mix(1.25f), 0.5f);
    EXPECT_EQ(synth.mix(1.5f), 0.5f);
    EXPECT_NEAR(synth.mix(std::nextafter(1.5f, 2.0f)), 1.0f, 1e-5);  // 1 releasing, 2 starts
    EXPECT_EQ(synth.mix(5.0f), 0.0f);
    EXPECT_FALSE(synth.voices[1].active);
    EXPECT_FALSE(synth.voices[2].active);
    EXPECT_TRUE(synth.voices[0].active);
    EXPECT_EQ(synth.mix(std::nextafter(5.0f, 6.0f)), 0.5f);
}

TEST_F(SynthTest, MixSumsVoicesScaledByChannelAndGain) {
    Channel* loud = addChannel(synth, 2.0f);
    ASSERT_TRUE(synth.noteOn(tone, channel, 0.25f, 0, 0.0f, 1));
    ASSERT_TRUE(synth.noteOn(tone, loud, 0.75f, 12, 0.0f, 1));
    Instrument a, b;
    a.assignFrom(*tone);
    b.assignFrom(*tone);
    for (int n = 1; n < 300; ++n) {
        const float t = at(n);
        const float expected = float(float(a.sample(0, t, 1, 0, rng) * 0.5 * 0.25) +
                                     double(b.sample(12, t, 1, 0, rng)) * 2.0 * 0.75);
        ASSERT_EQ(synth.mix(t), expected) << n;
    }
}

TEST_F(SynthTest, ChordOnPlacesFourNotes) {
    EXPECT_TRUE(synth.chordOn(tone, channel, 1, -33, 1, 0.0f, 1));
    EXPECT_EQ(synth.voices[0].note, -33);
    EXPECT_EQ(synth.voices[1].note, -30);
    EXPECT_EQ(synth.voices[2].note, -26);
    EXPECT_EQ(synth.voices[3].note, -21);
    EXPECT_FALSE(synth.voices[4].active);
    // With two voices left, the chord keeps its first two notes and reports
    // the failure of its last.
    for (int i = 4; i < 48; ++i) synth.noteOn(tone, channel, 1, 0, 0.0f, 1);
    EXPECT_FALSE(synth.chordOn(tone, channel, 1, 0, 3, 0.0f, 1));
    EXPECT_EQ(synth.voices[48].note, 0);
    EXPECT_EQ(synth.voices[49].note, 3);
    EXPECT_FALSE(synth.chordOn(tone, channel, 1, 0, 4, 0.0f, 1));  // no such chord
}

TEST_F(SynthTest, DefaultLengthsAndRefusedNotes) {
    ASSERT_TRUE(synth.noteOn(drum, channel, 1, 0, 0.0f, -1));
    EXPECT_EQ(synth.voices[0].holdLength, 0.2f);
    EXPECT_EQ(synth.voices[0].lifetime, float(0.2 + double(0.1f)));
    ASSERT_TRUE(synth.noteOn(drum, channel, 1, 0, 0.0f, 0.5f));  // an explicit length wins
    EXPECT_EQ(synth.voices[1].holdLength, 0.5f);
    EXPECT_FALSE(synth.noteOn(tone, channel, 1, 0, 0.0f, -1));   // no length at all
    Instrument noEnvelope("x");
    noEnvelope.oscSlots = {makeSlot(square)};
    EXPECT_FALSE(synth.noteOn(&noEnvelope, channel, 1, 0, 0.0f, 1));
    EXPECT_FALSE(synth.noteOn(nullptr, channel, 1, 0, 0.0f, 1));
    EXPECT_FALSE(synth.noteOn(tone, nullptr, 1, 0, 0.0f, 1));
    EXPECT_EQ(synth.activeVoices(), 2);
}

TEST_F(SynthTest, EachNoteStartsFromTheTemplatesPhaseAndHistory) {
    Envelope* shortEnv = addEnvelope(synth, 0, 0, 1, 0);
    Instrument* filtered = addInstrument(
        synth, {makeSlot(square, 1, 0, 0, 0.6f)},
        {Filter("lp", 0.7f, FilterLowpass, 800, 22050)}, shortEnv, 1);
    ASSERT_TRUE(synth.noteOn(filtered, channel, 1, 0, 0.0f, 0.01f));
    float first[50];
    for (int n = 1; n <= 50; ++n) first[n - 1] = synth.mix(at(n));
    for (int n = 51; n < 400; ++n) synth.mix(at(n));  // past the note's end
    ASSERT_FALSE(synth.voices[0].active);
    ASSERT_TRUE(synth.noteOn(filtered, channel, 1, 0, at(400), 0.01f));
    for (int n = 401; n <= 450; ++n) EXPECT_NEAR(synth.mix(at(n)), first[n - 401], 1e-5) << n;
}

}  // namespace
}  // namespace vortel
