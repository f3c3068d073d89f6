#include "audio/instrument.h"

namespace vortel {

float Instrument::sample(float note, float d, float hold, float start) {
    float acc = 0.0f;
    for (OscSlot& slot : oscSlots) acc = float(double(acc) + slot.sample(note, d, hold, start));
    for (Filter& filter : filters) acc = filter.process(acc, d, hold, start);
    if (!envelope) return 0.0f;
    float e = envelope->level(d, hold);
    return float(double(e) * acc * gain);
}

void Instrument::assignFrom(const Instrument& other) {
    if (&other == this) return;
    envelope = other.envelope;
    reservedInt = other.reservedInt;
    reservedFloat = other.reservedFloat;
    gain = other.gain;
    defaultLength = other.defaultLength;
    // resize() keeps the capacity when shrinking, so a voice's copy stops
    // allocating once it has held its largest instrument; element-wise copy
    // assignment reuses each name's storage.
    filters.resize(other.filters.size());
    for (size_t i = 0; i < filters.size(); ++i) filters[i] = other.filters[i];
    oscSlots.resize(other.oscSlots.size());
    for (size_t i = 0; i < oscSlots.size(); ++i) oscSlots[i] = other.oscSlots[i];
}

}  // namespace vortel
