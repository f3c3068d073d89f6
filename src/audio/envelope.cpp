#include "audio/envelope.h"

namespace vortel {

namespace {

// Level of the attack/decay ramp at x seconds, as if the note were held.
double heldLevel(const Envelope& e, double x) {
    double a = x < 0 ? 0.0 : (x < e.attack ? x / e.attack : 1.0);
    double d = x < e.attack ? 0.0 : (x - e.attack < e.decay ? (x - e.attack) / e.decay : 1.0);
    return a - (1.0 - e.sustain) * d;
}

}  // namespace

float Envelope::level(float t, float hold) const {
    if (t < hold) return float(heldLevel(*this, t));
    double r = double(t) - double(hold);
    if (r >= release) return 0.0f;
    return float((1.0 - r / release) * heldLevel(*this, hold));
}

}  // namespace vortel
