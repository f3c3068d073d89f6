#include "song/composer.h"

#include <iterator>

#include "audio/synth.h"
#include "song/presets.h"
#include "song/sequencer.h"

namespace vortel {

namespace {

constexpr int32_t kDrumPitch = -45;

// Note times are running single-precision sums of one step, so the time of
// step k is what a player counting steps one by one arrives at.
std::array<float, 33> stepTimes(float step) {
    std::array<float, 33> times{};
    float t = 0;
    for (float& time : times) {
        time = t;
        t += step;
    }
    return times;
}

float steps(double count, float step) { return static_cast<float>(count * step); }

Channel* findChannel(Synth& synth, std::string_view name) {
    for (auto& channel : synth.channels)
        if (channel->name == name) return channel.get();
    return nullptr;
}

// Kick on steps 0 2 5 7 10 13 16 18 21 23 26 29, snare on 4 12 20 28.
Pattern drumPattern(Synth& synth, Instrument* kick, Instrument* snare, Channel* channel, float step) {
    static constexpr int kKickSteps[] = {0, 2, 5, 7, 10, 13, 16, 18, 21, 23, 26, 29};
    static constexpr int kSnareSteps[] = {4, 12, 20, 28};
    const auto times = stepTimes(step);
    Pattern drums(synth, "drums");
    size_t nextKick = 0, nextSnare = 0;
    for (int s = 0; s < 32; ++s) {
        if (nextKick < std::size(kKickSteps) && kKickSteps[nextKick] == s) {
            drums.addNote(kick, channel, 1.0f, kDrumPitch, times[s], -1.0f);
            ++nextKick;
        }
        if (nextSnare < std::size(kSnareSteps) && kSnareSteps[nextSnare] == s) {
            drums.addNote(snare, channel, 1.0f, kDrumPitch, times[s], -1.0f);
            ++nextSnare;
        }
    }
    return drums;
}

// Bass pattern 1: a two-bar riff of eight notes played twice.
Pattern bassRiff(Synth& synth, Instrument* bass, Channel* channel, float step) {
    struct Entry {
        int time;
        int32_t pitch;
        int length;
    };
    static constexpr Entry kRiff[] = {{0, -33, 3}, {4, -33, 1}, {6, -33, 1},  {7, -21, 2},
                                      {10, -33, 1}, {12, -33, 1}, {13, -9, 2}, {15, -21, 1}};
    const auto times = stepTimes(step);
    Pattern pattern(synth, "bass");
    for (int half = 0; half < 2; ++half)
        for (const Entry& e : kRiff)
            pattern.addNote(bass, channel, 1.0f, e.pitch, times[e.time + 16 * half], steps(e.length, step));
    return pattern;
}

// Bass pattern 2: an arpeggio on every step with a high note on step 6.
Pattern bassArpeggio(Synth& synth, Instrument* bass, Channel* channel, float step) {
    static constexpr int32_t kPitches[] = {-33, -21, -9};
    const auto times = stepTimes(step);
    Pattern pattern(synth, "bass");
    for (int k = 0; k < 32; ++k) {
        const int32_t pitch = k == 6 ? 15 : kPitches[k % 3];
        const float velocity = k % 8 == 2 ? 0.4f : k % 8 == 6 ? 0.1f : 1.0f;
        pattern.addNote(bass, channel, velocity, pitch, times[k], step);
    }
    return pattern;
}

// Bass pattern 3: thirteen notes on even steps; its clock advances two steps
// at a time.
Pattern bassLine(Synth& synth, Instrument* bass, Channel* channel, float step) {
    struct Entry {
        int time;  // in steps, always even
        int32_t pitch;
        double length;  // in steps
    };
    static constexpr Entry kLine[] = {{0, -33, 1},  {2, -30, 1.5},  {6, -33, 1},  {8, -28, 1.5}, {12, -33, 1},
                                      {14, -26, 1.5}, {18, -33, 1}, {20, -23, 1}, {22, -21, 1}, {24, -33, 1},
                                      {26, -30, 1},  {28, -33, 1},  {30, -28, 1}};
    const float twoSteps = steps(2, step);
    Pattern pattern(synth, "bass");
    float t = 0;
    int at = 0;  // steps reached by t
    for (const Entry& e : kLine) {
        for (; at < e.time; at += 2) t += twoSteps;
        pattern.addNote(bass, channel, 1.0f, e.pitch, t, steps(e.length, step));
    }
    return pattern;
}

void addToSong(Sequencer& sequencer, SongSummary& song, const Pattern& pattern, int32_t span, float offset,
               int32_t transpose, float volume) {
    sequencer.addInstance(pattern, offset, transpose, nullptr, volume, -1, -1.0f, nullptr);
    song.instances.push_back(InstanceSummary{span, pattern.part, offset, transpose, volume, pattern.notes});
}

}  // namespace

SongSummary compose(Sequencer& sequencer, int32_t seed, float bpm, Generator& rng) {
    Synth& synth = *sequencer.synth;
    SongSummary song;

    rng.srand(static_cast<uint32_t>(seed));
    buildPresets(synth, bpm);
    const float step = static_cast<float>(60.0 / static_cast<double>(bpm) * 0.25);
    rng.srand(static_cast<uint32_t>(seed));
    Channel* one = findChannel(synth, "one");

    // Hi-hat: every step, accented on the even ones.
    Instrument* hihatSound = findInstruments(synth, "drum:hihat").front();
    Pattern hihat(synth, "hihat");
    float t = 0;
    for (int k = 0; k < 16; ++k) {
        hihat.addNote(hihatSound, one, 1.0f, kDrumPitch, t, -1.0f);
        t += step;
        hihat.addNote(hihatSound, one, 0.5f, kDrumPitch, t, -1.0f);
        t += step;
    }
    hihat.length = steps(32, step);
    const float spanLength = hihat.length;

    Instrument* kick = pickInstrument(synth, "drum:bass:", rng);
    Instrument* snare = pickInstrument(synth, "drum:snare:", rng);
    const Pattern drums = drumPattern(synth, kick, snare, one, step);

    Instrument* padSound = pickInstrument(synth, "pad:", rng);
    Pattern pad(synth, "pad");
    for (int32_t pitch : {-9, -5, -2}) pad.addNote(padSound, one, 1.0f, pitch, 0.0f, steps(8, step));

    Instrument* bass = pickInstrument(synth, "bass:", rng);
    const Pattern bassPatterns[3] = {bassRiff(synth, bass, one, step), bassArpeggio(synth, bass, one, step),
                                     bassLine(synth, bass, one, step)};

    // Four transpositions; consecutive ones differ. A repeat costs the
    // repeated draw plus one discarded value before the next try.
    for (int i = 0; i < 4; ++i) {
        int32_t r = rng.rand() % 12;
        if (i > 0)
            while (r == song.rootOffsets[i - 1]) {
                rng.rand();
                r = rng.rand() % 12;
            }
        song.rootOffsets[i] = r;
    }
    static constexpr int32_t kBassChoice[3] = {2, 1, 3};
    song.bassPattern = kBassChoice[rng.rand() % 3];
    const Pattern& bassPattern = bassPatterns[song.bassPattern - 1];

    for (int32_t i = 0; i < 16; ++i) {
        const float offset = static_cast<float>(static_cast<double>(i) * spanLength);
        const int32_t root = song.rootOffsets[i % 4];
        if (i >= 2 && i <= 11) addToSong(sequencer, song, drums, i, offset, 0, 1.0f);
        if (i >= 4) addToSong(sequencer, song, pad, i, offset, root, 0.5f);
        addToSong(sequencer, song, hihat, i, offset, 0, 1.0f);
        addToSong(sequencer, song, bassPattern, i, offset, root, 1.0f);
    }

    song.kick = kick->name;
    song.snare = snare->name;
    song.pad = padSound->name;
    song.bass = bass->name;
    song.stepLength = step;
    song.spanLength = spanLength;
    return song;
}

}  // namespace vortel
