#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "core/rng.h"
#include "core/song_layout.h"
#include "song/song_setup.h"
#include "audio/synth.h"
#include "song/composer.h"
#include "song/sequencer.h"

namespace vortel {
namespace {

// An independent model of the composer's draws, written from the generator's
// definition: state' = state * 214013 + 2531011, result bits 16..30.
struct ModelSong {
    int kick, snare, pad, bass;  // indices within their categories
    int offsets[4];
    int bassPattern;
    uint32_t finalState;
};

ModelSong modelDraws(uint32_t seed) {
    uint32_t s = seed;
    auto next = [&s] {
        s = s * 214013u + 2531011u;
        return static_cast<int>((s >> 16) & 0x7FFF);
    };
    ModelSong m{};
    m.kick = next() % 2;
    m.snare = next() % 2;
    m.pad = next() % 2;
    m.bass = next() % 4;
    for (int i = 0; i < 4; ++i) {
        int r = next() % 12;
        while (i > 0 && r == m.offsets[i - 1]) {
            next();
            r = next() % 12;
        }
        m.offsets[i] = r;
    }
    const int choice = next() % 3;
    m.bassPattern = choice == 0 ? 2 : choice == 1 ? 1 : 3;
    m.finalState = s;
    return m;
}

// A seed's song as the start-up composes it: the layout first, then the
// song at the layout's tempo, both drawing from one generator.
struct Composed {
    explicit Composed(int32_t seed) {
        layout.seed = seed;
        setupSong(layout, rng);
        song = compose(sequencer, layout.seed, layout.bpm, rng);
    }
    SongLayout layout;
    Generator rng;
    Synth synth{22050};
    Sequencer sequencer{synth};
    SongSummary song;
};

TEST(Composer, SeedsOneTwoAndThousand) {
    {
        Composed c(1);
        EXPECT_EQ(c.song.kick, "drum:bass:gabber");
        EXPECT_EQ(c.song.snare, "drum:snare:harsh");
        EXPECT_EQ(c.song.pad, "pad:slow pulsing pad");
        EXPECT_EQ(c.song.bass, "bass:snap bass");
        EXPECT_EQ(c.song.rootOffsets, (std::array<int32_t, 4>{5, 4, 6, 8}));
        EXPECT_EQ(c.song.bassPattern, 3);
    }
    {
        Composed c(1000);
        EXPECT_EQ(c.song.kick, "drum:bass:bump");
        EXPECT_EQ(c.song.snare, "drum:snare:harsh");
        EXPECT_EQ(c.song.pad, "pad:warm pad");
        EXPECT_EQ(c.song.bass, "bass:attack bass");
        EXPECT_EQ(c.song.rootOffsets, (std::array<int32_t, 4>{9, 7, 8, 2}));
        EXPECT_EQ(c.song.bassPattern, 3);
    }
    {
        Composed c(2);
        EXPECT_EQ(c.song.kick, "drum:bass:gabber");
        EXPECT_EQ(c.song.snare, "drum:snare:bump");
        EXPECT_EQ(c.song.pad, "pad:slow pulsing pad");
        EXPECT_EQ(c.song.bass, "bass:bump bass 2");
        EXPECT_EQ(c.song.rootOffsets, (std::array<int32_t, 4>{0, 6, 10, 7}));
        EXPECT_EQ(c.song.bassPattern, 1);
    }
}

TEST(Composer, DrawsMatchAnIndependentModelForManySeeds) {
    static const char* kKicks[] = {"drum:bass:bump", "drum:bass:gabber"};
    static const char* kSnares[] = {"drum:snare:bump", "drum:snare:harsh"};
    static const char* kPads[] = {"pad:slow pulsing pad", "pad:warm pad"};
    static const char* kBasses[] = {"bass:snap bass", "bass:bump bass", "bass:attack bass", "bass:bump bass 2"};
    int retries = 0;
    std::set<int> patternsSeen;
    for (int32_t seed : {0, 1, 2, 3, 7, 42, 99, 1000, 4096, 65535, 123456789, -1, -7, -2147483647 - 1}) {
        for (int32_t k = 0; k < 20; ++k) {
            const int32_t s = static_cast<int32_t>(static_cast<uint32_t>(seed) + static_cast<uint32_t>(k) * 7919u);
            const ModelSong m = modelDraws(static_cast<uint32_t>(s));
            Composed c(s);
            SCOPED_TRACE(s);
            EXPECT_EQ(c.song.kick, kKicks[m.kick]);
            EXPECT_EQ(c.song.snare, kSnares[m.snare]);
            EXPECT_EQ(c.song.pad, kPads[m.pad]);
            EXPECT_EQ(c.song.bass, kBasses[m.bass]);
            for (int i = 0; i < 4; ++i) EXPECT_EQ(c.song.rootOffsets[i], m.offsets[i]);
            for (int i = 1; i < 4; ++i) EXPECT_NE(c.song.rootOffsets[i], c.song.rootOffsets[i - 1]);
            EXPECT_EQ(c.song.bassPattern, m.bassPattern);
            // compose re-seeds and leaves the generator just after its last draw.
            EXPECT_EQ(c.rng.state, m.finalState);
            uint32_t plain = static_cast<uint32_t>(s);
            for (int i = 0; i < 9; ++i) plain = plain * 214013u + 2531011u;
            if (plain != m.finalState) ++retries;
            patternsSeen.insert(c.song.bassPattern);
        }
    }
    EXPECT_GT(retries, 0);  // the retry rule was exercised
    EXPECT_EQ(patternsSeen.size(), 3u);
}

TEST(Composer, ArrangementFollowsTheSpanForm) {
    Composed c(1000);
    const SongSummary& song = c.song;
    ASSERT_EQ(song.instances.size(), 54u);
    ASSERT_EQ(c.sequencer.instances.size(), 54u);
    std::map<int, std::vector<std::string>> perSpan;
    std::map<std::string, int> perPart;
    for (size_t k = 0; k < song.instances.size(); ++k) {
        const InstanceSummary& inst = song.instances[k];
        const Pattern& played = c.sequencer.instances[k];
        perSpan[inst.span].push_back(inst.pattern);
        ++perPart[inst.pattern];
        EXPECT_EQ(played.part, inst.pattern);
        EXPECT_EQ(played.offset, inst.offset);
        EXPECT_EQ(played.transpose, inst.transpose);
        EXPECT_EQ(played.volume, inst.volume);
        EXPECT_EQ(played.notes.size(), inst.notes.size());
        EXPECT_EQ(played.instrument, nullptr);
        EXPECT_EQ(played.channel, nullptr);
        EXPECT_EQ(played.lengthOverride, -1.0f);
        EXPECT_EQ(played.chordOverride, -1);
        EXPECT_EQ(inst.offset, static_cast<float>(inst.span * static_cast<double>(song.spanLength)));
        const int32_t root = song.rootOffsets[inst.span % 4];
        if (inst.pattern == "pad" || inst.pattern == "bass")
            EXPECT_EQ(inst.transpose, root);
        else
            EXPECT_EQ(inst.transpose, 0);
        EXPECT_EQ(inst.volume, inst.pattern == "pad" ? 0.5f : 1.0f);
    }
    using V = std::vector<std::string>;
    EXPECT_EQ(perSpan[0], (V{"hihat", "bass"}));
    EXPECT_EQ(perSpan[1], (V{"hihat", "bass"}));
    EXPECT_EQ(perSpan[3], (V{"drums", "hihat", "bass"}));
    EXPECT_EQ(perSpan[4], (V{"drums", "pad", "hihat", "bass"}));
    EXPECT_EQ(perSpan[11], (V{"drums", "pad", "hihat", "bass"}));
    EXPECT_EQ(perSpan[12], (V{"pad", "hihat", "bass"}));
    EXPECT_EQ(perSpan[15], (V{"pad", "hihat", "bass"}));
    EXPECT_EQ(perPart["drums"], 10);
    EXPECT_EQ(perPart["pad"], 12);
    EXPECT_EQ(perPart["hihat"], 16);
    EXPECT_EQ(perPart["bass"], 16);
}

// Collects the notes of the first instance of a part.
const std::vector<Note>& notesOf(const SongSummary& song, const std::string& part) {
    for (const InstanceSummary& inst : song.instances)
        if (inst.pattern == part) return inst.notes;
    static const std::vector<Note> none;
    return none;
}

TEST(Composer, PatternsAtOneHundredAndTwentyBpm) {
    // At 120 BPM a step is 0.125 s, exact in binary, so every time is exact.
    Synth synth(22050);
    Sequencer sequencer(synth);
    Generator rng;
    const SongSummary song = compose(sequencer, 1, 120.0f, rng);
    EXPECT_EQ(song.stepLength, 0.125f);
    EXPECT_EQ(song.spanLength, 4.0f);
    for (const InstanceSummary& inst : song.instances) {
        if (inst.span == 5) {
            EXPECT_EQ(inst.offset, 20.0f);
        }
    }

    const auto& hihat = notesOf(song, "hihat");
    ASSERT_EQ(hihat.size(), 32u);
    for (int k = 0; k < 32; ++k) {
        EXPECT_EQ(hihat[k].time, 0.125f * k);
        EXPECT_EQ(hihat[k].velocity, k % 2 == 0 ? 1.0f : 0.5f);
        EXPECT_EQ(hihat[k].pitch, -45);
        EXPECT_EQ(hihat[k].length, -1.0f);
        EXPECT_EQ(hihat[k].instrument->name, "drum:hihat");
        EXPECT_EQ(hihat[k].channel->name, "one");
    }

    const auto& drums = notesOf(song, "drums");
    ASSERT_EQ(drums.size(), 16u);
    const int kDrumSteps[16] = {0, 2, 4, 5, 7, 10, 12, 13, 16, 18, 20, 21, 23, 26, 28, 29};
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(drums[k].time, 0.125f * kDrumSteps[k]);
        const bool snare = kDrumSteps[k] % 8 == 4;
        EXPECT_EQ(drums[k].instrument->name, snare ? song.snare : song.kick);
        EXPECT_EQ(drums[k].length, -1.0f);
    }

