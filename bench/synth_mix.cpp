// Mixing speed of the synthesizer under realistic loads.
//
// Reports, per benchmark, the CPU time per output sample ("per_sample", in
// seconds, shown with an SI prefix), the real-time factor ("realtime",
// seconds of audio rendered per CPU second) and the average number of
// sounding voices ("voices"). The whole composed song is measured by
// bench_song_render. The instruments below mirror the
// sounds the song plays: saw pads with a swept low-pass, saw/square basses
// with an LFO- and envelope-modulated low-pass, a pitch-enveloped sine kick,
// a noise snare and a noise hi-hat.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/rng.h"
#include "audio/synth.h"

namespace {

using namespace vortel;

constexpr int kRate = 22050;
constexpr int kBlock = 2205;  // samples rendered per benchmark iteration (0.1 s)

struct Kit {
    Synth synth{kRate};
    Channel* channel = nullptr;
    Instrument* pad = nullptr;
    Instrument* bass = nullptr;
    Instrument* kick = nullptr;
    Instrument* snare = nullptr;
    Instrument* hihat = nullptr;
    Envelope* snap = nullptr;
    Envelope* gate = nullptr;
    Oscillator* saw = nullptr;

    Envelope* env(const char* name, float a, float d, float s, float r) {
        auto e = std::make_unique<Envelope>(name);
        e->attack = a, e->decay = d, e->sustain = s, e->release = r;
        synth.envelopes.push_back(std::move(e));
        return synth.envelopes.back().get();
    }
    Lfo* lfo(const char* name, WaveformFn w, float rate) {
        auto l = std::make_unique<Lfo>(name);
        l->waveform = w, l->rate = rate;
        synth.lfos.push_back(std::move(l));
        return synth.lfos.back().get();
    }
    Oscillator* osc(const char* name, WaveformFn w, Envelope* pitchEnv = nullptr, float depth = 0) {
        auto o = std::make_unique<Oscillator>(name);
        o->waveform = w, o->pitchEnvelope = pitchEnv, o->pitchEnvDepth = depth;
        synth.oscillators.push_back(std::move(o));
        return synth.oscillators.back().get();
    }
    static OscSlot slot(Oscillator* o, float amplitude, int octave = 0, float detune = 0) {
        OscSlot s("slot");
        s.oscillator = o, s.amplitude = amplitude, s.octave = octave, s.detune = detune;
        return s;
    }
    static Filter filter(int type, float cutoff, float q, Lfo* l, float lfoDepth, Envelope* e,
                         float envDepth, float envOffset = 1) {
        Filter f("filter", q, type, cutoff, kRate);
        f.cutoffLfo = l, f.lfoDepth = lfoDepth, f.cutoffEnvelope = e, f.envDepth = envDepth;
        f.envOffset = envOffset;
        return f;
    }
    Instrument* instrument(std::vector<OscSlot> slots, std::vector<Filter> filters, Envelope* e,
                           float gain, float length) {
        auto i = std::make_unique<Instrument>("instrument");
        i->oscSlots = std::move(slots), i->filters = std::move(filters), i->envelope = e;
        i->gain = gain, i->defaultLength = length;
        synth.instruments.push_back(std::move(i));
        return synth.instruments.back().get();
    }

