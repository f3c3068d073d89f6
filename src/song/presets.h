#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/rng.h"

namespace vortel {

class Synth;
struct Instrument;
struct Oscillator;
struct OscSlot;
struct Filter;
struct Lfo;
struct Envelope;
struct Channel;

// The preset library: the seven named component lists of a Synth, the
// operations that fill and search them, and their fixed content.
//
// Each add operation copies every field of `tmpl` into a new entry, names it
// `name` (an empty name keeps the template's), appends it to its list and
// returns it. Entries keep their address for the life of the Synth; the
// template stays with the caller and may be changed and reused.
// addInstrument copies with Instrument::assignFrom, so the new instrument
// owns private copies of the template's oscillator slots and filters and
// shares its envelope.
Instrument* addInstrument(Synth& synth, const Instrument& tmpl, const std::string& name);
Oscillator* addOscillator(Synth& synth, const Oscillator& tmpl, const std::string& name);
OscSlot* addOscSlot(Synth& synth, const OscSlot& tmpl, const std::string& name);
Filter* addFilter(Synth& synth, const Filter& tmpl, const std::string& name);
Lfo* addLfo(Synth& synth, const Lfo& tmpl, const std::string& name);
Envelope* addEnvelope(Synth& synth, const Envelope& tmpl, const std::string& name);
Channel* addChannel(Synth& synth, const Channel& tmpl, const std::string& name);

// True when `name` begins with `prefix` (case-sensitive, anchored at the
// start; every name begins with the empty prefix).
bool hasPrefix(std::string_view name, std::string_view prefix);

// Every entry of the kind whose name begins with `prefix`, in list order.
std::vector<Instrument*> findInstruments(const Synth& synth, std::string_view prefix);
std::vector<Lfo*> findLfos(const Synth& synth, std::string_view prefix);
std::vector<Envelope*> findEnvelopes(const Synth& synth, std::string_view prefix);

// Draws one value r from `rng` and returns the matching instrument at index
// r mod (number of matches). With no match it still draws, and returns null.
Instrument* pickInstrument(Synth& synth, std::string_view prefix, Generator& rng);

// Fills the empty library with the fixed presets: 15 envelopes, 3 LFOs,
// 16 filters, 7 oscillators, 11 oscillator slots, 15 instruments and the
// channels "one" and "two". `bpm` (beats per minute) sets the rate of the
// LFO "FastSquare", two cycles per beat; nothing else depends on it.
void buildPresets(Synth& synth, float bpm);

}  // namespace vortel
