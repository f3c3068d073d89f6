#pragma once
// The glow computed on the processor: the working area shrunk to 128 x 128
// and blurred there. One read-back of the working area and one upload of
// the glow replace eight switches of render target, each of which makes
// the software rasteriser finish everything queued before it.
//
// Both steps round as the GL draws they stand for do on Mesa's llvmpipe:
// the shrink as a linearly filtered quad of texel-centre samples (each pixel
// the rounded mean of the rounded means of two 2 x 2 texel pairs), a blur
// iteration as the blur programs (gpu_programs.h): four bilinear taps in
// floating point, each scaled by gain x 255 and rounded, summed and
// clamped. Images are B, G, R, A bytes, rows bottom-up, as glReadPixels
// gives them.
#include <cstdint>
#include <memory>
#include <vector>

namespace vortel {

constexpr int kGlowImageSize = 128;
constexpr int kBlurIterations = 7;  // blur iterations of a glow
constexpr float kBlurTapShift = 0.01f;  // texture coordinates: 1.28 texels diagonally

// `area` holds 512 x 512 pixels; `glow` receives 128 x 128.
void shrinkForGlow(const uint8_t* area, uint8_t* glow);

// One blur iteration of `from` (128 x 128) into `to`: each colour channel
// becomes the sum of its four diagonal taps, each rounded from gain x 255 x
// the tap, clamped to 255; alpha the same with a gain of 1. Texels beyond
// the edge count as 0 (GL_CLAMP with a black border).
void blurGlowOnce(const uint8_t* from, uint8_t* to, float gain);

// The working planes of a blur, kept to be reused from frame to frame.
struct GlowWork {
    GlowWork();
    ~GlowWork();
    struct Planes;
    std::unique_ptr<Planes> planes;
};

// `iterations` blur iterations of `glow` in place, working in `work`.
void blurGlow(std::vector<uint8_t>& glow, float gain, int iterations, GlowWork& work);
// The same with working planes of its own.
void blurGlow(std::vector<uint8_t>& glow, float gain, int iterations);

}  // namespace vortel
