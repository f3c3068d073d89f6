#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

namespace vortel {

// Double-precision sine and cosine for the synthesizer's inner loops. The
// results are within about one unit in the last place of a double, so once
// rounded to float they equal the float-rounded std::sin / std::cos except
// when the exact value lies within a hair of a float rounding boundary
// (about one argument in 10^8). Arguments are reduced modulo pi/2 with a
// three-part constant, exact for |x| < 2^19 * pi/2; larger arguments and
// non-finite ones go to the standard library.

namespace trig_detail {

// pi/2 split into parts of 33 bits so that k * part is exact for k < 2^20.
inline constexpr double kPio2Hi = 1.57079632673412561417e+00;
inline constexpr double kPio2Mid = 6.07710050630396597660e-11;
inline constexpr double kPio2Lo = 2.02226624871116645580e-21;
inline constexpr double kTwoOverPi = 6.36619772367581382433e-01;
inline constexpr double kRoundMagic = 6755399441055744.0;  // 1.5 * 2^52
inline constexpr double kMaxReduced = 823550.0;            // ~2^19 * pi/2

inline constexpr double kPio4 = 0.785398163397448279;

// Minimax polynomials on [-pi/4, pi/4], evaluated in Estrin's scheme to
// keep the dependency chains short.
inline double kernelSin(double r) {
    const double z = r * r;
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const double p = (-1.66666666666666324348e-01 + z * 8.33333333332248946124e-03) +
                     z2 * (-1.98412698298579493134e-04 + z * 2.75573137070700676789e-06) +
                     z4 * (-2.50507602534068634195e-08 + z * 1.58969099521155010221e-10);
    return r + (r * z) * p;
}

inline double kernelCos(double r) {
    const double z = r * r;
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const double p = (4.16666666666666019037e-02 + z * -1.38888888888741095749e-03) +
                     z2 * (2.48015872894767294178e-05 + z * -2.75573143513906633035e-07) +
                     z4 * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11);
    const double hz = 0.5 * z;
    const double w = 1.0 - hz;
    // 1 - hz loses the low bits of hz; put them back.
    return w + (((1.0 - w) - hz) + z2 * p);
}

// Reduces x to r in [-pi/4, pi/4] with x = r + q * pi/2; returns q mod 4.
inline unsigned reduce(double x, double& r) {
    const double shifted = x * kTwoOverPi + kRoundMagic;
    uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    const double k = shifted - kRoundMagic;
    r = ((x - k * kPio2Hi) - k * kPio2Mid) - k * kPio2Lo;
    return unsigned(bits) & 3u;
}

// The library's sine and cosine for the rare arguments outside the reduction
// range. Kept out of line on purpose: when GCC 12 sees std::sin and
// std::cos of the same argument in one function it merges them into sincos
// and, in doing so, drops later float(...) roundings of the results.
[[gnu::noinline]] inline void librarySinCos(double x, double& s, double& c) {
    s = std::sin(x);
    c = std::cos(x);
}

}  // namespace trig_detail

[[gnu::always_inline]] inline double fastSin(double x) {
    using namespace trig_detail;
    if (std::fabs(x) <= kPio4) return kernelSin(x);
    if (!(std::fabs(x) < kMaxReduced)) return std::sin(x);
    double r;
    switch (reduce(x, r)) {
    case 0: return kernelSin(r);
    case 1: return kernelCos(r);
    case 2: return -kernelSin(r);
    default: return -kernelCos(r);
    }
}

[[gnu::always_inline]] inline void fastSinCos(double x, double& s, double& c) {
    using namespace trig_detail;
    if (std::fabs(x) <= kPio4) {
        s = kernelSin(x);
        c = kernelCos(x);
        return;
    }
    if (!(std::fabs(x) < kMaxReduced)) {
        librarySinCos(x, s, c);
        return;
    }
    double r;
    const unsigned q = reduce(x, r);
    const double sr = kernelSin(r), cr = kernelCos(r);
    switch (q) {
    case 0: s = sr, c = cr; break;
    case 1: s = cr, c = -sr; break;
    case 2: s = -sr, c = -cr; break;
    default: s = -cr, c = sr; break;
    }
}

}  // namespace vortel
