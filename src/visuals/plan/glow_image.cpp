#include "visuals/plan/glow_image.h"

#include <algorithm>
#include <array>
#include <cmath>

// The hot loops compiled twice, for AVX2 and for any x86-64, the better one
// chosen at load time; elsewhere compiled once. Not under the sanitizers:
// the load-time choice runs before their runtime is up (ThreadSanitizer's
// builds crashed before main).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
#define VORTEL_VECTOR_CLONES [[gnu::target_clones("avx2", "default")]]
#else
#define VORTEL_VECTOR_CLONES
#endif

namespace vortel {

namespace {

constexpr int kN = kGlowImageSize;
constexpr int kArea = 4 * kN;
constexpr int kPad = 2;               // texels of border round the image, all 0
constexpr int kRow = kN + 2 * kPad;   // a padded row
using Plane = std::array<float, kRow * kRow>;
using Sums = std::array<int, kN * kN>;

// Where a tap shifted by `shift` samples along one axis, pixel by pixel: the
// lower of the two texels it filters (in padded coordinates) and the weight
// of the upper one. GL_CLAMP clamps the coordinate to [0, 1] and reads the
// border beyond the edge. Inside, the lower texel is the pixel plus
// `offset`; `edges` lists the pixels where the clamp makes it differ.
struct AxisTaps {
    int offset = 0;
    std::array<int, kN> lower{};
    std::array<float, kN> weight{};
    std::vector<int> edges;
};

AxisTaps axisTaps(float shift) {
    AxisTaps t;
    for (int i = 0; i < kN; ++i) {
        const float s = std::clamp((static_cast<float>(i) + 0.5f) / kN + shift, 0.0f, 1.0f);
        const float u = s * kN - 0.5f;
        const float lower = std::floor(u);
        t.lower[static_cast<size_t>(i)] = static_cast<int>(lower) + kPad;
        t.weight[static_cast<size_t>(i)] = u - lower;
    }
    t.offset = t.lower[kN / 2] - kN / 2;
    for (int i = 0; i < kN; ++i)
        if (t.lower[static_cast<size_t>(i)] != i + t.offset) t.edges.push_back(i);
    return t;
}

const AxisTaps& taps(bool positive) {
    static const AxisTaps minus = axisTaps(-kBlurTapShift), plus = axisTaps(kBlurTapShift);
    return positive ? plus : minus;
}

// One padded row filtered along x for one direction of the taps.
[[gnu::always_inline]] inline void filterRow(const float* __restrict p, float* __restrict out, const AxisTaps& t) {
    const float* q = p + t.offset;
    for (int x = 0; x < kN; ++x) out[x] = q[x] + t.weight[static_cast<size_t>(x)] * (q[x + 1] - q[x]);
    for (int x : t.edges) {
        const float* e = p + t.lower[static_cast<size_t>(x)];
        out[x] = e[0] + t.weight[static_cast<size_t>(x)] * (e[1] - e[0]);
    }
}

// Adds to `sum` the rounded taps of one direction pair: rows of `across`
// (already filtered along x) filtered along y, scaled by k, rounded.
[[gnu::always_inline]] inline void addTaps(const Plane& across, const AxisTaps& ty, float k, int* __restrict sum) {
    for (int y = 0; y < kN; ++y) {
        const float* r0 = &across[static_cast<size_t>(ty.lower[static_cast<size_t>(y)] * kRow)];
        const float* r1 = r0 + kRow;
        const float w = ty.weight[static_cast<size_t>(y)];
        int* s = sum + y * kN;
        // The value is at least 0.5, so truncation is the floor.
        for (int x = 0; x < kN; ++x) s[x] += static_cast<int>((r0[x] + w * (r1[x] - r0[x])) * k + 0.5f);
    }
}

// One iteration on one channel: `plane` (texture values, border 0) into
// `sums` (the new 8-bit values before clamping).
VORTEL_VECTOR_CLONES void blurPlane(const Plane& plane, float k, std::array<Plane, 2>& across, Sums& sums) {
    for (int sx = 0; sx < 2; ++sx) {
        const AxisTaps& t = taps(sx == 1);
        for (int row = 0; row < kRow; ++row)
            filterRow(&plane[static_cast<size_t>(row * kRow)], &across[static_cast<size_t>(sx)][static_cast<size_t>(row * kRow)], t);
    }
    sums.fill(0);
    for (int sy = 0; sy < 2; ++sy)
        for (int sx = 0; sx < 2; ++sx) addTaps(across[static_cast<size_t>(sx)], taps(sy == 1), k, sums.data());
}

// The new 8-bit values, clamped, as the next iteration's texture values.
// (Two plain loops: the compiler vectorises each, not the two fused.)
VORTEL_VECTOR_CLONES void planeFromSums(Sums& sums, Plane& plane) {
    for (int& v : sums) v = std::min(v, 255);
    for (int y = 0; y < kN; ++y) {
        const int* __restrict from = &sums[static_cast<size_t>(y * kN)];
        float* __restrict to = &plane[static_cast<size_t>((y + kPad) * kRow + kPad)];
        for (int x = 0; x < kN; ++x) to[x] = static_cast<float>(from[x]) * (1.0f / 255.0f);
    }
}

// The programs' scale: gain x 255 for the colours, 255 for alpha.
float channelScale(float gain, int c) { return c == 3 ? 255.0f : static_cast<float>(static_cast<double>(gain) * 255.0); }

void toPlane(const uint8_t* image, int c, Plane& plane) {
    for (int y = 0; y < kN; ++y)
        for (int x = 0; x < kN; ++x)
            plane[static_cast<size_t>((y + kPad) * kRow + x + kPad)] =
                static_cast<float>(image[(static_cast<size_t>(y) * kN + x) * 4 + c]) * (1.0f / 255.0f);
}

}  // namespace

// The planes of one blur: the channel being blurred, the same filtered
// along x for each tap direction, and the sums of the taps.
struct GlowWork::Planes {
    Plane plane;
    std::array<Plane, 2> across;
    Sums sums;
};

GlowWork::GlowWork() : planes(std::make_unique<Planes>()) {}
GlowWork::~GlowWork() = default;

void shrinkForGlow(const uint8_t* area, uint8_t* glow) {
    // Pixel x samples texture coordinate 4x + 1.5: the mean of texels 4x + 1
    // and 4x + 2 in each direction, rounded at each of the two steps.
    for (int y = 0; y < kN; ++y) {
        const uint8_t* r1 = area + (static_cast<size_t>(4 * y + 1) * kArea) * 4;
        const uint8_t* r2 = r1 + static_cast<size_t>(kArea) * 4;
        uint8_t* out = glow + static_cast<size_t>(y) * kN * 4;
        for (int x = 0; x < kN; ++x) {
            const int i = (4 * x + 1) * 4;
            for (int c = 0; c < 4; ++c) {
                const int top = (r1[i + c] + r1[i + 4 + c] + 1) >> 1;
                const int bottom = (r2[i + c] + r2[i + 4 + c] + 1) >> 1;
                out[x * 4 + c] = static_cast<uint8_t>((top + bottom + 1) >> 1);
            }
        }
    }
}

void blurGlowOnce(const uint8_t* from, uint8_t* to, float gain) {
    std::vector<uint8_t> glow(from, from + static_cast<size_t>(kN) * kN * 4);
    blurGlow(glow, gain, 1);
    std::copy(glow.begin(), glow.end(), to);
}

void blurGlow(std::vector<uint8_t>& glow, float gain, int iterations) {
    GlowWork work;
    blurGlow(glow, gain, iterations, work);
}

void blurGlow(std::vector<uint8_t>& glow, float gain, int iterations, GlowWork& work) {
    Plane& plane = work.planes->plane;
    Sums& sums = work.planes->sums;
    plane.fill(0);
    for (int c = 0; c < 4; ++c) {
        const float k = channelScale(gain, c);
        toPlane(glow.data(), c, plane);
        for (int i = 0; i < iterations; ++i) {
            blurPlane(plane, k, work.planes->across, sums);
            if (i + 1 < iterations) {
                planeFromSums(sums, plane);
                continue;
            }
            for (int y = 0; y < kN; ++y)
                for (int x = 0; x < kN; ++x)
                    glow[(static_cast<size_t>(y) * kN + x) * 4 + static_cast<size_t>(c)] =
                        static_cast<uint8_t>(std::min(sums[static_cast<size_t>(y * kN + x)], 255));
        }
    }
}

}  // namespace vortel
