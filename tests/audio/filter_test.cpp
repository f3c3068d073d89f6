#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "core/rng.h"
#include "audio/filter.h"

namespace vortel {
namespace {

TEST(Filter, LowpassCoefficientsAtAQuarterOfTheSampleRate) {
    Generator rng;
    // w = pi/2: c = 0, s = 1; q = 0.5: alpha = 1, n = 0.5.
    Filter f("lp", 0.5f, FilterLowpass, 5512.5f, 22050);
    f.process(0, 0.001f, 1, 0, rng);
    EXPECT_NEAR(f.norm, 0.5f, 1e-7);
    EXPECT_NEAR(f.a1, 0.0f, 1e-7);
    EXPECT_NEAR(f.a2, 0.0f, 1e-7);
    EXPECT_NEAR(f.b1, 0.5f, 1e-7);
    EXPECT_NEAR(f.b0, 0.25f, 1e-7);
    // With a1 = a2 = 0 the filter is the moving average (x + 2 x1 + x2) / 4.
    const float in[] = {1, 0, 0, 0, 4, 8};
    const float expected[] = {0.25f, 0.5f, 0.25f, 0, 1, 4};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(f.process(in[i], 0.001f, 1, 0, rng), expected[i], 1e-6);
}

TEST(Filter, ThruPassesTheInputAndStillShiftsItsHistory) {
    Generator rng;
    // Also a fresh filter with cutoff 0 and q 0, as in its cache, computes
    // its coefficients on the first call: b0 goes from 0 to 1.
    Filter f("thru", 0, FilterThru, 0, 22050);
    EXPECT_EQ(f.b0, 0.0f);
    EXPECT_EQ(f.process(0.75f, 0.001f, 1, 0, rng), 0.75f);
    EXPECT_EQ(f.process(-2.0f, 0.002f, 1, 0, rng), -2.0f);
    EXPECT_EQ(f.cachedGain, 1.0f);
    EXPECT_EQ(f.x1, -2.0f);
    EXPECT_EQ(f.x2, 0.75f);
    EXPECT_EQ(f.y1, -2.0f);
    EXPECT_EQ(f.y2, 0.75f);
}

TEST(Filter, UnchangedParametersKeepTheCoefficients) {
    Generator rng;
    Filter f("lp", 2, FilterLowpass, 800, 22050);
    f.process(0.1f, 0.001f, 1, 0, rng);
    const float b0 = f.b0;
    f.b0 = 123.0f;  // a recomputation would restore it
    f.process(0.1f, 0.002f, 1, 0, rng);
    EXPECT_EQ(f.b0, 123.0f);
    // Changing q (or the type, or the cutoff) recomputes.
    f.q = 2.5f;
    f.process(0.1f, 0.003f, 1, 0, rng);
    EXPECT_NE(f.b0, 123.0f);
    EXPECT_NE(f.b0, b0);
    EXPECT_EQ(f.cachedQ, 2.5f);
}

TEST(Filter, CutoffEnvelopeAndLfoScaleTheCutoff) {
    Generator rng;
    Envelope env("env");  // level 1 while held, 0 after a zero release
    env.sustain = 1;
    Filter f("lp", 1, FilterLowpass, 100, 22050);
    f.cutoffEnvelope = &env;
    f.envDepth = 8;
    f.process(0, 0.5f, 1, 0, rng);
    EXPECT_FLOAT_EQ(f.cachedCutoff, 900.0f);
    f.process(0, 1.5f, 1, 0, rng);  // level 0: the base cutoff
    EXPECT_FLOAT_EQ(f.cachedCutoff, 100.0f);

    Lfo square("sq");
    square.waveform = waveSquare;
    square.rate = 1;
    f.cutoffLfo = &square;
    f.lfoDepth = -0.5f;
    f.process(0, 0.25f, 1, 0, rng);  // LFO -1: x1.5, envelope x9
    EXPECT_FLOAT_EQ(f.cachedCutoff, 1350.0f);
    f.process(0, 0.25f, 1, 0.5f, rng);  // song time 0.75: LFO +1: x0.5
    EXPECT_FLOAT_EQ(f.cachedCutoff, 450.0f);
}

TEST(Filter, NoiseLfoDrawsEvenWhenItsDepthIsZero) {
    Generator rng;
    Lfo noise("noise");
    noise.waveform = waveNoise;
    Filter f("lp", 1, FilterLowpass, 100, 22050);
    f.cutoffLfo = &noise;
    rng.srand(3);
    Generator expected = rng;
    expected.rand();
    f.process(0.5f, 0.01f, 1, 0, rng);
    EXPECT_EQ(rng.state, expected.state);
    EXPECT_EQ(f.cachedCutoff, 100.0f);
}

// Impulse responses from the per-type difference equations, using the
// coefficients the filter computed.
std::vector<float> impulse(Filter& f, int n) {
    Generator rng;
    std::vector<float> out;
    for (int i = 0; i < n; ++i) out.push_back(f.process(i == 0 ? 1.0f : 0.0f, 0.001f, 1, 0, rng));
    return out;
}

TEST(Filter, BandpassUsesOnlyTheOuterFeedForwardTaps) {
    Filter f("bp", 3, FilterBandpass, 1000, 22050);
    f.b1 = 77.0f;  // not used by the band-pass equation
    const auto y = impulse(f, 3);
    EXPECT_EQ(f.b1, 77.0f);  // and not computed either
    EXPECT_FLOAT_EQ(y[0], f.b0);
    EXPECT_FLOAT_EQ(y[1], float(-double(f.a1) * y[0]));
    EXPECT_FLOAT_EQ(y[2], float(-double(f.b0) - double(f.a1) * y[1] - double(f.a2) * y[0]));
    // Unit gain at the centre frequency: the peak of the response is 0 dB.
    const double w = 1000 * 2 * M_PI / 22050;
    const std::complex<double> z = std::polar(1.0, -w);
    const auto h = double(f.b0) * (1.0 - z * z) / (1.0 + double(f.a1) * z + double(f.a2) * z * z);
    EXPECT_NEAR(std::abs(h), 1.0, 1e-4);
}

TEST(Filter, PeakUsesA1AsItsMiddleTap) {
    Filter f("pk", 2, FilterPeak, 2000, 22050);
    const auto y = impulse(f, 2);
    EXPECT_FLOAT_EQ(y[0], f.b0);
    EXPECT_FLOAT_EQ(y[1], float(double(f.a1) - double(f.a1) * y[0]));
    // A dip at the centre frequency: gain factor 0.5 means 0.5^2 there.
    const double w = 2000 * 2 * M_PI / 22050;
    const std::complex<double> z = std::polar(1.0, -w);
    const auto h = (double(f.b0) + double(f.a1) * z + double(f.b2) * z * z) /
                   (1.0 + double(f.a1) * z + double(f.a2) * z * z);
    EXPECT_NEAR(std::abs(h), 0.25, 1e-3);
}

TEST(Filter, ResponsesOfTheOtherTypes) {
    Generator rng;
    // Magnitude of each type's response at DC and at the Nyquist frequency,
    // from its coefficients: the equations must form the intended filter.
    struct Case {
        int type;
        double dc, nyquist;
    };
    const Case cases[] = {
        {FilterLowpass, 1, 0},    {FilterHighpass, 0, 1},  {FilterNotch, 1, 1},
        {FilterLowShelf, 0.25, 1}, {FilterHighShelf, 1, 0.25},  // gain factor 0.5 = shelf 0.5^2
    };
    for (const Case& c : cases) {
        Filter f("f", 0.7f, c.type, 3000, 22050);
        f.process(0, 0.001f, 1, 0, rng);
        const bool shelf = c.type == FilterLowShelf || c.type == FilterHighShelf;
        const double b1 = c.type == FilterLowpass || c.type == FilterHighpass || c.type == FilterNotch || shelf
                              ? f.b1 : 0;
        const double b2 = shelf ? f.b2 : f.b0;
        const double dc = (f.b0 + b1 + b2) / (1 + f.a1 + f.a2);
        const double ny = (f.b0 - b1 + b2) / (1 - f.a1 + f.a2);
        EXPECT_NEAR(std::abs(dc), c.dc, 1e-5) << "type " << c.type;
        EXPECT_NEAR(std::abs(ny), c.nyquist, 1e-5) << "type " << c.type;
    }
}

TEST(Filter, UnknownTypesPassTheInputThrough) {
    Generator rng;
    Filter f("odd", 1, 9, 1000, 22050);
    EXPECT_EQ(f.process(0.3f, 0.001f, 1, 0, rng), 0.3f);
    EXPECT_EQ(f.x1, 0.3f);
}

}  // namespace
}  // namespace vortel
