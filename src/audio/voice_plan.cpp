#include "audio/voice_plan.h"

#include "audio/instrument.h"
#include "audio/kernels.h"

namespace vortel::kernels {

namespace {

Wave waveOf(WaveformFn w) {
    if (w == nullptr) return Wave::None;
    if (w == waveSine) return Wave::Sine;
    if (w == waveNoise) return Wave::Noise;
    if (w == waveRampUp) return Wave::RampUp;
    if (w == waveRampDown) return Wave::RampDown;
    if (w == waveSquare) return Wave::Square;
    return Wave::Other;
}

// The index of envelope e in the plan's table, adding it if new; -1 when
// the table is full.
int envelopeIndex(VoicePlan& plan, const Envelope* e) {
    for (int k = 0; k < plan.envelopeCount; ++k)
        if (plan.envelopes[k] == e) return k;
    if (plan.envelopeCount == VoicePlan::kMaxEnvelopes) return -1;
    plan.envelopes[plan.envelopeCount] = e;
    return plan.envelopeCount++;
}

// An LFO whose depth is 0 multiplies by its offset whatever its value, as
// long as that value is finite and evaluating it draws nothing.
bool lfoIsConstant(const Lfo& lfo, float depth, float offset) {
    return depth == 0.0f && offset != 0.0f && isPureFinite(lfo.waveform);
}

// Plans an LFO modulation of `value` (a slot's frequency or a filter's
// cutoff): a constant one is folded into `value` once, any other is
// evaluated per sample. Leaves the mode Absent when there is no LFO.
template <class ModPlan>
void planLfo(ModPlan& p, const Lfo* lfo, float depth, float offset, float& value) {
    p.lfoMode = Mod::Absent;
    if (!lfo) return;
    p.lfo = lfo;
    p.lfoDepth = depth;
    p.lfoOffset = offset;
    if (lfoIsConstant(*lfo, depth, offset)) {
        p.lfoMode = Mod::Constant;
        value = float(double(offset) * value);
    } else {
        p.lfoMode = Mod::Evaluated;
    }
}

}  // namespace

bool makePlan(VoicePlan& plan, const Instrument& in, float note, float hold) {
    plan.ready = true;
    plan.usable = false;
    plan.envelopeCount = 0;
    if (in.oscSlots.size() > size_t(VoicePlan::kMaxSlots) ||
        in.filters.size() > size_t(VoicePlan::kMaxFilters) || !in.envelope)
        return false;
    plan.amplitudeEnvelope = int8_t(envelopeIndex(plan, in.envelope));

    plan.slotCount = uint8_t(in.oscSlots.size());
    for (size_t i = 0; i < in.oscSlots.size(); ++i) {
        const OscSlot& s = in.oscSlots[i];
        SlotPlan& p = plan.slots[i];
        p = SlotPlan{};
        p.envelope = -1;
        if (!s.oscillator) {
            p.wave = Wave::NoOscillator;
            continue;
        }
        const Oscillator& osc = *s.oscillator;
        p.wave = waveOf(osc.waveform);
        p.waveform = osc.waveform;
        // The unmodulated frequency, as the slot's own pitch cache gives it.
        const double pitch =
            (double(s.octave) * 12.0 + double(s.detune) * 2.0) + double(s.semitone) + double(note);
        float freq = noteFrequency(pitch);
        planLfo(p, osc.pitchLfo, osc.pitchLfoDepth, osc.pitchLfoOffset, freq);
        if (osc.pitchEnvelope) {
            p.envDepth = osc.pitchEnvDepth;
            p.envOffset = osc.pitchEnvOffset;
            if (p.envDepth == 0.0f && p.envOffset != 0.0f && p.lfoMode != Mod::Evaluated) {
                freq = float(double(p.envOffset) * freq);  // a constant factor
            } else {
                const int k = envelopeIndex(plan, osc.pitchEnvelope);
                if (k < 0) return false;
                p.envelope = int8_t(k);
            }
        }
        p.frequency = freq;
        p.constantFrequency = p.lfoMode != Mod::Evaluated && p.envelope < 0;
        p.step = double(freq) * double(kPhaseStep);
    }

    plan.uniformWave = Wave::Other;
    if (plan.slotCount > 0) {
        const Wave w = plan.slots[0].wave;
        bool uniform = w == Wave::Sine || w == Wave::RampUp || w == Wave::RampDown || w == Wave::Square;
        for (int i = 0; i < plan.slotCount; ++i)
            uniform = uniform && plan.slots[i].wave == w && plan.slots[i].constantFrequency;
        if (uniform) plan.uniformWave = w;
    }

    plan.filterCount = uint8_t(in.filters.size());
    plan.allPure = true;
    for (size_t j = 0; j < in.filters.size(); ++j) {
        const Filter& f = in.filters[j];
        FilterPlan& p = plan.filters[j];
        p = FilterPlan{};
        p.envelope = -1;
        p.pure = filterControlIsPure(f);
        plan.allPure = plan.allPure && p.pure;
        float base = f.cutoff;
        planLfo(p, f.cutoffLfo, f.lfoDepth, f.lfoOffset, base);
        p.envMode = Mod::Absent;
        if (f.cutoffEnvelope) {
            p.envDepth = f.envDepth;
            p.envOffset = f.envOffset;
            if (f.envDepth == 0.0f && f.envOffset != 0.0f) {
                if (p.lfoMode == Mod::Evaluated) {
                    p.envMode = Mod::Constant;  // applied after the LFO, per sample
                } else {
                    base = float(double(f.envOffset) * base);
                }
            } else {
                const int k = envelopeIndex(plan, f.cutoffEnvelope);
                if (k < 0) return false;
                p.envMode = Mod::Evaluated;
                p.envelope = int8_t(k);
            }
        }
        p.base = base;
    }
    for (int k = 0; k < plan.envelopeCount; ++k)
        plan.levelAtNoteOff[k] = heldLevel(*plan.envelopes[k], hold);
    plan.usable = true;
    return true;
}

}  // namespace vortel::kernels
