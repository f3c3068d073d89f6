#include "audio/waveforms.h"

#include "audio/dsp_kernels.h"

namespace vortel {

float waveSine(float x, float f, Generator&) { return kernels::sineOf(double(x) * double(f)); }
float waveNoise(float, float, Generator& rng) { return kernels::noise(rng); }
float waveRampUp(float x, float f, Generator&) { return kernels::rampUpOf(double(x) * double(f)); }
float waveRampDown(float x, float f, Generator&) { return kernels::rampDownOf(double(x) * double(f)); }
float waveSquare(float x, float f, Generator&) { return kernels::squareOf(double(x) * double(f)); }

}  // namespace vortel
