#pragma once
// The per-sample evaluation of oscillator slots, filters and instruments,
// inline; the public methods (OscSlot::sample, Filter::process,
// Instrument::sample) are thin wrappers around these, and the mixer uses
// them for notes that have no evaluation plan (plan_kernels.h).
//
// Every kernel computes exactly what the plain formulas give. Work that
// cannot change from sample to sample is skipped or cached, never
// approximated:
//   - a slot's unmodulated frequency (the power of two) is cached per pitch;
//   - an LFO scaled by depth 0 contributes the factor (0 + offset) = offset,
//     so it is not evaluated unless its waveform draws noise (the order of
//     the draws from the noise generator must not change); likewise a
//     cutoff envelope of depth 0;
//   - an envelope used twice in one voice's sample (amplitude and cutoff,
//     say) is evaluated once;
//   - the known waveforms are evaluated inline instead of through the
//     function pointer.
//
// `rng` is the generator that noise waveforms draw from, one draw per
// evaluation, in the order the formulas evaluate them.
#include <cstdint>

#include "audio/coefficients.h"
#include "audio/dsp_kernels.h"
#include "audio/filter.h"
#include "audio/instrument.h"
#include "audio/oscillator.h"

namespace vortel::kernels {

// --- oscillator slot --------------------------------------------------------

VORTEL_KERNEL float slotSample(OscSlot& s, float note, float d, float hold, float start, LevelMemo& memo,
                               Generator& rng) {
    if (!s.oscillator) return 0.0f;
    const Oscillator& osc = *s.oscillator;
    const double pitch =
        (double(s.octave) * 12.0 + double(s.detune) * 2.0) + double(s.semitone) + double(note);
    if (!(pitch == s.cachedPitch)) {
        s.cachedPitch = pitch;
        s.cachedFrequency = noteFrequency(pitch);
    }
    float freq = s.cachedFrequency;
    if (osc.pitchLfo)
        freq = lfoScaled(*osc.pitchLfo, osc.pitchLfoDepth, osc.pitchLfoOffset, freq, d, start, rng);
    if (osc.pitchEnvelope) {
        const float e = memo.get(*osc.pitchEnvelope, d, hold);
        freq = float((double(e) * osc.pitchEnvDepth + osc.pitchEnvOffset) * freq);
    }
    s.phase = float(double(s.phase) + double(freq) * double(kPhaseStep));
    if (!osc.waveform) return 0.0f;
    return float(double(evalWaveform(osc.waveform, s.phase, 1.0f, rng)) * s.amplitude);
}

inline float slotSample(OscSlot& s, float note, float d, float hold, float start, Generator& rng) {
    LevelMemo memo;
    return slotSample(s, note, d, hold, start, memo, rng);
}

// --- filter -----------------------------------------------------------------

void computeCoefficients(Filter& f, float fc);  // filter.cpp

// True when the filter's cutoff modulation draws nothing from the
// generator, so its coefficients may be brought up to date at any point of
// the voice's sample without changing the order of the noise draws.
VORTEL_KERNEL bool filterControlIsPure(const Filter& f) {
    return !f.cutoffLfo || isPureFinite(f.cutoffLfo->waveform);
}

// The effective cutoff for this sample: the base cutoff scaled by the LFO
// and the envelope factors.
VORTEL_KERNEL float filterCutoff(const Filter& f, float d, float hold, float start, LevelMemo& memo,
                                 Generator& rng) {
    float fc = f.cutoff;
    if (f.cutoffLfo) fc = lfoScaled(*f.cutoffLfo, f.lfoDepth, f.lfoOffset, fc, d, start, rng);
    if (f.cutoffEnvelope) {
        // Depth 0 makes the factor (0 + offset) whatever the (always finite)
        // level is, so the level is only evaluated when it matters.
        if (f.envDepth == 0.0f && f.envOffset != 0.0f) {
            fc = float(double(f.envOffset) * fc);
        } else {
            const float e = memo.get(*f.cutoffEnvelope, d, hold);
            fc = float((double(e) * f.envDepth + f.envOffset) * fc);
        }
    }
    return fc;
}

// Whether the coefficients must be recomputed for cutoff fc: the cache
// holds the parameters of the last computation.
VORTEL_KERNEL bool coefficientsStale(const Filter& f, float fc) {
    return !(fc == f.cachedCutoff && f.q == f.cachedQ && f.cachedGain == 1.0f &&
             f.type == f.cachedType);
}

// Brings the coefficients up to date for this sample, recomputing only when
// the effective cutoff (or q, or the type) changed.
inline void filterControl(Filter& f, float d, float hold, float start, LevelMemo& memo, Generator& rng) {
    const float fc = filterCutoff(f, d, hold, start, memo, rng);
    if (coefficientsStale(f, fc)) computeCoefficients(f, fc);
}

// One step of the difference equation of the filter's type.
VORTEL_KERNEL float filterRun(Filter& f, float x) {
    const double xd = x;
    float y;
    switch (f.type) {
    case FilterThru:
        y = float(double(f.b0) * xd);
        break;
    case FilterLowpass:
    case FilterHighpass:
    case FilterNotch:
        y = float(double(f.b0) * (xd + f.x2) + double(f.b1) * f.x1 - double(f.a1) * f.y1 -
                  double(f.a2) * f.y2);
        break;
    case FilterBandpass:
        y = float(double(f.b0) * xd - double(f.b0) * f.x2 - double(f.a1) * f.y1 -
                  double(f.a2) * f.y2);
        break;
    case FilterLowShelf:
    case FilterHighShelf:
        y = float(double(f.b0) * xd + double(f.b1) * f.x1 + double(f.b2) * f.x2 -
                  double(f.a1) * f.y1 - double(f.a2) * f.y2);
        break;
    case FilterPeak:
        y = float(double(f.b0) * xd + double(f.a1) * f.x1 + double(f.b2) * f.x2 -
                  double(f.a1) * f.y1 - double(f.a2) * f.y2);
        break;
    default:
        y = x;  // no response is defined for other values: pass the input through
        break;
    }
    f.y2 = f.y1;
    f.y1 = y;
    f.x2 = f.x1;
    f.x1 = x;
    return y;
}

inline float filterProcess(Filter& f, float x, float d, float hold, float start, Generator& rng) {
    LevelMemo memo;
    filterControl(f, d, hold, start, memo, rng);
    return filterRun(f, x);
}

// --- instrument -------------------------------------------------------------
//
// An instrument's sample is split in two so that the mixer can update the
// filter coefficients of all its voices first and then run their audio:
// the coefficient computations of different voices are independent, and
// grouped together the processor overlaps them. Filters whose modulation
// draws noise are updated in the audio part, at their place in the order
// of draws.

inline void instrumentControl(Instrument& in, float d, float hold, float start, LevelMemo& memo,
                              Generator& rng) {
    for (Filter& filter : in.filters)
        if (filterControlIsPure(filter)) filterControl(filter, d, hold, start, memo, rng);
}

// The same, but the due coefficient computations are queued in `batch`;
// they must be flushed before the voice's audio is evaluated.
VORTEL_KERNEL void instrumentControl(Instrument& in, float d, float hold, float start, LevelMemo& memo,
                                     CoefficientBatch& batch, Generator& rng) {
    for (Filter& filter : in.filters) {
        if (!filterControlIsPure(filter)) continue;
        const float fc = filterCutoff(filter, d, hold, start, memo, rng);
        if (coefficientsStale(filter, fc)) batch.add(filter, fc);
    }
}

VORTEL_KERNEL float instrumentAudio(Instrument& in, float note, float d, float hold, float start,
                                    LevelMemo& memo, Generator& rng) {
    float acc = 0.0f;
    for (OscSlot& slot : in.oscSlots)
        acc = float(double(acc) + slotSample(slot, note, d, hold, start, memo, rng));
    for (Filter& filter : in.filters) {
        if (!filterControlIsPure(filter)) filterControl(filter, d, hold, start, memo, rng);
        acc = filterRun(filter, acc);
    }
    if (!in.envelope) return 0.0f;
    const float e = memo.get(*in.envelope, d, hold);
    return float(double(e) * acc * in.gain);
}

inline float instrumentSample(Instrument& in, float note, float d, float hold, float start,
                              Generator& rng) {
    LevelMemo memo;
    instrumentControl(in, d, hold, start, memo, rng);
    return instrumentAudio(in, note, d, hold, start, memo, rng);
}

}  // namespace vortel::kernels
