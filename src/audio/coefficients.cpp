#include "audio/coefficients.h"

#include <cmath>

#include "audio/fast_trig.h"
#include "audio/kernels.h"
#include "audio/wave_math.h"

namespace vortel {

void Filter::computeCoefficients(float fc) { kernels::computeCoefficients(*this, fc); }

namespace kernels {

// The two divisions by values that do not depend on fc are taken as
// multiplications by their reciprocals, which keeps them off the chain from
// fc to the coefficients; w and alpha are rounded to float, so this can only
// differ from the quotient in a rounding tie.
[[gnu::flatten]] AngleTerms angleTerms(float fc, float q, int32_t sampleRate) {
    const float w = float(double(fc) * (double(kTwoPiF) / double(sampleRate)));
    double sinW, cosW;
    fastSinCos(double(w), sinW, cosW);
    AngleTerms t;
    t.c = roundedToFloat(cosW);
    t.s = roundedToFloat(sinW);
    t.alpha = roundedToFloat(t.s * (0.5 / double(q)));
    return t;
}

// Audio-equalizer cookbook biquads, normalised by a0 (= 1/norm); the shelf
// and peak types are fixed at the gain factor 0.5 (A = 0.5 in the cookbook's
// terms). Coefficients a type does not use keep their values.
void finishCoefficients(Filter& f, float fc, const AngleTerms& t) {
    f.cachedCutoff = fc;
    f.cachedQ = f.q;
    f.cachedGain = 1.0f;
    f.cachedType = f.type;
    const double c = t.c, s = t.s, alpha = t.alpha;

    float n;
    switch (f.type) {
    case FilterThru:
        f.b0 = 1.0f;
        return;
    case FilterLowpass:
        n = float(1.0 / (1.0 + alpha));
        f.a1 = float(-2.0 * c * n);
        f.a2 = float((1.0 - alpha) * n);
        f.b1 = float((1.0 - c) * n);
        f.b0 = float(double(f.b1) / 2.0);
        break;
    case FilterHighpass:
        n = float(1.0 / (1.0 + alpha));
        f.a1 = float(-2.0 * c * n);
        f.a2 = float((1.0 - alpha) * n);
        f.b1 = float(-(1.0 + c) * n);
        f.b0 = float((1.0 + c) * n / 2.0);
        break;
    case FilterBandpass:
        n = float(1.0 / (1.0 + alpha));
        f.a1 = float(-2.0 * c * n);
        f.a2 = float((1.0 - alpha) * n);
        f.b0 = float(alpha * n);
        break;
    case FilterNotch:
        n = float(1.0 / (1.0 + alpha));
        f.a1 = float(-2.0 * c * n);
        f.a2 = float((1.0 - alpha) * n);
        f.b0 = n;
        f.b1 = float(-2.0 * c * n);
        break;
    case FilterLowShelf:
        n = float(1.0 / (1.5 - 0.5 * c + s));
        f.a1 = float(-2.0 * (1.5 * c - 0.5) * n);
        f.a2 = float((1.5 - 0.5 * c - s) * n);
        f.b0 = float(0.5 * (1.5 + 0.5 * c + s) * n);
        f.b1 = float((-1.5 * c - 0.5) * n);
        f.b2 = float(0.5 * (1.5 + 0.5 * c - s) * n);
        break;
    case FilterHighShelf:
        n = float(1.0 / (1.5 + 0.5 * c + s));
        f.a1 = float(2.0 * (-1.5 * c - 0.5) * n);
        f.a2 = float((1.5 + 0.5 * c - s) * n);
        f.b0 = float(0.5 * (1.5 - 0.5 * c + s) * n);
        f.b1 = float(-(1.5 * c - 0.5) * n);
        f.b2 = float(0.5 * (1.5 - 0.5 * c - s) * n);
        break;
    case FilterPeak:
        n = float(1.0 / (1.0 + 2.0 * alpha));
        f.a1 = float(-2.0 * c * n);
        f.a2 = float((1.0 - 2.0 * alpha) * n);
        f.b0 = float((1.0 + alpha / 2.0) * n);
        f.b2 = float((1.0 - alpha / 2.0) * n);
        break;
    default:
        return;  // other type values have no coefficients; the filter passes through
    }
    f.norm = n;
}

void computeCoefficients(Filter& f, float fc) {
    finishCoefficients(f, fc, angleTerms(fc, f.q, f.sampleRate));
}

namespace {

// Gives `to` the coefficients that finishCoefficients would compute for it
// from the same parameters, taking them from `from`, which has just
// computed them: the fields its type sets, and the cache.
void copyCoefficients(Filter& to, const Filter& from, float fc) {
    to.cachedCutoff = fc;
    to.cachedQ = to.q;
    to.cachedGain = 1.0f;
    to.cachedType = to.type;
    switch (to.type) {
    case FilterThru:
        to.b0 = from.b0;
        return;
    case FilterLowpass:
    case FilterHighpass:
    case FilterNotch:
        to.b1 = from.b1;
        break;
    case FilterBandpass:
        break;
    case FilterLowShelf:
    case FilterHighShelf:
        to.b1 = from.b1;
        to.b2 = from.b2;
        break;
    case FilterPeak:
        to.b2 = from.b2;
        break;
    default:
        return;
    }
    to.a1 = from.a1;
    to.a2 = from.a2;
    to.b0 = from.b0;
    to.norm = from.norm;
}

}  // namespace

[[gnu::flatten]] void CoefficientBatch::flush() {
    for (int i = 0; i < count_; ++i) {
        Filter& f = *filters_[i];
        const float fc = cutoffs_[i];
        // The notes of a chord share their start, hold and instrument, so
        // their filters ask for the same coefficients at the same sample:
        // those are computed once.
        int twin = -1;
        for (int k = i - 1; k >= 0 && twin < 0; --k) {
            const Filter& g = *filters_[k];
            if (cutoffs_[k] == fc && g.q == f.q && g.type == f.type && g.sampleRate == f.sampleRate)
                twin = k;
        }
        if (twin >= 0)
            copyCoefficients(f, *filters_[twin], fc);
        else
            computeCoefficients(f, fc);
    }
    count_ = 0;
}

}  // namespace kernels
}  // namespace vortel
