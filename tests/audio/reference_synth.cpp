#include "reference_synth.h"

#include <cmath>

#include "core/rng.h"

namespace vortel::reference {

namespace {
const double kTwoPi = 6.2831855f;

// float(v), with a barrier: GCC 12 merges a sin and a cos of the same
// argument into sincos and then loses float roundings of the results.
float narrow(double v) {
    volatile float f = static_cast<float>(v);
    return f;
}
int32_t trunc32(double v) { return static_cast<int32_t>(v); }

double a(const Envelope& e, double x) {
    if (x < 0) return 0;
    if (x < e.attack) return x / e.attack;
    return 1;
}
double dcy(const Envelope& e, double x) {
    if (x < e.attack) return 0;
    if (x - e.attack < e.decay) return (x - e.attack) / e.decay;
    return 1;
}
double held(const Envelope& e, double x) { return a(e, x) - (1.0 - e.sustain) * dcy(e, x); }
}  // namespace

float wave(WaveformFn w, float x, float f, Generator& rng) {
    double p = double(x) * f;
    if (w == waveSine) return float(std::sin(p * kTwoPi));
    if (w == waveNoise) return float((rng.rand() * double(0.000030518509f) - 0.5) * 2);
    if (w == waveRampUp) return float(2 * (p - trunc32(p)) - 1);
    if (w == waveRampDown) return float(2 * (1 - (p - trunc32(p))) - 1);
    if (w == waveSquare) return float(2 * (trunc32(2 * p) & 1) - 1);
    return w(x, f, rng);
}

float level(const Envelope& e, float t, float hold) {
    if (t < hold) return float(held(e, t));
    double r = double(t) - hold;
    if (r >= e.release) return 0;
    return float((1 - r / e.release) * held(e, hold));
}

float lfo(const Lfo& l, float d, float start, Generator& rng) {
    float tau = l.retrigger ? d : float(double(d) + start);
    return wave(l.waveform, tau, l.rate, rng);
}

float slot(OscSlot& s, float note, float d, float hold, float start, Generator& rng) {
    if (!s.oscillator) return 0;  // the engine's choice: a slot without a source is silent
    const Oscillator& o = *s.oscillator;
    double semis = (s.octave * 12.0 + s.detune * 2.0) + s.semitone + note;
    float freq = float(440.0 * float(std::pow(2.0, semis * double(0.083333336f))));
    if (o.pitchLfo)
        freq = float((double(lfo(*o.pitchLfo, d, start, rng)) * o.pitchLfoDepth + o.pitchLfoOffset) * freq);
    if (o.pitchEnvelope)
        freq = float((double(level(*o.pitchEnvelope, d, hold)) * o.pitchEnvDepth + o.pitchEnvOffset) * freq);
    s.phase = float(double(s.phase) + double(freq) * double(0.000045351473f));
    if (!o.waveform) return 0;  // likewise without a waveform (the phase runs)
    return float(double(wave(o.waveform, s.phase, 1, rng)) * s.amplitude);
}

float filter(Filter& f, float x, float d, float hold, float start, Generator& rng) {
    float fc = f.cutoff;
    if (f.cutoffLfo)
        fc = float(double(fc) * (double(lfo(*f.cutoffLfo, d, start, rng)) * f.lfoDepth + f.lfoOffset));
    if (f.cutoffEnvelope)
        fc = float((double(level(*f.cutoffEnvelope, d, hold)) * f.envDepth + f.envOffset) * fc);
    if (!(fc == f.cachedCutoff && f.q == f.cachedQ && 1.0f == f.cachedGain && f.type == f.cachedType)) {
        f.cachedCutoff = fc, f.cachedQ = f.q, f.cachedGain = 1.0f, f.cachedType = f.type;
        float w = float(double(fc) * kTwoPi / f.sampleRate);
        double c = narrow(std::cos(double(w)));
        double s = narrow(std::sin(double(w)));
        double al = float(s / (2.0 * f.q));
        double n = 0;
        switch (f.type) {
        case FilterThru: f.b0 = 1; break;
        case FilterLowpass:
            n = float(1 / (1 + al)); f.a1 = float(-2 * c * n); f.a2 = float((1 - al) * n);
            f.b1 = float((1 - c) * n); f.b0 = float(f.b1 / 2.0); break;
        case FilterHighpass:
            n = float(1 / (1 + al)); f.a1 = float(-2 * c * n); f.a2 = float((1 - al) * n);
            f.b1 = float(-(1 + c) * n); f.b0 = float((1 + c) * n / 2); break;
        case FilterBandpass:
            n = float(1 / (1 + al)); f.a1 = float(-2 * c * n); f.a2 = float((1 - al) * n);
            f.b0 = float(al * n); break;
        case FilterNotch:
            n = float(1 / (1 + al)); f.a1 = float(-2 * c * n); f.a2 = float((1 - al) * n);
            f.b0 = float(n); f.b1 = float(-2 * c * n); break;
        case FilterLowShelf:
            n = float(1 / (1.5 - 0.5 * c + s)); f.a1 = float(-2 * (1.5 * c - 0.5) * n);
            f.a2 = float((1.5 - 0.5 * c - s) * n); f.b0 = float(0.5 * (1.5 + 0.5 * c + s) * n);
            f.b1 = float((-1.5 * c - 0.5) * n); f.b2 = float(0.5 * (1.5 + 0.5 * c - s) * n); break;
        case FilterHighShelf:
            n = float(1 / (1.5 + 0.5 * c + s)); f.a1 = float(2 * (-1.5 * c - 0.5) * n);
            f.a2 = float((1.5 + 0.5 * c - s) * n); f.b0 = float(0.5 * (1.5 - 0.5 * c + s) * n);
            f.b1 = float(-(1.5 * c - 0.5) * n); f.b2 = float(0.5 * (1.5 - 0.5 * c - s) * n); break;
        case FilterPeak:
            n = float(1 / (1 + 2 * al)); f.a1 = float(-2 * c * n); f.a2 = float((1 - 2 * al) * n);
            f.b0 = float((1 + al / 2) * n); f.b2 = float((1 - al / 2) * n); break;
        }
        if (f.type != FilterThru) f.norm = float(n);
    }
    double y = 0;
    double b0 = f.b0, b1 = f.b1, b2 = f.b2, a1 = f.a1, a2 = f.a2;
    switch (f.type) {
    case FilterThru: y = b0 * x; break;
    case FilterLowpass: case FilterHighpass: case FilterNotch:
        y = b0 * (double(x) + f.x2) + b1 * f.x1 - a1 * f.y1 - a2 * f.y2; break;
    case FilterBandpass: y = b0 * x - b0 * f.x2 - a1 * f.y1 - a2 * f.y2; break;
    case FilterLowShelf: case FilterHighShelf:
        y = b0 * x + b1 * f.x1 + b2 * f.x2 - a1 * f.y1 - a2 * f.y2; break;
    case FilterPeak: y = b0 * x + a1 * f.x1 + b2 * f.x2 - a1 * f.y1 - a2 * f.y2; break;
    }
    f.y2 = f.y1, f.y1 = float(y), f.x2 = f.x1, f.x1 = x;
    return float(y);
}

float instrument(Instrument& in, float note, float d, float hold, float start, Generator& rng) {
    float acc = 0;
    for (OscSlot& s : in.oscSlots) acc = float(acc + double(slot(s, note, d, hold, start, rng)));
    for (Filter& f : in.filters) acc = filter(f, acc, d, hold, start, rng);
    float e = level(*in.envelope, d, hold);
    return float(double(e) * acc * in.gain);
}

bool Pool::noteOn(const Instrument& tmpl, const Channel& channel, float gain, int32_t note,
                  float start, float length) {
    for (Voice& v : voices) {
        if (v.active) continue;
        float len = length == -1 ? tmpl.defaultLength : length;
        if (len == -1) return false;  // refused by every voice alike
        v.holdLength = len;
        v.lifetime = float(double(len) + tmpl.envelope->release);
        v.note = note;
        v.instance.oscSlots = tmpl.oscSlots;
        v.instance.filters = tmpl.filters;
        v.instance.envelope = tmpl.envelope;
        v.instance.gain = tmpl.gain;
        v.channel = &channel, v.gain = gain, v.start = start, v.active = true;
        return true;
    }
    return false;
}

float Pool::mix(float t, Generator& rng) {
    float sum = 0;
    for (Voice& v : voices) {
        if (!v.active) continue;
        float d = float(double(t) - v.start);
        if (d > v.lifetime) {
            v.active = false;
        } else if (d > 0) {
            sum = float(sum + double(instrument(v.instance, float(v.note), d, v.holdLength, v.start, rng)) *
                                  v.channel->volume * v.gain);
        }
    }
    return sum;
}

}  // namespace vortel::reference
