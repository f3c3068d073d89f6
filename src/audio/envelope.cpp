#include "audio/envelope.h"

#include "audio/dsp_kernels.h"

namespace vortel {

float Envelope::level(float t, float hold) const { return kernels::envelopeLevel(*this, t, hold); }

}  // namespace vortel
