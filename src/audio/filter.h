#pragma once
#include <cstdint>
#include <string>

#include "audio/envelope.h"
#include "audio/lfo.h"

namespace vortel {

// Response types of a Filter.
enum FilterType : int32_t {
    FilterThru = 0,        // output = input
    FilterLowpass = 1,     // low-pass with resonance q
    FilterHighpass = 2,    // high-pass with resonance q
    FilterBandpass = 3,    // band-pass, 0 dB peak, bandwidth from q
    FilterNotch = 4,       // notch, width from q
    FilterLowShelf = 5,    // low shelf, fixed gain factor 0.5, q unused
    FilterHighShelf = 6,   // high shelf, fixed gain factor 0.5, q unused
    FilterPeak = 7,        // peaking dip, fixed gain factor 0.5, width from q
};

// A second-order section in direct form I whose cutoff an LFO and an
// envelope can move per sample. The coefficients are recomputed only when
// the effective cutoff, q or type differ from those of the last computation.
// Every voice's instrument copy owns its filters, so each note has its own
// history.
struct Filter {
    std::string name;
    float q = 0;                  // resonance / quality factor
    int32_t type = FilterThru;    // a FilterType value
    float cutoff = 0;             // cutoff or centre frequency, Hz
    // Cutoff factor (v * lfoDepth + lfoOffset), v the LFO value.
    Lfo* cutoffLfo = nullptr;     // not owned; none = no LFO
    float lfoDepth = 0;
    float lfoOffset = 1.0f;
    // Cutoff factor (level * envDepth + envOffset), applied after the LFO.
    Envelope* cutoffEnvelope = nullptr;  // not owned; none = no envelope
    float envDepth = 0;
    float envOffset = 1.0f;
    float x1 = 0, x2 = 0;         // previous two inputs
    float y1 = 0, y2 = 0;         // previous two outputs
    float norm = 0;               // 1/a0 of the last computation
    float a1 = 0, a2 = 0;         // normalised feedback coefficients
    float b0 = 0, b1 = 0, b2 = 0; // normalised feed-forward coefficients
    // Parameters of the last coefficient computation. The gain is always
    // computed with 1.0, so a fresh filter (gain 0) computes on first use.
    float cachedCutoff = 0, cachedQ = 0, cachedGain = 0;
    int32_t cachedType = 0;
    int32_t sampleRate = 0;       // the synth's sample rate, Hz

    Filter() = default;
    Filter(std::string name, float q, int32_t type, float cutoff, int32_t sampleRate)
        : name(std::move(name)), q(q), type(type), cutoff(cutoff), sampleRate(sampleRate) {}

    // Filters one sample `x` of a note `d` seconds after its start at song
    // time `start`, released at `hold` seconds. Updates the history and, when
    // the effective parameters changed, the coefficients. A noise LFO draws
    // from `rng`. Never allocates.
    float process(float x, float d, float hold, float start, Generator& rng);

    // Recomputes the coefficients for cutoff `fc` with the current q and
    // type and records them as the cached parameters.
    void computeCoefficients(float fc);
};

}  // namespace vortel
