#include "audio/waveforms.h"

#include "audio/dsp_kernels.h"

namespace vortel {

float waveSine(float x, float f) { return kernels::sineOf(double(x) * double(f)); }
float waveNoise(float, float) { return kernels::noise(); }
float waveRampUp(float x, float f) { return kernels::rampUpOf(double(x) * double(f)); }
float waveRampDown(float x, float f) { return kernels::rampDownOf(double(x) * double(f)); }
float waveSquare(float x, float f) { return kernels::squareOf(double(x) * double(f)); }

}  // namespace vortel
