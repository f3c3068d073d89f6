#include "audio/lfo.h"

#include "audio/dsp_kernels.h"

namespace vortel {

float Lfo::value(float d, float start, Generator& rng) const { return kernels::lfoValue(*this, d, start, rng); }

}  // namespace vortel
