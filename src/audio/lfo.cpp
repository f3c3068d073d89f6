#include "audio/lfo.h"

#include "audio/dsp_kernels.h"

namespace vortel {

float Lfo::value(float d, float start) const { return kernels::lfoValue(*this, d, start); }

}  // namespace vortel
