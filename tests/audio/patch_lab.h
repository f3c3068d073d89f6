#pragma once
// Small helpers to build synthesizer components for the tests. Components
// live in the synth's own lists, so their addresses stay valid.
#include <memory>
#include <utility>
#include <vector>

#include "audio/synth.h"

namespace vortel::testing {

inline Envelope* addEnvelope(Synth& synth, float attack, float decay, float sustain, float release) {
    auto e = std::make_unique<Envelope>("env");
    e->attack = attack, e->decay = decay, e->sustain = sustain, e->release = release;
    synth.envelopes.push_back(std::move(e));
    return synth.envelopes.back().get();
}

inline Lfo* addLfo(Synth& synth, WaveformFn waveform, float rate, bool retrigger = false) {
    auto l = std::make_unique<Lfo>("lfo");
    l->waveform = waveform, l->rate = rate, l->retrigger = retrigger;
    synth.lfos.push_back(std::move(l));
    return synth.lfos.back().get();
}

inline Oscillator* addOscillator(Synth& synth, WaveformFn waveform) {
    auto o = std::make_unique<Oscillator>("osc");
    o->waveform = waveform;
    synth.oscillators.push_back(std::move(o));
    return synth.oscillators.back().get();
}

inline Channel* addChannel(Synth& synth, float volume) {
    synth.channels.push_back(std::make_unique<Channel>("ch", volume));
    return synth.channels.back().get();
}

inline OscSlot makeSlot(Oscillator* osc, float amplitude = 1, int octave = 0, float detune = 0,
                        float phase = 0) {
    OscSlot s("slot");
    s.oscillator = osc, s.amplitude = amplitude, s.octave = octave, s.detune = detune, s.phase = phase;
    return s;
}

inline Instrument* addInstrument(Synth& synth, std::vector<OscSlot> slots,
                                 std::vector<Filter> filters, Envelope* envelope, float gain = 1,
                                 float defaultLength = -1) {
    auto in = std::make_unique<Instrument>("instrument");
    in->oscSlots = std::move(slots), in->filters = std::move(filters), in->envelope = envelope;
    in->gain = gain, in->defaultLength = defaultLength;
    synth.instruments.push_back(std::move(in));
    return synth.instruments.back().get();
}

}  // namespace vortel::testing
