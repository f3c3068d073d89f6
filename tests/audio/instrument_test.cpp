#include <gtest/gtest.h>

#include "alloc_counter.h"
#include "core/rng.h"
#include "audio/instrument.h"

namespace vortel {
namespace {

struct InstrumentTest : ::testing::Test {
    Oscillator square{"square"}, saw{"saw"}, noise{"noise"};
    Envelope flat{"flat"};   // level 0.5 from the start until note-off
    Generator rng;
    void SetUp() override {
        square.waveform = waveSquare;
        saw.waveform = waveRampDown;
        noise.waveform = waveNoise;
        flat.sustain = 0.5f;
        flat.release = 0.1f;
    }
    OscSlot slot(Oscillator* o, float amplitude, float phase = 0) {
        OscSlot s("s");
        s.oscillator = o, s.amplitude = amplitude, s.phase = phase;
        return s;
    }
};

TEST_F(InstrumentTest, WithoutFiltersTheSlotsAreSummedAndScaled) {
    Instrument in("i");
    in.envelope = &flat;
    in.gain = 3;
    in.oscSlots = {slot(&square, 1, 0.6f), slot(&saw, 0.5f, 0.1f)};
    OscSlot a = in.oscSlots[0], b = in.oscSlots[1];
    for (int i = 1; i < 50; ++i) {
        const float d = i / 22050.0f;
        const float expected =
            float((a.sample(-9, d, 1, 0, rng) + double(b.sample(-9, d, 1, 0, rng))) * 0.5 * 3);
        ASSERT_FLOAT_EQ(in.sample(-9, d, 1, 0, rng), expected);
    }
}

TEST_F(InstrumentTest, FiltersSeeTheSumBeforeEnvelopeAndGain) {
    Instrument in("i");
    in.envelope = &flat;
    in.gain = 2;
    in.oscSlots = {slot(&square, 1, 0.6f)};
    in.filters = {Filter("lp", 0.7f, FilterLowpass, 1000, 22050),
                  Filter("hp", 0.7f, FilterHighpass, 200, 22050)};
    Filter lp = in.filters[0], hp = in.filters[1];
    OscSlot s = in.oscSlots[0];
    for (int i = 1; i < 200; ++i) {
        const float d = i / 22050.0f;
        const float x = s.sample(0, d, 1, 0, rng);
        const float y = hp.process(lp.process(x, d, 1, 0, rng), d, 1, 0, rng);
        ASSERT_EQ(in.sample(0, d, 1, 0, rng), float(0.5 * y * 2));
    }
}

TEST_F(InstrumentTest, SilentWithoutSlotsOrAfterTheRelease) {
    Instrument empty("e");
    empty.envelope = &flat;
    empty.filters = {Filter("lp", 0.7f, FilterLowpass, 1000, 22050)};
    EXPECT_EQ(empty.sample(0, 0.01f, 1, 0, rng), 0.0f);
    Instrument in("i");
    in.envelope = &flat;
    in.oscSlots = {slot(&square, 1, 0.6f)};
    EXPECT_NE(in.sample(0, 0.5f, 1, 0, rng), 0.0f);
    EXPECT_EQ(in.sample(0, 1.1f, 1, 0, rng), 0.0f);  // hold 1 + release 0.1 passed
}

TEST_F(InstrumentTest, SlotsSampleInListOrder) {
    // Each noise slot takes the next generator value, in slot order.
    Instrument in("i");
    in.envelope = &flat;
    in.oscSlots = {slot(&noise, 1), slot(&noise, 1000)};
    rng.srand(11);
    Generator draws = rng;
    const int r1 = draws.rand(), r2 = draws.rand();
    const double n1 = (r1 * double(1.0f / 32767) - 0.5) * 2, n2 = (r2 * double(1.0f / 32767) - 0.5) * 2;
    const float expected = float(float(float(n1) + double(float(n2) * 1000.0f)) * 0.5);
    EXPECT_EQ(in.sample(0, 0.01f, 1, 0, rng), expected);
}

TEST_F(InstrumentTest, AssignFromCopiesEverythingButTheName) {
    Instrument tmpl("bass:template");
    tmpl.envelope = &flat;
    tmpl.gain = 4;
    tmpl.defaultLength = 0.3f;
    tmpl.oscSlots = {slot(&square, 1, 0.25f), slot(&saw, 2, 0.5f)};
    tmpl.oscSlots[1].octave = -1, tmpl.oscSlots[1].semitone = 3, tmpl.oscSlots[1].detune = 0.05f;
    Filter f("LowpassSnap", 8, FilterLowpass, 400, 22050);
    f.x1 = 0.5f, f.y2 = -0.25f, f.b1 = 0.125f, f.cachedCutoff = 400;
    tmpl.filters = {f};

    Instrument copy;
    copy.assignFrom(tmpl);
    EXPECT_EQ(copy.name, "");
    EXPECT_EQ(copy.envelope, &flat);
    EXPECT_EQ(copy.gain, 4.0f);
    EXPECT_EQ(copy.defaultLength, 0.3f);
    ASSERT_EQ(copy.oscSlots.size(), 2u);
    EXPECT_EQ(copy.oscSlots[1].oscillator, &saw);
    EXPECT_EQ(copy.oscSlots[1].amplitude, 2.0f);
    EXPECT_EQ(copy.oscSlots[1].octave, -1);
    EXPECT_EQ(copy.oscSlots[1].semitone, 3);
    EXPECT_EQ(copy.oscSlots[1].detune, 0.05f);
    EXPECT_EQ(copy.oscSlots[1].phase, 0.5f);
    ASSERT_EQ(copy.filters.size(), 1u);
    EXPECT_EQ(copy.filters[0].name, "LowpassSnap");
    EXPECT_EQ(copy.filters[0].x1, 0.5f);
    EXPECT_EQ(copy.filters[0].y2, -0.25f);
    EXPECT_EQ(copy.filters[0].b1, 0.125f);
    EXPECT_EQ(copy.filters[0].cachedCutoff, 400.0f);
    EXPECT_EQ(copy.filters[0].sampleRate, 22050);

    // The copy plays on its own: the template keeps its phases and history.
    copy.sample(0, 0.01f, 1, 0, rng);
    EXPECT_EQ(tmpl.oscSlots[0].phase, 0.25f);
    EXPECT_EQ(tmpl.filters[0].x1, 0.5f);
}

TEST_F(InstrumentTest, AssignFromReusesComponentsAndShrinks) {
    Instrument big("big"), small("small");
    big.envelope = small.envelope = &flat;
    big.oscSlots = {slot(&saw, 1), slot(&saw, 1), slot(&saw, 1), slot(&saw, 1)};
    big.filters = {Filter("LowpassGateResoLfo", 1, FilterLowpass, 50, 22050),
                   Filter("HighpassOpen", 5, FilterHighpass, 400, 22050)};
    small.oscSlots = {slot(&square, 1, 0.6f)};
    small.filters = {Filter("Hipass", 0.8f, FilterHighpass, 9500, 22050)};

    Instrument voice;
    {
        testing::AllocationScope scope;
        voice.assignFrom(big);
        EXPECT_GT(scope.count(), 0u);  // the first, largest copy allocates
    }
    const OscSlot* slots = voice.oscSlots.data();
    {
        testing::AllocationScope scope;
        voice.assignFrom(small);
        voice.assignFrom(big);
        voice.assignFrom(small);
        EXPECT_EQ(scope.count(), 0u);
    }
    EXPECT_EQ(voice.oscSlots.data(), slots);
    // Only the small instrument's one slot sounds.
    ASSERT_EQ(voice.oscSlots.size(), 1u);
    ASSERT_EQ(voice.filters.size(), 1u);
    Instrument expected;
    expected.envelope = &flat;
    expected.oscSlots = small.oscSlots;
    expected.filters = small.filters;
    for (int i = 1; i < 100; ++i) {
        const float d = i / 22050.0f;
        ASSERT_EQ(voice.sample(-21, d, 1, 0, rng), expected.sample(-21, d, 1, 0, rng));
    }
}

}  // namespace
}  // namespace vortel