    const auto& pad = notesOf(song, "pad");
    ASSERT_EQ(pad.size(), 3u);
    EXPECT_EQ(pad[0].pitch, -9);
    EXPECT_EQ(pad[1].pitch, -5);
    EXPECT_EQ(pad[2].pitch, -2);
    for (const Note& n : pad) {
        EXPECT_EQ(n.time, 0.0f);
        EXPECT_EQ(n.length, 1.0f);
        EXPECT_EQ(n.instrument->name, song.pad);
    }

    // Seed 1 plays bass pattern 3.
    const auto& bass = notesOf(song, "bass");
    ASSERT_EQ(bass.size(), 13u);
    const int kTimes[13] = {0, 2, 6, 8, 12, 14, 18, 20, 22, 24, 26, 28, 30};
    const int kPitches[13] = {-33, -30, -33, -28, -33, -26, -33, -23, -21, -33, -30, -33, -28};
    for (int k = 0; k < 13; ++k) {
        EXPECT_EQ(bass[k].time, 0.125f * kTimes[k]);
        EXPECT_EQ(bass[k].pitch, kPitches[k]);
        EXPECT_EQ(bass[k].length, (k == 1 || k == 3 || k == 5) ? 0.1875f : 0.125f);
        EXPECT_EQ(bass[k].instrument->name, "bass:snap bass");
    }
}

TEST(Composer, TheOtherBassPatterns) {
    // Seed 2 plays pattern 1, the two-bar riff.
    {
        Synth synth(22050);
        Sequencer sequencer(synth);
        Generator rng;
        const SongSummary song = compose(sequencer, 2, 120.0f, rng);
        ASSERT_EQ(song.bassPattern, 1);
        const auto& bass = notesOf(song, "bass");
        ASSERT_EQ(bass.size(), 16u);
        const int kTimes[8] = {0, 4, 6, 7, 10, 12, 13, 15};
        const int kPitches[8] = {-33, -33, -33, -21, -33, -33, -9, -21};
        const int kLengths[8] = {3, 1, 1, 2, 1, 1, 2, 1};
        for (int k = 0; k < 16; ++k) {
            EXPECT_EQ(bass[k].time, 0.125f * (kTimes[k % 8] + 16 * (k / 8)));
            EXPECT_EQ(bass[k].pitch, kPitches[k % 8]);
            EXPECT_EQ(bass[k].length, 0.125f * kLengths[k % 8]);
            EXPECT_EQ(bass[k].velocity, 1.0f);
        }
    }
    // Find a seed with pattern 2, the arpeggio.
    for (int32_t seed = 3;; ++seed) {
        if (modelDraws(static_cast<uint32_t>(seed)).bassPattern != 2) continue;
        Synth synth(22050);
        Sequencer sequencer(synth);
        Generator rng;
        const SongSummary song = compose(sequencer, seed, 120.0f, rng);
        ASSERT_EQ(song.bassPattern, 2);
        const auto& bass = notesOf(song, "bass");
        ASSERT_EQ(bass.size(), 32u);
        for (int k = 0; k < 32; ++k) {
            EXPECT_EQ(bass[k].time, 0.125f * k);
            EXPECT_EQ(bass[k].length, 0.125f);
            const int expectedPitch = k == 6 ? 15 : (k % 3 == 0 ? -33 : k % 3 == 1 ? -21 : -9);
            EXPECT_EQ(bass[k].pitch, expectedPitch);
            const float v = k % 8 == 2 ? 0.4f : k % 8 == 6 ? 0.1f : 1.0f;
            EXPECT_EQ(bass[k].velocity, v);
        }
        break;
    }
}

TEST(Composer, NoteTimesAreRunningSumsOfTheStep) {
    // At a tempo whose step is not exact the times are the single-precision
    // running sums, within a few ulps of k steps and never decreasing.
    Composed c(777);
    const float step = c.song.stepLength;
    EXPECT_EQ(step, static_cast<float>(60.0 / c.layout.bpm * 0.25));
    float running = 0;
    const auto& hihat = notesOf(c.song, "hihat");
    for (int k = 0; k < 32; ++k) {
        EXPECT_EQ(hihat[k].time, running);
        running += step;
    }
    EXPECT_EQ(c.song.spanLength, static_cast<float>(32.0 * step));
    for (const InstanceSummary& inst : c.song.instances) {
        for (size_t k = 1; k < inst.notes.size(); ++k) EXPECT_LE(inst.notes[k - 1].time, inst.notes[k].time);
        for (const Note& n : inst.notes) {
            const double steps = n.time / static_cast<double>(step);
            EXPECT_NEAR(steps, std::round(steps), 1e-5);
        }
    }
}

}  // namespace
}  // namespace vortel