    Kit() {
        synth.channels.push_back(std::make_unique<Channel>("one", 0.05f));
        channel = synth.channels.back().get();
        Envelope* slowSweep = env("slow sweep", 3, 1, 0.8f, 4);
        Envelope* bump = env("Bump", 0.005f, 0.125f, 0.2f, 0.125f);
        Envelope* bumpHihat = env("BumpHihat", 0.0001f, 0.04f, 0.03f, 0.04f);
        snap = env("Snap", 0.01f, 0.05f, 0.1f, 0.05f);
        Envelope* snap2 = env("Snap2", 0.01f, 0.025f, 0.1f, 0.025f);
        gate = env("Gate", 0.01f, 0, 1, 0.01f);
        Lfo* slowSin = lfo("SlowSin", waveSine, 0.125f);
        saw = osc("SawDown", waveRampDown);
        Oscillator* bassDrum = osc("BassDrum", waveSine, snap, 3);
        Oscillator* impulse = osc("Impulse", waveSine, snap2, 10);
        Oscillator* noise = osc("Noise", waveNoise);

        pad = instrument({slot(saw, 1), slot(saw, 1, -1), slot(saw, 1, 0, 0.05f),
                          slot(saw, 1, -1, 0.05f)},
                         {filter(FilterLowpass, 100, 1, slowSin, 0, slowSweep, 15)}, slowSweep,
                         10, -1);
        bass = instrument({slot(saw, 1), slot(saw, 1, -1)},
                          {filter(FilterLowpass, 400, 8, slowSin, 0.5f, snap, 8)}, gate, 2, -1);
        kick = instrument({slot(bassDrum, 2)},
                          {filter(FilterLowpass, 50, 1, slowSin, 0, bump, 8)}, bump, 12, 0.1f);
        snare = instrument({slot(impulse, 2), slot(noise, 1)},
                           {filter(FilterLowpass, 1200, 5, slowSin, 0.2f, snap2, 2),
                            filter(FilterHighpass, 400, 5, slowSin, 0.2f, snap2, 0)},
                           gate, 3, 0.2f);
        hihat = instrument({slot(noise, 1)}, {filter(FilterHighpass, 9500, 0.8f, nullptr, 0,
                                                     nullptr, 0)},
                           bumpHihat, 4, 0.2f);
    }
};

struct ScheduledNote {
    const Instrument* instrument;
    float gain;
    int pitch;
    float time;    // within the loop
    float length;  // -1 = the instrument's default
};

// Plays a looped note list ahead of time, the way the sequencer does, and
// mixes sample by sample.
struct Player {
    Kit& kit;
    std::vector<ScheduledNote> notes;  // sorted by time
    float loopLength;
    size_t next = 0;
    int loop = 0;
    long long sample = 0;

