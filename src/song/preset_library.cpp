// The fixed content of the preset library, created in a fixed order.
#include <initializer_list>

#include "audio/synth.h"
#include "song/presets.h"

namespace vortel {

namespace {

struct FilterRow {
    const char* name;
    int32_t type;
    float cutoff;  // Hz
    float q;
    const char* lfo;  // looked up by name; null = none
    float lfoDepth;
    Envelope* envelope;  // null = none
    float envDepth;
    float envOffset;
};

Filter* addFilterRow(Synth& synth, const FilterRow& row) {
    Filter tmpl(row.name, row.q, row.type, row.cutoff, synth.sampleRate);
    tmpl.cutoffLfo = row.lfo ? findLfos(synth, row.lfo).front() : nullptr;
    tmpl.lfoDepth = row.lfoDepth;
    tmpl.lfoOffset = 1.0f;
    tmpl.cutoffEnvelope = row.envelope;
    tmpl.envDepth = row.envDepth;
    tmpl.envOffset = row.envOffset;
    return addFilter(synth, tmpl, "");
}

Envelope* addEnvelopeRow(Synth& synth, const char* name, float attack, float decay, float sustain,
                         float release) {
    Envelope tmpl(name);
    tmpl.attack = attack;
    tmpl.decay = decay;
    tmpl.sustain = sustain;
    tmpl.release = release;
    return addEnvelope(synth, tmpl, "");
}

Lfo* addLfoRow(Synth& synth, const char* name, WaveformFn waveform, float rate) {
    Lfo tmpl(name);
    tmpl.waveform = waveform;
    tmpl.rate = rate;
    tmpl.retrigger = false;
    return addLfo(synth, tmpl, "");
}

Oscillator* addOscillatorRow(Synth& synth, const char* name, WaveformFn waveform, const char* lfo, float lfoDepth,
                             Envelope* envelope, float envDepth) {
    Oscillator tmpl(name);
    tmpl.waveform = waveform;
    tmpl.pitchLfo = lfo ? findLfos(synth, lfo).front() : nullptr;
    tmpl.pitchLfoDepth = lfoDepth;
    tmpl.pitchLfoOffset = 1.0f;
    tmpl.pitchEnvelope = envelope;
    tmpl.pitchEnvDepth = envDepth;
    tmpl.pitchEnvOffset = 1.0f;
    return addOscillator(synth, tmpl, "");
}

OscSlot* addSlotRow(Synth& synth, const char* name, Oscillator* oscillator, float amplitude, int32_t octave,
                    float detune, float phase) {
    OscSlot tmpl(name);
    tmpl.oscillator = oscillator;
    tmpl.amplitude = amplitude;
    tmpl.octave = octave;
    tmpl.semitone = 0;
    tmpl.detune = detune;
    tmpl.phase = phase;
    return addOscSlot(synth, tmpl, "");
}

Instrument* addInstrumentRow(Synth& synth, const char* name, std::initializer_list<const OscSlot*> slots,
                             std::initializer_list<const Filter*> filters, Envelope* envelope, float gain,
                             float defaultLength) {
    Instrument tmpl(name);
    for (const OscSlot* slot : slots) tmpl.oscSlots.push_back(*slot);
    for (const Filter* filter : filters) tmpl.filters.push_back(*filter);
    tmpl.envelope = envelope;
    tmpl.gain = gain;
    tmpl.defaultLength = defaultLength;
    return addInstrument(synth, tmpl, "");
}

}  // namespace

void buildPresets(Synth& synth, float bpm) {
    constexpr float kNone = -1.0f;  // no default note length

    Filter* f[17] = {};  // filters by their number, 1..16
    f[1] = addFilterRow(synth, {"Lowpass", FilterLowpass, 200, 30, nullptr, 0, nullptr, 0, 1});
    f[2] = addFilterRow(synth, {"Hipass", FilterHighpass, 9500, 0.8f, nullptr, 0, nullptr, 0, 1});

    Envelope* slowDescend = addEnvelopeRow(synth, "Slow Descend", 0.01f, 1, 0.8f, 4);
    Envelope* slowSweep = addEnvelopeRow(synth, "slow sweep", 3, 1, 0.8f, 4);
    Envelope* sweep = addEnvelopeRow(synth, "sweep", 0.5f, 0.3f, 0.5f, 2.5f);
    addEnvelopeRow(synth, "SlowRelease", 0.5f, 0.1f, 0.3f, 5.3f);
    Envelope* bumpHihat = addEnvelopeRow(synth, "BumpHihat", 0.0001f, 0.04f, 0.03f, 0.04f);
    Envelope* bumpFastest = addEnvelopeRow(synth, "BumpFastest", 0.0001f, 0.09f, 0.05f, 0.08f);
    addEnvelopeRow(synth, "BumpFast", 0.001f, 0.1f, 0.1f, 0.1f);
    Envelope* bump = addEnvelopeRow(synth, "Bump", 0.005f, 0.125f, 0.2f, 0.125f);
    addEnvelopeRow(synth, "Bump2", 0.01f, 0.2f, 0.2f, 0.2f);
    Envelope* snap = addEnvelopeRow(synth, "Snap", 0.01f, 0.05f, 0.1f, 0.05f);
    Envelope* snap2 = addEnvelopeRow(synth, "Snap2", 0.01f, 0.025f, 0.1f, 0.025f);
    addEnvelopeRow(synth, "SnapWithSustain", 0.01f, 0.05f, 0.8f, 0.05f);
    Envelope* gate = addEnvelopeRow(synth, "Gate", 0.01f, 0, 1, 0.01f);
    Envelope* fullSus = addEnvelopeRow(synth, "FullSus", 0.01f, 0, 1, 0.2f);
    Envelope* attack = addEnvelopeRow(synth, "Attack", 0.2f, 0, 1, 0.1f);

    addLfoRow(synth, "SawUp220", waveRampUp, 220);
    addLfoRow(synth, "SlowSin", waveSine, 0.125f);
    // Two cycles per beat.
    addLfoRow(synth, "FastSquare", waveSquare, static_cast<float>(static_cast<double>(bpm) * 0.033333335f));

    f[3] = addFilterRow(synth, {"LowpassSweep", FilterLowpass, 200, 30, nullptr, 0, sweep, 2, 1});
    // High-pass despite its name: the pulsing of "pad:slow pulsing pad".
    f[4] = addFilterRow(synth,
                        {"LowpassSlowSweep", FilterHighpass, 300, 5, "FastSquare", -0.3f, slowDescend, 12, 1});
    f[5] = addFilterRow(synth, {"LowpassOpen", FilterLowpass, 1200, 5, "SlowSin", 0.2f, snap2, 2, 1});
    f[6] = addFilterRow(synth, {"HighpassOpen", FilterHighpass, 400, 5, "SlowSin", 0.2f, snap2, 0, 1});
    f[7] = addFilterRow(synth, {"LowpassSlowSweep", FilterLowpass, 100, 1, "SlowSin", 0, slowSweep, 15, 1});
    f[8] = addFilterRow(synth, {"LowpassSnap", FilterLowpass, 400, 8, "SlowSin", 0.5f, snap, 8, 1});
    f[9] = addFilterRow(synth, {"LowpassBump", FilterLowpass, 50, 1, "SlowSin", 0, bump, 8, 1});
    f[10] = addFilterRow(synth, {"LowpassBumpLfo", FilterLowpass, 50, 1, "SlowSin", 0.5f, bump, 8, 1});
    f[11] = addFilterRow(synth, {"LowpassGateResoLfo", FilterLowpass, 50, 1, "SlowSin", 0.5f, bump, 8, 1});
    f[12] = addFilterRow(synth, {"LowpassBump2", FilterLowpass, 50, 3, "FastSquare", 0.5f, bump, 8, 1});
    f[13] = addFilterRow(synth, {"LowpassAttack", FilterLowpass, 150, 1, "SlowSin", 0.5f, attack, 12, 1});
    f[14] = addFilterRow(synth, {"BandpassBump", FilterBandpass, 80, 3, nullptr, 0, bumpFastest, 30, 1});
    f[15] = addFilterRow(synth, {"BandpassBump2", FilterBandpass, 80, 1, nullptr, 0, bump, 8, 1});
    f[16] = addFilterRow(synth, {"HipassBump", FilterHighpass, 1000, 2, nullptr, 0, bumpFastest, 1, 1.3f});

    // Each oscillator directly followed by its slots.
    Oscillator* osc = addOscillatorRow(synth, "SawDown", waveRampDown, nullptr, 0, nullptr, 0);
    const OscSlot* sawDown = addSlotRow(synth, "SawDown", osc, 1, 0, 0, 0);
    const OscSlot* sawDownDouble = addSlotRow(synth, "SawDownDouble", osc, 1, 0, 0.05f, 0);
    const OscSlot* sawDownSub = addSlotRow(synth, "SawDownSub", osc, 1, -1, 0, 0);
    const OscSlot* sawDownSubDouble = addSlotRow(synth, "SawDownSubDouble", osc, 1, -1, 0.05f, 0);
    osc = addOscillatorRow(synth, "Square", waveSquare, nullptr, 0, nullptr, 0);
    const OscSlot* square = addSlotRow(synth, "Square", osc, 1, 0, 0, 0);
    addSlotRow(synth, "SquareSub", osc, 1, -1, 0, 0);
    osc = addOscillatorRow(synth, "BassDrum", waveSine, nullptr, 0, snap, 3);
    const OscSlot* bassDrum = addSlotRow(synth, "BassDrum", osc, 2, 0, 0, 0);
    osc = addOscillatorRow(synth, "GabberBassDrum", waveSquare, nullptr, 0, snap, 3);
    const OscSlot* gabberBassDrum = addSlotRow(synth, "GabberBassDrum", osc, 2, 0, 0, 0);
    osc = addOscillatorRow(synth, "Impulse", waveSine, nullptr, 0, snap2, 10);
    const OscSlot* impulse = addSlotRow(synth, "Impulse", osc, 2, 0, 0, 0);
    osc = addOscillatorRow(synth, "SawDownWithLfo", waveRampDown, "SawUp220", 0.001f, nullptr, 0);
    const OscSlot* sawDownWithLfo = addSlotRow(synth, "SawDownWithLfo", osc, 1, 0, 0, 0.5f);
    osc = addOscillatorRow(synth, "Noise", waveNoise, nullptr, 0, nullptr, 0);
    const OscSlot* noise = addSlotRow(synth, "Noise", osc, 1, 0, 0, 0);

    Envelope* slowRelease = findEnvelopes(synth, "SlowRelease").front();
    addInstrumentRow(synth, "misc:saw low pass", {sawDownWithLfo}, {f[1]}, slowRelease, 1, kNone);
    addInstrumentRow(synth, "pad:slow pulsing pad", {sawDown, sawDownSub}, {f[4]}, slowSweep, 6, kNone);
    addInstrumentRow(synth, "pad:warm pad", {sawDown, sawDownSub, sawDownDouble, sawDownSubDouble}, {f[7]},
                     slowSweep, 10, kNone);
    addInstrumentRow(synth, "misc:noise low pass", {noise}, {f[1]}, slowRelease, 1, kNone);
    addInstrumentRow(synth, "misc:noise high pass", {noise}, {f[2]}, slowRelease, 1, kNone);
    addInstrumentRow(synth, "misc:noise low pass sweep", {noise}, {f[3]}, slowRelease, 1, kNone);
    addInstrumentRow(synth, "bass:snap bass", {sawDown, sawDownSub}, {f[8]}, gate, 2, kNone);
    addInstrumentRow(synth, "bass:bump bass", {square, sawDownSub}, {f[10]}, bump, 6, kNone);
    addInstrumentRow(synth, "bass:attack bass", {sawDownSub, sawDownSub}, {f[13]}, fullSus, 4, kNone);
    addInstrumentRow(synth, "bass:bump bass 2", {square, sawDownSub}, {f[12]}, bump, 6, kNone);
    addInstrumentRow(synth, "drum:bass:bump", {bassDrum}, {f[9]}, bump, 12, 0.1f);
    addInstrumentRow(synth, "drum:bass:gabber", {gabberBassDrum}, {f[11]}, bump, 3, 0.1f);
    addInstrumentRow(synth, "drum:snare:bump", {impulse, noise}, {f[14]}, bump, 8, 0.06f);
    addInstrumentRow(synth, "drum:snare:harsh", {impulse, noise}, {f[5], f[6]}, gate, 3, 0.2f);
    addInstrumentRow(synth, "drum:hihat", {noise}, {f[2]}, bumpHihat, 4, 0.2f);

    addChannel(synth, Channel("one", 0.05f), "");
    addChannel(synth, Channel("two", 0.1f), "");
}

}  // namespace vortel
