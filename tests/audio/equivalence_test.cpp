// The engine's optimised per-sample path against the plain reference
// evaluation of the same formulas, over a busy mix that uses every waveform,
// every filter type, LFOs on song time and retriggered, depth-0 LFOs (which
// the engine skips), a noise LFO, pitch envelopes and overlapping notes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "alloc_counter.h"
#include "core/rng.h"
#include "audio/synth.h"
#include "patch_lab.h"
#include "reference_synth.h"

namespace vortel {
namespace {

using namespace vortel::testing;

struct Note {
    Instrument* instrument;
    float gain;
    int pitch;
    float start;
    float length;
};

struct Band {
    Synth synth{22050};
    Channel* channel = addChannel(synth, 0.3f);
    std::vector<Note> notes;

    Band() {
        Envelope* snap = addEnvelope(synth, 0.01f, 0.05f, 0.1f, 0.05f);
        Envelope* sweep = addEnvelope(synth, 0.5f, 0.3f, 0.5f, 0.5f);
        Envelope* bump = addEnvelope(synth, 0.005f, 0.125f, 0.2f, 0.125f);
        Envelope* gate = addEnvelope(synth, 0.01f, 0, 1, 0.01f);
        Lfo* slowSin = addLfo(synth, waveSine, 0.125f);
        Lfo* fastSquare = addLfo(synth, waveSquare, 4.5f);
        Lfo* saw220 = addLfo(synth, waveRampUp, 220);
        Lfo* retrigSaw = addLfo(synth, waveRampDown, 3, true);
        Lfo* noiseLfo = addLfo(synth, waveNoise, 1);

        Oscillator* saw = addOscillator(synth, waveRampDown);
        Oscillator* square = addOscillator(synth, waveSquare);
        Oscillator* kick = addOscillator(synth, waveSine);
        kick->pitchEnvelope = snap, kick->pitchEnvDepth = 3;
        Oscillator* wobble = addOscillator(synth, waveRampDown);
        wobble->pitchLfo = saw220, wobble->pitchLfoDepth = 0.001f;
        Oscillator* vibrato = addOscillator(synth, waveRampUp);
        vibrato->pitchLfo = retrigSaw, vibrato->pitchLfoDepth = 0.02f;
        Oscillator* still = addOscillator(synth, waveSine);
        still->pitchLfo = slowSin;  // depth 0: skipped
        Oscillator* noise = addOscillator(synth, waveNoise);

        auto filter = [](int type, float cutoff, float q, Lfo* l, float lDepth, Envelope* e,
                         float eDepth, float eOffset = 1) {
            Filter f("f", q, type, cutoff, 22050);
            f.cutoffLfo = l, f.lfoDepth = lDepth, f.cutoffEnvelope = e, f.envDepth = eDepth;
            f.envOffset = eOffset;
            return f;
        };
        Instrument* pad = addInstrument(
            synth, {makeSlot(saw), makeSlot(saw, 1, -1), makeSlot(saw, 1, 0, 0.05f), makeSlot(saw, 1, -1, 0.05f)},
            {filter(FilterLowpass, 100, 1, slowSin, 0, sweep, 15)}, sweep, 10);
        Instrument* pulse = addInstrument(
            synth, {makeSlot(saw), makeSlot(saw, 1, -1)},
            {filter(FilterHighpass, 300, 5, fastSquare, -0.3f, sweep, 12)}, sweep, 6);
        Instrument* bass = addInstrument(
            synth, {makeSlot(square), makeSlot(saw, 1, -1)},
            {filter(FilterLowpass, 400, 8, slowSin, 0.5f, snap, 8)}, gate, 2);
        Instrument* drum = addInstrument(
            synth, {makeSlot(kick, 2)}, {filter(FilterLowpass, 50, 1, slowSin, 0, bump, 8)}, bump, 12, 0.1f);
        Instrument* snare = addInstrument(
            synth, {makeSlot(kick, 2), makeSlot(noise)},
            {filter(FilterBandpass, 80, 3, nullptr, 0, bump, 30),
             filter(FilterHighpass, 1000, 2, nullptr, 0, bump, 1, 1.3f)},
            bump, 8, 0.06f);
        Instrument* hat = addInstrument(synth, {makeSlot(noise)},
                                        {filter(FilterHighpass, 9500, 0.8f, nullptr, 0, nullptr, 0)},
                                        bump, 4, 0.2f);
        Instrument* oddities = addInstrument(
            synth, {makeSlot(wobble, 1, 0, 0, 0.5f), makeSlot(vibrato, 0.5f), makeSlot(still, 0.5f)},
            {filter(FilterNotch, 700, 2, retrigSaw, 0.3f, nullptr, 0),
             filter(FilterLowShelf, 500, 1, nullptr, 0, snap, 2),
             filter(FilterHighShelf, 3000, 1, slowSin, 0.2f, nullptr, 0),
             filter(FilterPeak, 1500, 3, noiseLfo, 0.1f, nullptr, 0),
             filter(FilterThru, 0, 0, nullptr, 0, nullptr, 0),
             filter(FilterBandpass, 900, 1, noiseLfo, 0, nullptr, 0)},
            snap, 3);

        // Modulation that folds into constants, a custom waveform, a slot
        // without a waveform and one without an oscillator.
        Oscillator* custom = addOscillator(synth, [](float x, float f, Generator&) {
            return float(std::cos(double(x) * f * 3.0));
        });
        Oscillator* silent = addOscillator(synth, nullptr);
        Oscillator* flatPitch = addOscillator(synth, waveSquare);
        flatPitch->pitchEnvelope = snap, flatPitch->pitchEnvDepth = 0, flatPitch->pitchEnvOffset = 1.5f;
        flatPitch->pitchLfo = slowSin, flatPitch->pitchLfoOffset = 0.5f;  // depth 0
        OscSlot orphan = makeSlot(nullptr);
        Instrument* exotic = addInstrument(
            synth, {makeSlot(custom, 0.5f), makeSlot(silent), orphan, makeSlot(flatPitch, 0.5f)},
            {filter(FilterLowpass, 900, 2, fastSquare, 0.25f, gate, 0, 1.2f),
             filter(FilterHighpass, 200, 1, slowSin, 0, gate, 0, 0.8f),
             filter(FilterBandpass, 700, 2, nullptr, 0, snap, 0, 1.1f)},
            sweep, 2);
        // More components than an evaluation plan holds: evaluated without.
        Envelope* e5 = addEnvelope(synth, 0.02f, 0.1f, 0.3f, 0.2f);
        Oscillator* pitched = addOscillator(synth, waveRampUp);
        pitched->pitchEnvelope = e5, pitched->pitchEnvDepth = 0.5f;
        std::vector<OscSlot> many;
        for (int i = 0; i < 9; ++i) many.push_back(makeSlot(i % 2 ? saw : pitched, 0.2f, i % 3 - 1, 0.01f * i));
        Instrument* wide = addInstrument(
            synth, many,
            {filter(FilterLowpass, 300, 4, slowSin, 0.3f, snap, 6),
             filter(FilterPeak, 2000, 2, nullptr, 0, bump, 1),
             filter(FilterLowShelf, 400, 1, retrigSaw, 0.2f, sweep, 1),
             filter(FilterHighShelf, 5000, 1, nullptr, 0, gate, 0.5f),
             filter(FilterNotch, 1000, 3, nullptr, 0, nullptr, 0)},
            e5, 1);

        const float step = 0.1f;
        for (int k = 0; k < 40; ++k) {
            const float t = float(k * double(step));
            notes.push_back({hat, k % 2 ? 0.5f : 1.0f, -45, t, -1});
            if (k % 4 == 0) notes.push_back({drum, 1, -45, t, -1});
            if (k % 8 == 4) notes.push_back({snare, 1, -45, t, -1});
            notes.push_back({bass, 1, k % 3 == 0 ? -33 : -21, t, step});
            if (k % 16 == 0)
                for (int p : {-9, -5, -2}) notes.push_back({k % 32 ? pulse : pad, 0.5f, p, t, 0.8f});
            if (k % 10 == 3) notes.push_back({oddities, 1, -9 + k % 7, t + 0.013f, 0.35f});
            if (k % 10 == 6) notes.push_back({exotic, 1, -21 + k % 5, t + 0.02f, 0.4f});
            if (k % 20 == 9) notes.push_back({wide, 0.5f, -9, t + 0.031f, 0.3f});
        }
    }
};

TEST(Equivalence, EngineMatchesThePlainFormulas) {
    Band engine, plain;
    reference::Pool pool;
    const int samples = 22050 * 5;
    // Each side draws its noise from a generator of its own, seeded alike.
    Generator engineNoise, plainNoise;
    engine.synth.noise = &engineNoise;

    auto render = [&](auto&& noteOn, auto&& mix, Generator& noise, std::vector<float>& out) {
        noise.srand(1234);
        size_t next = 0;
        for (int n = 0; n < samples; ++n) {
            const float t = float(double(n) / 22050);
            while (next < engine.notes.size() && engine.notes[next].start <= t + 0.5f) noteOn(next++);
            out.push_back(mix(t));
        }
    };
    std::vector<float> fast, slow;
    render([&](size_t i) {
               const Note& n = engine.notes[i];
               engine.synth.noteOn(n.instrument, engine.channel, n.gain, n.pitch, n.start, n.length);
           },
           [&](float t) { return engine.synth.mix(t); }, engineNoise, fast);
    render([&](size_t i) {
               const Note& n = plain.notes[i];
               pool.noteOn(*n.instrument, *plain.channel, n.gain, n.pitch, n.start, n.length);
           },
           [&](float t) { return pool.mix(t, plainNoise); }, plainNoise, slow);

    int identical = 0;
    double worst = 0, peak = 0;
    for (int n = 0; n < samples; ++n) {
        identical += fast[n] == slow[n];
        worst = std::max(worst, std::fabs(double(fast[n]) - slow[n]));
        peak = std::max(peak, std::fabs(double(slow[n])));
    }
    EXPECT_GT(peak, 0.1);  // the mix is not silent
    // Within float rounding: the fast sine/cosine and the reciprocal
    // multiplications may round a value differently in rare ties.
    EXPECT_LE(worst, 1e-5 * peak);
    EXPECT_GE(identical, samples * 0.999) << "identical samples: " << identical << " of " << samples;
    // Both drew the same number of values.
    EXPECT_EQ(engineNoise.state, plainNoise.state);
    RecordProperty("identical", identical);
}

TEST(Allocation, MixNeverAllocatesAndNotesOnlyWhenACopyGrows) {
    Band s;
    size_t next = 0;
    auto play = [&](int from, int to) {
        for (int n = from; n < to; ++n) {
            const float t = float(double(n) / 22050);
            while (next < s.notes.size() && s.notes[next].start <= t + 0.5f) {
                const Note& note = s.notes[next++];
                s.synth.noteOn(note.instrument, s.channel, note.gain, note.pitch, note.start, note.length);
            }
            s.synth.mix(t);
        }
    };
    // Mixing alone, with voices sounding, never allocates.
    play(0, 22050);
    ASSERT_GT(s.synth.activeVoices(), 3);
    {
        AllocationScope scope;
        float acc = 0;
        for (int n = 22050; n < 44100; ++n) acc += s.synth.mix(float(double(n) / 22050));
        EXPECT_EQ(scope.count(), 0u);
        EXPECT_NE(acc, 0.0f);
    }
    // Once every voice has held each instrument, starting notes allocates
    // nothing either: the copies reuse their slots and filters.
    Synth fresh(22050);
    auto fillAndFree = [&](float start) {
        for (const auto& in : s.synth.instruments) {
            for (int i = 0; i < 50; ++i) fresh.noteOn(in.get(), s.channel, 1, 0, start, 0.001f);
            start += 1.0f;
            fresh.mix(start);  // frees them all
        }
        return start;
    };
    const float later = fillAndFree(0.0f);
    ASSERT_EQ(fresh.activeVoices(), 0);
    AllocationScope scope;
    fillAndFree(later);
    EXPECT_EQ(scope.count(), 0u);
}

}  // namespace
}  // namespace vortel
