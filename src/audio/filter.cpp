#include "audio/filter.h"

#include "audio/kernels.h"

namespace vortel {

float Filter::process(float x, float d, float hold, float start, Generator& rng) {
    return kernels::filterProcess(*this, x, d, hold, start, rng);
}

}  // namespace vortel
