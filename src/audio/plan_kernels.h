#pragma once
// The per-sample evaluation of a note through its VoicePlan (voice_plan.h):
// the same computations as kernels.h, with the constant factors already
// folded in and each distinct envelope evaluated once per sample. The
// mixer splits a sample in two: planControl for every sounding voice (the
// envelope levels and the due filter coefficients, queued in a batch), then
// planAudio for every sounding voice. planAudio is itself two halves,
// planSources and planFilterAndGain, which the mixer may run as separate
// passes over the voices when the filters draw nothing from the generator.
// `rng` is the generator the note's noise waveforms draw from.
//
// A sum or product of two floats formed in double and rounded to float is
// computed in float directly: with 53 >= 2 * 24 + 2 bits the double rounding
// is innocuous, so the result is the same bit for bit.
#include <cstdint>

#include "audio/coefficients.h"
#include "audio/dsp_kernels.h"
#include "audio/instrument.h"
#include "audio/kernels.h"
#include "audio/voice_plan.h"

namespace vortel::kernels {

// The filter's cutoff for this sample; `lfo` is its LFO's value, read only
// when the plan evaluates the LFO.
VORTEL_KERNEL float plannedCutoff(const FilterPlan& p, float lfo, const float* levels) {
    float fc = p.base;
    if (p.lfoMode == Mod::Evaluated) fc = float((double(lfo) * p.lfoDepth + p.lfoOffset) * fc);
    if (p.envMode == Mod::Evaluated)
        fc = float((double(levels[p.envelope]) * p.envDepth + p.envOffset) * fc);
    else if (p.envMode == Mod::Constant)
        fc = float(double(p.envOffset) * fc);
    return fc;
}

// Filters whose control is not pure are left to planAudio, so every LFO met
// here may be taken from `lfos`.
VORTEL_KERNEL void planControl(const VoicePlan& plan, Instrument& in, float d, float hold,
                               float start, float* levels, CoefficientBatch& batch,
                               LfoMemo& lfos, Generator& rng) {
    for (int k = 0; k < plan.envelopeCount; ++k) {
        // envelopeLevel, with the level at note-off taken from the plan.
        const Envelope& e = *plan.envelopes[k];
        if (d < hold) {
            levels[k] = float(heldLevel(e, d));
        } else {
            const double r = double(d) - double(hold);
            levels[k] = r >= e.release ? 0.0f : float((1.0 - r / e.release) * plan.levelAtNoteOff[k]);
        }
    }
    for (int j = 0; j < plan.filterCount; ++j) {
        const FilterPlan& p = plan.filters[j];
        if (!p.pure) continue;
        Filter& f = in.filters[j];
        const float lfo = p.lfoMode == Mod::Evaluated ? lfos.get(*p.lfo, d, start, rng) : 0.0f;
        const float fc = plannedCutoff(p, lfo, levels);
        if (coefficientsStale(f, fc)) batch.add(f, fc);
    }
}

// The slots of a plan whose slots all run one waveform at constant
// frequencies: the common case, without per-slot dispatch.
template <Wave W>
VORTEL_KERNEL float uniformSlots(const VoicePlan& plan, OscSlot* slots) {
    float acc = 0.0f;
    for (int i = 0; i < plan.slotCount; ++i) {
        OscSlot& s = slots[i];
        s.phase = float(double(s.phase) + plan.slots[i].step);
        const double phase = s.phase;
        float w;
        if constexpr (W == Wave::RampDown) w = rampDownOf(phase);
        else if constexpr (W == Wave::Sine) w = sineOf(phase);
        else if constexpr (W == Wave::Square) w = squareOf(phase);
        else w = rampUpOf(phase);
        acc = acc + w * s.amplitude;
    }
    return acc;
}

// The sum of the note's oscillator slots for this sample (advancing their
// phases): the first half of planAudio.
VORTEL_KERNEL float planSources(const VoicePlan& plan, Instrument& in, float d, float start,
                                const float* levels, Generator& rng) {
    float acc = 0.0f;
    OscSlot* slots = in.oscSlots.data();
    switch (plan.uniformWave) {
    case Wave::RampDown: acc = uniformSlots<Wave::RampDown>(plan, slots); break;
    case Wave::Sine: acc = uniformSlots<Wave::Sine>(plan, slots); break;
    case Wave::Square: acc = uniformSlots<Wave::Square>(plan, slots); break;
    case Wave::RampUp: acc = uniformSlots<Wave::RampUp>(plan, slots); break;
    default: break;
    }
    for (int i = plan.uniformWave == Wave::Other ? 0 : plan.slotCount; i < plan.slotCount; ++i) {
        const SlotPlan& p = plan.slots[i];
        OscSlot& s = slots[i];
        float out = 0.0f;
        if (p.wave != Wave::NoOscillator) {
            if (p.constantFrequency) {
                s.phase = float(double(s.phase) + p.step);
            } else {
                float freq = p.frequency;
                if (p.lfoMode == Mod::Evaluated) {
                    const float v = lfoValue(*p.lfo, d, start, rng);
                    freq = float((double(v) * p.lfoDepth + p.lfoOffset) * freq);
                }
                if (p.envelope >= 0)
                    freq = float((double(levels[p.envelope]) * p.envDepth + p.envOffset) * freq);
                s.phase = float(double(s.phase) + double(freq) * double(kPhaseStep));
            }
            const double phase = s.phase;
            float w;
            switch (p.wave) {
            case Wave::RampDown: w = rampDownOf(phase); break;
            case Wave::Sine: w = sineOf(phase); break;
            case Wave::Square: w = squareOf(phase); break;
            case Wave::Noise: w = noise(rng); break;
            case Wave::RampUp: w = rampUpOf(phase); break;
            case Wave::Other: w = p.waveform(s.phase, 1.0f, rng); break;
            default: w = 0.0f; break;  // no waveform: silent, the phase still runs
            }
            out = p.wave == Wave::None ? 0.0f : w * s.amplitude;  // = float(double(w) * amplitude)
        }
        acc = acc + out;  // = float(double(acc) + out)
    }
    return acc;
}

// The second half of planAudio: the slot sum `acc` through the filter chain,
// times the amplitude envelope and the gain.
VORTEL_KERNEL float planFilterAndGain(const VoicePlan& plan, Instrument& in, float acc, float d,
                                      float start, const float* levels, Generator& rng) {
    Filter* filters = in.filters.data();
    for (int j = 0; j < plan.filterCount; ++j) {
        Filter& f = filters[j];
        if (!plan.filters[j].pure) {
            const FilterPlan& p = plan.filters[j];
            const float lfo = p.lfoMode == Mod::Evaluated ? lfoValue(*p.lfo, d, start, rng) : 0.0f;
            const float fc = plannedCutoff(p, lfo, levels);
            if (coefficientsStale(f, fc)) computeCoefficients(f, fc);
        }
        acc = filterRun(f, acc);
    }
    const float e = levels[plan.amplitudeEnvelope];
    return float(double(e) * acc * in.gain);
}

VORTEL_KERNEL float planAudio(const VoicePlan& plan, Instrument& in, float d, float start,
                              const float* levels, Generator& rng) {
    const float acc = planSources(plan, in, d, start, levels, rng);
    return planFilterAndGain(plan, in, acc, d, start, levels, rng);
}

}  // namespace vortel::kernels
