#include "audio/filter.h"

#include <cmath>

#include "audio/wave_math.h"

namespace vortel {

void Filter::computeCoefficients(float fc) {
    cachedCutoff = fc;
    cachedQ = q;
    cachedGain = 1.0f;
    cachedType = type;

    float w = float(double(fc) * double(kTwoPiF) / double(sampleRate));
    float c = float(std::cos(double(w)));
    float s = float(std::sin(double(w)));
    float alpha = float(double(s) / (2.0 * double(q)));
    double cd = c, sd = s, ad = alpha;

    float n;
    switch (type) {
    case FilterThru:
        b0 = 1.0f;
        return;
    case FilterLowpass:
        n = float(1.0 / (1.0 + ad));
        a1 = float(-2.0 * cd * n);
        a2 = float((1.0 - ad) * n);
        b1 = float((1.0 - cd) * n);
        b0 = float(double(b1) / 2.0);
        break;
    case FilterHighpass:
        n = float(1.0 / (1.0 + ad));
        a1 = float(-2.0 * cd * n);
        a2 = float((1.0 - ad) * n);
        b1 = float(-(1.0 + cd) * n);
        b0 = float((1.0 + cd) * n / 2.0);
        break;
    case FilterBandpass:
        n = float(1.0 / (1.0 + ad));
        a1 = float(-2.0 * cd * n);
        a2 = float((1.0 - ad) * n);
        b0 = float(ad * n);
        break;
    case FilterNotch:
        n = float(1.0 / (1.0 + ad));
        a1 = float(-2.0 * cd * n);
        a2 = float((1.0 - ad) * n);
        b0 = n;
        b1 = float(-2.0 * cd * n);
        break;
    case FilterLowShelf:
        n = float(1.0 / (1.5 - 0.5 * cd + sd));
        a1 = float(-2.0 * (1.5 * cd - 0.5) * n);
        a2 = float((1.5 - 0.5 * cd - sd) * n);
        b0 = float(0.5 * (1.5 + 0.5 * cd + sd) * n);
        b1 = float((-1.5 * cd - 0.5) * n);
        b2 = float(0.5 * (1.5 + 0.5 * cd - sd) * n);
        break;
    case FilterHighShelf:
        n = float(1.0 / (1.5 + 0.5 * cd + sd));
        a1 = float(2.0 * (-1.5 * cd - 0.5) * n);
        a2 = float((1.5 + 0.5 * cd - sd) * n);
        b0 = float(0.5 * (1.5 - 0.5 * cd + sd) * n);
        b1 = float(-(1.5 * cd - 0.5) * n);
        b2 = float(0.5 * (1.5 - 0.5 * cd - sd) * n);
        break;
    case FilterPeak:
        n = float(1.0 / (1.0 + 2.0 * ad));
        a1 = float(-2.0 * cd * n);
        a2 = float((1.0 - 2.0 * ad) * n);
        b0 = float((1.0 + ad / 2.0) * n);
        b2 = float((1.0 - ad / 2.0) * n);
        break;
    default:
        return;  // unknown types pass their input through (see process)
    }
    norm = n;
}

float Filter::process(float x, float d, float hold, float start) {
    float fc = cutoff;
    if (cutoffLfo) {
        float v = cutoffLfo->value(d, start);
        fc = float(double(fc) * (double(v) * lfoDepth + lfoOffset));
    }
    if (cutoffEnvelope) {
        float e = cutoffEnvelope->level(d, hold);
        fc = float((double(e) * envDepth + envOffset) * fc);
    }
    if (!(fc == cachedCutoff && q == cachedQ && cachedGain == 1.0f && type == cachedType))
        computeCoefficients(fc);

    double xd = x;
    float y;
    switch (type) {
    case FilterThru:
        y = float(double(b0) * xd);
        break;
    case FilterLowpass:
    case FilterHighpass:
    case FilterNotch:
        y = float(double(b0) * (xd + x2) + double(b1) * x1 - double(a1) * y1 - double(a2) * y2);
        break;
    case FilterBandpass:
        y = float(double(b0) * xd - double(b0) * x2 - double(a1) * y1 - double(a2) * y2);
        break;
    case FilterLowShelf:
    case FilterHighShelf:
        y = float(double(b0) * xd + double(b1) * x1 + double(b2) * x2 - double(a1) * y1 -
                  double(a2) * y2);
        break;
    case FilterPeak:
        y = float(double(b0) * xd + double(a1) * x1 + double(b2) * x2 - double(a1) * y1 -
                  double(a2) * y2);
        break;
    default:
        y = x;  // no response defined for other values: pass through
        break;
    }
    y2 = y1;
    y1 = y;
    x2 = x1;
    x1 = x;
    return y;
}

}  // namespace vortel
