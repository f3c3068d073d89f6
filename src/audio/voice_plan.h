#pragma once
// The evaluation plan of one note: what a voice's instrument copy does at
// every sample, worked out once when the note starts to sound instead of at
// every sample. It records the kind of each waveform, which LFOs and
// envelopes have to be evaluated and which only contribute a constant
// factor, the constant frequencies and cutoffs that follow, and the
// distinct envelopes of the note (each is evaluated once per sample).
//
// A plan reads the shared oscillators, LFOs and envelopes, and the copy's
// modulation fields, when it is made; these do not change while a note
// plays. Notes whose instrument does not fit the fixed capacity below are
// evaluated without a plan.
#include <cstdint>

#include "audio/envelope.h"
#include "audio/lfo.h"
#include "audio/waveforms.h"

namespace vortel {

struct Instrument;

namespace kernels {

class CoefficientBatch;

enum class Wave : uint8_t { NoOscillator, None, Sine, Noise, RampUp, RampDown, Square, Other };
// How a modulator enters: not at all, as a constant factor folded into the
// plan, or evaluated at every sample.
enum class Mod : uint8_t { Absent, Constant, Evaluated };

struct SlotPlan {
    WaveformFn waveform;  // for Wave::Other
    const Lfo* lfo;
    float lfoDepth, lfoOffset;
    float envDepth, envOffset;
    float frequency;      // after every constant factor
    double step;          // phase step, when the frequency is constant
    Wave wave;
    Mod lfoMode;
    int8_t envelope;      // index into VoicePlan::envelopes, -1 for none
    bool constantFrequency;
};

struct FilterPlan {
    const Lfo* lfo;
    float lfoDepth, lfoOffset;
    float envDepth, envOffset;
    float base;           // the cutoff after the constant factors
    Mod lfoMode, envMode;
    int8_t envelope;      // index into VoicePlan::envelopes, -1 for none
    bool pure;            // its control draws nothing from the generator
};

struct VoicePlan {
    static constexpr int kMaxSlots = 8;
    static constexpr int kMaxFilters = 4;
    static constexpr int kMaxEnvelopes = 4;

    bool ready = false;   // made for the voice's current note
    bool usable = false;  // false: evaluate the note without a plan
    bool allPure = false; // every filter's control may run ahead of the audio
    // Every slot has a constant frequency and this waveform (sine, ramps or
    // square), or Wave::Other when the slots differ.
    Wave uniformWave = Wave::Other;
    uint8_t slotCount = 0, filterCount = 0, envelopeCount = 0;
    int8_t amplitudeEnvelope = -1;
    const Envelope* envelopes[kMaxEnvelopes] = {};
    // Each envelope's level at note-off, from which its release falls.
    double levelAtNoteOff[kMaxEnvelopes] = {};
    SlotPlan slots[kMaxSlots];
    FilterPlan filters[kMaxFilters];
};

// Makes the plan of `instrument` playing `note`, released `hold` seconds
// after its start. Returns plan.usable.
// The per-sample halves, planControl and planAudio, are in plan_kernels.h.
bool makePlan(VoicePlan& plan, const Instrument& instrument, float note, float hold);

}  // namespace kernels
}  // namespace vortel
