#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/synth.h"
#include "song/sequencer.h"

namespace vortel {
namespace {

// A voice placement as the synth recorded it.
struct Placed {
    float start;
    int32_t note;
    float gain;
    float hold;
    const Channel* channel;
    bool operator==(const Placed&) const = default;
};

std::vector<Placed> activeVoices(const Synth& synth) {
    std::vector<Placed> out;
    for (const Voice& v : synth.voices)
        if (v.active) out.push_back({v.start, v.note, v.gain, v.holdLength, v.channel});
    return out;
}

class SequencerTest : public ::testing::Test {
protected:
    SequencerTest() {
        envelope.attack = 0.01f;
        envelope.sustain = 1;
        envelope.release = 0.01f;
        instrument.envelope = &envelope;
        instrument.defaultLength = 0.25f;
        other.envelope = &envelope;
        other.defaultLength = 0.75f;
    }

    // A pattern with notes at the given times (pitch -33, velocity 0.4).
    Pattern patternAt(std::initializer_list<float> times) {
        Pattern p(synth, "bass");
        for (float t : times) p.addNote(&instrument, &channel, 0.4f, -33, t, -1.0f);
        return p;
    }

    Synth synth{22050};
    Envelope envelope{"env"};
    Instrument instrument{"inst"};
    Instrument other{"other"};
    Channel channel{"one", 0.05f};
    Channel otherChannel{"two", 0.1f};
    Sequencer sequencer{synth};
};

TEST_F(SequencerTest, AddNoteKeepsOrderAndTracksTheLatestTime) {
    Pattern p(synth);
    EXPECT_EQ(p.length, 0.0f);
    EXPECT_EQ(p.volume, 1.0f);
    EXPECT_EQ(p.lengthOverride, -1.0f);
    EXPECT_EQ(p.chordOverride, -1);
    p.addNote(&instrument, &channel, 1, 0, 0.5f, -1);
    p.addNote(&instrument, &channel, 1, 1, 0.25f, -1);  // earlier time: length unchanged
    p.addNote(&instrument, &channel, 1, 2, 0.75f, 0.1f);
    ASSERT_EQ(p.notes.size(), 3u);
    EXPECT_EQ(p.notes[1].pitch, 1);
    EXPECT_EQ(p.notes[1].time, 0.25f);
    EXPECT_EQ(p.notes[2].length, 0.1f);
    EXPECT_EQ(p.notes[2].chord, -1);
    EXPECT_EQ(p.length, 0.75f);
}

TEST_F(SequencerTest, AddInstanceCopiesDeeplyAndSetsThePlacement) {
    Pattern p = patternAt({0.5f});
    sequencer.addInstance(p, 8.0f, 3, &other, 0.5f, 1, 0.2f, &otherChannel);
    p.addNote(&instrument, &channel, 1, 0, 0.75f, -1);
    p.notes[0].pitch = 99;
    ASSERT_EQ(sequencer.instances.size(), 1u);
    const Pattern& inst = sequencer.instances[0];
    ASSERT_EQ(inst.notes.size(), 1u);
    EXPECT_EQ(inst.notes[0].pitch, -33);
    EXPECT_EQ(inst.offset, 8.0f);
    EXPECT_EQ(inst.transpose, 3);
    EXPECT_EQ(inst.instrument, &other);
    EXPECT_EQ(inst.volume, 0.5f);
    EXPECT_EQ(inst.chordOverride, 1);
    EXPECT_EQ(inst.lengthOverride, 0.2f);
    EXPECT_EQ(inst.channel, &otherChannel);
    EXPECT_EQ(p.offset, 0.0f);  // the caller's pattern is untouched
}

TEST_F(SequencerTest, PassesRunOncePerSecondOverConsecutiveWindows) {
    sequencer.addInstance(patternAt({0.0f, 0.5f, 0.999f, 1.0f, 1.5f, 2.0f}), 0.0f, 0, nullptr, 1.0f, -1, -1.0f,
                          nullptr);
    sequencer.tick(0.0f);
    auto placed = activeVoices(synth);
    ASSERT_EQ(placed.size(), 3u);
    EXPECT_EQ(placed[0].start, 0.0f);
    EXPECT_EQ(placed[1].start, 0.5f);
    EXPECT_EQ(placed[2].start, 0.999f);
    EXPECT_EQ(sequencer.lastTick, 0.0f);

    sequencer.tick(0.99995f);  // not yet a second since the last pass
    EXPECT_EQ(activeVoices(synth).size(), 3u);
    EXPECT_EQ(sequencer.lastTick, 0.0f);

    // A note exactly at the end of a window belongs to the next one.
    sequencer.tick(1.0f);
    placed = activeVoices(synth);
    ASSERT_EQ(placed.size(), 5u);
    EXPECT_EQ(placed[3].start, 1.0f);
    EXPECT_EQ(placed[4].start, 1.5f);
    sequencer.tick(2.0f);
    EXPECT_EQ(activeVoices(synth).size(), 6u);
}

TEST_F(SequencerTest, SampleClockStartsEveryNoteOnceAtMostOneSecondAhead) {
    // Notes on every eighth of a second for 4 s, offset by 0.75 s; drive the
    // sequencer with the renderer's clock and record each placement.
    Pattern p(synth, "hihat");
    for (int k = 0; k < 32; ++k) p.addNote(&instrument, &channel, 1, k, 0.125f * k, 0.01f);
    sequencer.addInstance(p, 0.75f, 0, nullptr, 1.0f, -1, -1.0f, nullptr);
    std::vector<int> seen;
    std::vector<bool> wasActive(kVoiceCount, false);
    for (int n = 0; n < 6 * 22050; ++n) {
        const float t = static_cast<float>(n) / 22050.0f;
        sequencer.tick(t);
        for (int v = 0; v < kVoiceCount; ++v) {
            const Voice& voice = synth.voices[v];
            if (voice.active && !wasActive[v]) {
                seen.push_back(voice.note);
                EXPECT_GE(voice.start, t);
                EXPECT_LT(voice.start, t + 1.0f);
                EXPECT_EQ(t, std::floor(t));  // only the once-a-second passes place notes
            }
        }
        synth.mix(t);
        for (int v = 0; v < kVoiceCount; ++v) wasActive[v] = synth.voices[v].active;
    }
    ASSERT_EQ(seen.size(), 32u);
    for (int k = 0; k < 32; ++k) EXPECT_EQ(seen[k], k);
}

TEST_F(SequencerTest, LateInstanceWaitsForItsWindows) {
    sequencer.addInstance(patternAt({0.5f, 1.0f}), 8.0f, 0, nullptr, 1.0f, -1, -1.0f, nullptr);
    for (int s = 0; s <= 7; ++s) sequencer.tick(static_cast<float>(s));
    EXPECT_TRUE(activeVoices(synth).empty());
    sequencer.tick(8.0f);
    auto placed = activeVoices(synth);
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].start, 8.5f);
    sequencer.tick(9.0f);
    placed = activeVoices(synth);
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[1].start, 9.0f);
}

