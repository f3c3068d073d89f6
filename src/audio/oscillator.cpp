#include "audio/oscillator.h"

#include <cmath>

#include "audio/kernels.h"

namespace vortel {

float noteFrequency(double semitones) {
    float power = float(std::pow(2.0, semitones * double(kTwelfthF)));
    return float(440.0 * power);
}

float OscSlot::sample(float note, float d, float hold, float start, Generator& rng) {
    return kernels::slotSample(*this, note, d, hold, start, rng);
}

}  // namespace vortel
