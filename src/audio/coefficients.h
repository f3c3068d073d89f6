#pragma once
// Biquad coefficient computation. The mixer queues the filters whose
// coefficients are due in a batch and computes them back to back, before
// any voice's audio: the computations are independent of each other, and
// grouped together the processor overlaps their long dependency chains
// (a vectorised version across filters measured slower).
#include <cstdint>

#include "audio/filter.h"

namespace vortel::kernels {

// The type-independent terms of the coefficients of cutoff fc, each rounded
// to float: c = cos w, s = sin w and alpha = s / (2q), w = 2 pi fc / rate.
struct AngleTerms {
    double c, s, alpha;
};

AngleTerms angleTerms(float fc, float q, int32_t sampleRate);

// Sets the filter's coefficients of its type from the angle terms and
// records fc, q, the gain 1.0 and the type in the cache.
void finishCoefficients(Filter& f, float fc, const AngleTerms& t);

// Filters whose coefficients are due, computed together at flush(). A filter
// must not be added twice before a flush. Never allocates.
class CoefficientBatch {
public:
    void add(Filter& f, float fc) {
        if (count_ == kCapacity) flush();
        filters_[count_] = &f;
        cutoffs_[count_] = fc;
        ++count_;
    }
    void flush();

private:
    static constexpr int kCapacity = 32;
    Filter* filters_[kCapacity];
    float cutoffs_[kCapacity];
    int count_ = 0;
};

}  // namespace vortel::kernels