TEST_F(SequencerTest, OverridesTransposeAndVolumeApply) {
    Pattern empty(synth, "pad");
    sequencer.addInstance(empty, 0.0f, 0, nullptr, 1.0f, -1, -1.0f, nullptr);
    // Transpose 3, volume 0.5: pitch -33 at 0.4 plays -30 at 0.2, own channel
    // and default length.
    sequencer.addInstance(patternAt({0.0f}), 0.0f, 3, nullptr, 0.5f, -1, -1.0f, nullptr);
    // Length override, instrument and channel override.
    sequencer.addInstance(patternAt({0.25f}), 0.0f, 0, &other, 1.0f, -1, 0.5f, &otherChannel);
    // Instrument override with its own default length.
    sequencer.addInstance(patternAt({0.5f}), 0.0f, 0, &other, 1.0f, -1, -1.0f, nullptr);
    // Chord override 1: +0, +3, +7, +12.
    sequencer.addInstance(patternAt({0.75f}), 0.0f, 0, nullptr, 1.0f, 1, -1.0f, nullptr);
    sequencer.tick(0.0f);
    const auto placed = activeVoices(synth);
    ASSERT_EQ(placed.size(), 7u);
    EXPECT_EQ(placed[0], (Placed{0.0f, -30, 0.2f, 0.25f, &channel}));
    EXPECT_EQ(placed[1], (Placed{0.25f, -33, 0.4f, 0.5f, &otherChannel}));
    EXPECT_EQ(placed[2], (Placed{0.5f, -33, 0.4f, 0.75f, &channel}));
    const int32_t chordNotes[4] = {-33, -30, -26, -21};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(placed[3 + k], (Placed{0.75f, chordNotes[k], 0.4f, 0.25f, &channel}));
}

TEST_F(SequencerTest, NotesWithoutAnyLengthAndNotesBeyondThePoolAreLost) {
    Instrument noLength("none");
    noLength.envelope = &envelope;
    Pattern p(synth, "bass");
    p.addNote(&noLength, &channel, 1, 0, 0.0f, -1.0f);
    for (int k = 0; k < 60; ++k) p.addNote(&instrument, &channel, 1, k, 0.01f * k, 2.0f);
    sequencer.addInstance(p, 0.0f, 0, nullptr, 1.0f, -1, -1.0f, nullptr);
    sequencer.tick(0.0f);
    const auto placed = activeVoices(synth);
    ASSERT_EQ(placed.size(), static_cast<size_t>(kVoiceCount));
    EXPECT_EQ(placed.front().note, 0);
    EXPECT_EQ(placed.back().note, kVoiceCount - 1);
}

TEST_F(SequencerTest, KeepOnlyPartFiltersInstancesInOrder) {
    Pattern drums(synth, "drums"), bass(synth, "bass"), pad(synth, "pad");
    for (int span = 0; span < 3; ++span) {
        sequencer.addInstance(drums, span * 4.0f, 0, nullptr, 1.0f, -1, -1.0f, nullptr);
        sequencer.addInstance(bass, span * 4.0f, span, nullptr, 1.0f, -1, -1.0f, nullptr);
        sequencer.addInstance(pad, span * 4.0f, span, nullptr, 0.5f, -1, -1.0f, nullptr);
    }
    sequencer.keepOnlyPart("bass");
    ASSERT_EQ(sequencer.instances.size(), 3u);
    for (int span = 0; span < 3; ++span) {
        EXPECT_EQ(sequencer.instances[span].part, "bass");
        EXPECT_EQ(sequencer.instances[span].transpose, span);
        EXPECT_EQ(sequencer.instances[span].offset, span * 4.0f);
    }
    sequencer.keepOnlyPart("hihat");
    EXPECT_TRUE(sequencer.instances.empty());
}

}  // namespace
}  // namespace vortel
