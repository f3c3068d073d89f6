#include "audio/instrument.h"

#include "audio/kernels.h"

namespace vortel {

float Instrument::sample(float note, float d, float hold, float start, Generator& rng) {
    return kernels::instrumentSample(*this, note, d, hold, start, rng);
}

void Instrument::assignFrom(const Instrument& other) {
    if (&other == this) return;
    envelope = other.envelope;
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
