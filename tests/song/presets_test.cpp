#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/rng.h"
#include "audio/synth.h"
#include "song/presets.h"

namespace vortel {
namespace {

template <typename T>
std::vector<std::string> names(const std::vector<T*>& list) {
    std::vector<std::string> out;
    for (const T* entry : list) out.push_back(entry->name);
    return out;
}

template <typename T>
std::vector<std::string> names(const std::vector<std::unique_ptr<T>>& list) {
    std::vector<std::string> out;
    for (const auto& entry : list) out.push_back(entry->name);
    return out;
}

template <typename T>
T* named(const std::vector<std::unique_ptr<T>>& list, const std::string& name) {
    for (const auto& entry : list)
        if (entry->name == name) return entry.get();
    return nullptr;
}

class PresetLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { buildPresets(synth, 135.0f); }
    Synth synth{22050};
};

TEST_F(PresetLibraryTest, ListsHoldEveryPresetInCreationOrder) {
    EXPECT_EQ(names(synth.envelopes),
              (std::vector<std::string>{"Slow Descend", "slow sweep", "sweep", "SlowRelease", "BumpHihat",
                                        "BumpFastest", "BumpFast", "Bump", "Bump2", "Snap", "Snap2",
                                        "SnapWithSustain", "Gate", "FullSus", "Attack"}));
    EXPECT_EQ(names(synth.lfos), (std::vector<std::string>{"SawUp220", "SlowSin", "FastSquare"}));
    EXPECT_EQ(synth.filters.size(), 16u);
    EXPECT_EQ(synth.filters[1]->name, "Hipass");
    EXPECT_EQ(synth.filters[15]->name, "HipassBump");
    EXPECT_EQ(names(synth.oscillators),
              (std::vector<std::string>{"SawDown", "Square", "BassDrum", "GabberBassDrum", "Impulse",
                                        "SawDownWithLfo", "Noise"}));
    EXPECT_EQ(synth.oscSlots.size(), 11u);
    EXPECT_EQ(synth.oscSlots[9]->name, "SawDownWithLfo");
    EXPECT_EQ(names(synth.instruments),
              (std::vector<std::string>{"misc:saw low pass", "pad:slow pulsing pad", "pad:warm pad",
                                        "misc:noise low pass", "misc:noise high pass", "misc:noise low pass sweep",
                                        "bass:snap bass", "bass:bump bass", "bass:attack bass", "bass:bump bass 2",
                                        "drum:bass:bump", "drum:bass:gabber", "drum:snare:bump",
                                        "drum:snare:harsh", "drum:hihat"}));
    ASSERT_EQ(synth.channels.size(), 2u);
    EXPECT_EQ(synth.channels[0]->name, "one");
    EXPECT_FLOAT_EQ(synth.channels[0]->volume, 0.05f);
    EXPECT_EQ(synth.channels[1]->name, "two");
    EXPECT_FLOAT_EQ(synth.channels[1]->volume, 0.1f);
}

TEST_F(PresetLibraryTest, ReferencesResolveToTheIntendedEntries) {
    // Several envelope names are prefixes of earlier ones ("Bump" of
    // "BumpHihat", "Snap" of "SnapWithSustain"), so references must be the
    // entries themselves, not first prefix matches.
    const Envelope* bump = named(synth.envelopes, "Bump");
    const Filter* bumpLfo = synth.filters[9].get();
    EXPECT_EQ(bumpLfo->name, "LowpassBumpLfo");
    EXPECT_EQ(bumpLfo->cutoffEnvelope, bump);
    EXPECT_EQ(bumpLfo->cutoffLfo, named(synth.lfos, "SlowSin"));
    EXPECT_FLOAT_EQ(bumpLfo->lfoDepth, 0.5f);
    EXPECT_EQ(named(synth.oscillators, "BassDrum")->pitchEnvelope, named(synth.envelopes, "Snap"));
    EXPECT_EQ(named(synth.oscillators, "Impulse")->pitchEnvelope, named(synth.envelopes, "Snap2"));
    EXPECT_FLOAT_EQ(named(synth.oscillators, "Impulse")->pitchEnvDepth, 10.0f);
    EXPECT_EQ(named(synth.oscillators, "SawDownWithLfo")->pitchLfo, named(synth.lfos, "SawUp220"));
    EXPECT_EQ(named(synth.instruments, "drum:hihat")->envelope, named(synth.envelopes, "BumpHihat"));
    EXPECT_EQ(named(synth.instruments, "drum:bass:bump")->envelope, bump);

    // The filter named "LowpassSlowSweep" that the slow pulsing pad uses is a
    // high-pass pulsing with the tempo; the warm pad's namesake is a low-pass.
    const Filter* pulse = synth.filters[3].get();
    EXPECT_EQ(pulse->type, FilterHighpass);
    EXPECT_EQ(pulse->cutoffLfo, named(synth.lfos, "FastSquare"));
    EXPECT_FLOAT_EQ(pulse->lfoDepth, -0.3f);
    EXPECT_EQ(pulse->cutoffEnvelope, named(synth.envelopes, "Slow Descend"));
    EXPECT_EQ(synth.filters[6]->type, FilterLowpass);
    EXPECT_EQ(synth.filters[6]->cutoffEnvelope, named(synth.envelopes, "slow sweep"));
    EXPECT_FLOAT_EQ(synth.filters[15]->envOffset, 1.3f);
    EXPECT_EQ(synth.filters[13]->cutoffLfo, nullptr);

    // Two cycles per beat: 135 BPM = 2.25 beats per second.
    EXPECT_NEAR(named(synth.lfos, "FastSquare")->rate, 4.5f, 1e-5f);
    for (const auto& filter : synth.filters) EXPECT_EQ(filter->sampleRate, 22050);
}

TEST_F(PresetLibraryTest, InstrumentsOwnCopiesOfTheirSlotsAndFilters) {
    const Instrument* pad = named(synth.instruments, "pad:slow pulsing pad");
    ASSERT_EQ(pad->oscSlots.size(), 2u);
    EXPECT_EQ(pad->oscSlots[1].name, "SawDownSub");
    EXPECT_EQ(pad->oscSlots[1].octave, -1);
    ASSERT_EQ(pad->filters.size(), 1u);
    EXPECT_EQ(pad->filters[0].type, FilterHighpass);
    EXPECT_FLOAT_EQ(pad->gain, 6.0f);
    EXPECT_FLOAT_EQ(pad->defaultLength, -1.0f);

    const Instrument* attackBass = named(synth.instruments, "bass:attack bass");
    ASSERT_EQ(attackBass->oscSlots.size(), 2u);
    EXPECT_NE(&attackBass->oscSlots[0], &attackBass->oscSlots[1]);

    const Instrument* harsh = named(synth.instruments, "drum:snare:harsh");
    ASSERT_EQ(harsh->filters.size(), 2u);
    EXPECT_EQ(harsh->filters[0].name, "LowpassOpen");
    EXPECT_EQ(harsh->filters[1].name, "HighpassOpen");
    EXPECT_FLOAT_EQ(harsh->defaultLength, 0.2f);

    const Instrument* lfoSaw = named(synth.instruments, "misc:saw low pass");
    EXPECT_FLOAT_EQ(lfoSaw->oscSlots[0].phase, 0.5f);

    // Changing a library slot afterwards leaves the instruments' copies alone.
    named(synth.oscSlots, "SawDownSub")->amplitude = 9;
    EXPECT_FLOAT_EQ(pad->oscSlots[1].amplitude, 1.0f);
}

TEST_F(PresetLibraryTest, PrefixSearchIsAnchoredAndCaseSensitive) {
    EXPECT_EQ(names(findInstruments(synth, "bass:")),
              (std::vector<std::string>{"bass:snap bass", "bass:bump bass", "bass:attack bass", "bass:bump bass 2"}));
    EXPECT_EQ(names(findInstruments(synth, "drum:")),
              (std::vector<std::string>{"drum:bass:bump", "drum:bass:gabber", "drum:snare:bump",
                                        "drum:snare:harsh", "drum:hihat"}));
    EXPECT_EQ(findInstruments(synth, "").size(), 15u);
    EXPECT_TRUE(findInstruments(synth, "Bass:").empty());
    EXPECT_TRUE(findInstruments(synth, "drum:hihat:").empty());  // longer than the name
    EXPECT_EQ(names(findEnvelopes(synth, "Bump")),
              (std::vector<std::string>{"BumpHihat", "BumpFastest", "BumpFast", "Bump", "Bump2"}));
    EXPECT_EQ(names(findEnvelopes(synth, "slow")), (std::vector<std::string>{"slow sweep"}));
    EXPECT_EQ(names(findLfos(synth, "S")), (std::vector<std::string>{"SawUp220", "SlowSin"}));

    EXPECT_TRUE(hasPrefix("abc", ""));
    EXPECT_TRUE(hasPrefix("abc", "abc"));
    EXPECT_FALSE(hasPrefix("ab", "abc"));
    EXPECT_FALSE(hasPrefix("xabc", "abc"));
}

TEST_F(PresetLibraryTest, PickInstrumentDrawsOnceAndIndexesByRemainder) {
    // After srand(1) the generator yields 41, 18467, 6334, 26500.
    Generator rng;
    rng.srand(1);
    EXPECT_EQ(pickInstrument(synth, "pad:", rng)->name, "pad:warm pad");          // 41 odd
    EXPECT_EQ(pickInstrument(synth, "pad:", rng)->name, "pad:warm pad");          // 18467 odd
    EXPECT_EQ(pickInstrument(synth, "pad:", rng)->name, "pad:slow pulsing pad");  // 6334 even
    EXPECT_EQ(pickInstrument(synth, "bass:", rng)->name, "bass:snap bass");       // 26500 % 4 = 0
    EXPECT_EQ(pickInstrument(synth, "drum:", rng)->name, "drum:hihat");           // 19169 % 5 = 4
    rng.srand(1);
    Generator afterOne = rng;
    afterOne.rand();
    EXPECT_EQ(pickInstrument(synth, "nothing:", rng), nullptr);
    EXPECT_EQ(rng.state, afterOne.state);
}

TEST(PresetAdd, CopiesTheTemplateAndAppliesTheNameRule) {
    Synth synth(22050);
    Envelope tmpl("first");
    tmpl.attack = 0.5f;
    Envelope* a = addEnvelope(synth, tmpl, "");
    tmpl.attack = 0.25f;
    Envelope* b = addEnvelope(synth, tmpl, "second");
    EXPECT_EQ(a->name, "first");
    EXPECT_FLOAT_EQ(a->attack, 0.5f);
    EXPECT_EQ(b->name, "second");
    EXPECT_FLOAT_EQ(b->attack, 0.25f);
    EXPECT_EQ(tmpl.name, "first");

    Filter filterTmpl("f", 2, FilterBandpass, 300, 22050);
    filterTmpl.y1 = 0.75f;  // history travels with the copy
    Filter* f = addFilter(synth, filterTmpl, "g");
    EXPECT_EQ(f->name, "g");
    EXPECT_FLOAT_EQ(f->y1, 0.75f);
    EXPECT_EQ(f->sampleRate, 22050);

    Instrument instTmpl("inst");
    instTmpl.oscSlots.push_back(OscSlot("slot"));
    instTmpl.gain = 3;
    instTmpl.envelope = a;
    Instrument* inst = addInstrument(synth, instTmpl, "");
    instTmpl.oscSlots[0].amplitude = 7;
    EXPECT_EQ(inst->name, "inst");
    EXPECT_EQ(inst->envelope, a);
    EXPECT_FLOAT_EQ(inst->gain, 3);
    ASSERT_EQ(inst->oscSlots.size(), 1u);
    EXPECT_FLOAT_EQ(inst->oscSlots[0].amplitude, 1.0f);
    EXPECT_EQ(synth.instruments.size(), 1u);
}

}  // namespace
}  // namespace vortel
