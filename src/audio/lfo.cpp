#include "audio/lfo.h"

namespace vortel {

float Lfo::value(float d, float start) const {
    if (!waveform) return 0.0f;
    float tau = retrigger ? d : float(double(d) + double(start));
    return waveform(tau, rate);
}

}  // namespace vortel