    float render() {
        float t = float(double(sample) / kRate);
        while (true) {
            const ScheduledNote& n = notes[next];
            float start = float(double(loop) * loopLength + n.time);
            if (start > t + 1.0f) break;
            kit.synth.noteOn(n.instrument, kit.channel, n.gain, n.pitch, start, n.length);
            if (++next == notes.size()) next = 0, ++loop;
        }
        ++sample;
        return kit.synth.mix(t);
    }
};

void reportRates(benchmark::State& state, double samplesPerIteration, double voiceSamples) {
    double samples = double(state.iterations()) * samplesPerIteration;
    state.counters["per_sample"] =
        benchmark::Counter(samples, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["realtime"] = benchmark::Counter(samples / kRate, benchmark::Counter::kIsRate);
    state.counters["voices"] = voiceSamples / samples;
}

// A span of the song at 120 bpm with everything playing: hi-hat on every
// step, kick and snare, a four-slot pad triad with a five-second tail every
// span, and a two-slot arpeggio bass on every step. About 12 voices sound.
void BM_SongSpan(benchmark::State& state) {
    Kit kit;
    const float step = 0.125f;
    std::vector<ScheduledNote> notes;
    const int kicks[] = {0, 2, 5, 7, 10, 13, 16, 18, 21, 23, 26, 29};
    for (int k = 0; k < 32; ++k) {
        float t = float(k * double(step));
        notes.push_back({kit.hihat, k % 2 ? 0.5f : 1.0f, -45, t, -1});
        for (int kickStep : kicks)
            if (kickStep == k) notes.push_back({kit.kick, 1, -45, t, -1});
        if (k % 8 == 4) notes.push_back({kit.snare, 1, -45, t, -1});
        if (k == 0)
            for (int p : {-9, -5, -2}) notes.push_back({kit.pad, 0.5f, p, t, 8 * step});
        int bassPitch = k % 3 == 0 ? -33 : (k % 3 == 1 ? -21 : -9);
        notes.push_back({kit.bass, 1, bassPitch, t, step});
    }
    Player player{kit, notes, 32 * step};
    kit.synth.noise->srand(1);
    for (int i = 0; i < 5 * kRate; ++i) player.render();  // reach the steady state
    double voiceSamples = 0;
    for (auto _ : state) {
        float acc = 0;
        for (int i = 0; i < kBlock; ++i) {
            acc += player.render();
        }
        benchmark::DoNotOptimize(acc);
        state.PauseTiming();
        voiceSamples += double(kit.synth.soundingVoices(float(double(player.sample) / kRate))) * kBlock;
        state.ResumeTiming();
    }
    reportRates(state, kBlock, voiceSamples);
}
BENCHMARK(BM_SongSpan);

// N two-slot saw basses, each through a low-pass whose cutoff follows a
// slow sine LFO and an envelope, so the coefficients change at every
// sample. Notes restart every two seconds (and are placed a second ahead,
// as the sequencer does), so all envelope stages take their share.
void BM_ModulatedBassVoices(benchmark::State& state) {
    Kit kit;
    const int voices = int(state.range(0));
    std::vector<ScheduledNote> notes;
    for (int v = 0; v < voices; ++v)
        notes.push_back({kit.bass, 1, -33 + v % 24, float(v * 2.0 / voices), 1.95f});
    Player player{kit, notes, 2.0f};
    for (int i = 0; i < 3 * kRate; ++i) player.render();
    double voiceSamples = 0;
    for (auto _ : state) {
        float acc = 0;
        for (int i = 0; i < kBlock; ++i) acc += player.render();
        benchmark::DoNotOptimize(acc);
        state.PauseTiming();
        voiceSamples += double(kit.synth.soundingVoices(float(double(player.sample) / kRate))) * kBlock;
        state.ResumeTiming();
    }
    reportRates(state, kBlock, voiceSamples);
}
BENCHMARK(BM_ModulatedBassVoices)->Arg(12);

// The whole pool: 50 two-slot voices, each with its own LFO phase (the LFO
// is retriggered and the notes are staggered), so all 50 filters recompute
// their coefficients at every sample.
void BM_FullPool(benchmark::State& state) {
    Kit kit;
    Lfo* wobble = kit.lfo("wobble", waveSine, 0.7f);
    wobble->retrigger = true;
    Instrument* voice =
        kit.instrument({Kit::slot(kit.saw, 1), Kit::slot(kit.saw, 1, -1)},
                       {Kit::filter(FilterLowpass, 400, 8, wobble, 0.5f, kit.snap, 8)}, kit.gate, 2, -1);
    for (int v = 0; v < kVoiceCount; ++v)
        kit.synth.noteOn(voice, kit.channel, 1, -33 + v % 36, float(v * 0.001), 1e6f);
    long long n = 0;
    for (auto _ : state) {
        float acc = 0;
        for (int i = 0; i < kBlock; ++i, ++n) acc += kit.synth.mix(float(double(n) / kRate + 0.1));
        benchmark::DoNotOptimize(acc);
    }
    reportRates(state, kBlock, double(kVoiceCount) * kBlock * double(state.iterations()));
}
BENCHMARK(BM_FullPool);

// Twelve held four-slot pads in their sustain: the filter coefficients stay
// cached, so this measures the per-voice work around them.
void BM_HeldPads(benchmark::State& state) {
    Kit kit;
    for (int v = 0; v < 12; ++v)
        kit.synth.noteOn(kit.pad, kit.channel, 0.5f, -9 + v, 0.0f, 1e6f);
    long long n = 5 * kRate;  // past the pad's 4 s attack and decay
    for (auto _ : state) {
        float acc = 0;
        for (int i = 0; i < kBlock; ++i, ++n) acc += kit.synth.mix(float(double(n) / kRate));
        benchmark::DoNotOptimize(acc);
    }
    reportRates(state, kBlock, 12.0 * kBlock * double(state.iterations()));
}
BENCHMARK(BM_HeldPads);

// The empty pool: the cost of visiting 50 free voices.
void BM_IdlePool(benchmark::State& state) {
    Synth synth(kRate);
    long long n = 0;
    for (auto _ : state) {
        float acc = 0;
        for (int i = 0; i < kBlock; ++i, ++n) acc += synth.mix(float(double(n) / kRate));
        benchmark::DoNotOptimize(acc);
    }
    reportRates(state, kBlock, 0);
}
BENCHMARK(BM_IdlePool);

}  // namespace
