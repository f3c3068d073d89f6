#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "audio/coefficients.h"
#include "audio/filter.h"

namespace vortel {
namespace {

// The mixer computes due coefficients in batches; every filter must end up
// exactly as if it had computed its own, also when the batch overflows.
TEST(CoefficientBatch, MatchesOneByOneComputation) {
    std::mt19937 gen(42);
    std::uniform_real_distribution<float> cutoff(1.0f, 11000.0f), q(0.1f, 30.0f);
    std::uniform_int_distribution<int> type(0, 7), count(1, 40);
    int compared = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<Filter> batched, single;
        std::vector<float> fcs;
        const int n = count(gen);
        for (int i = 0; i < n; ++i) {
            Filter f("f", q(gen), type(gen), cutoff(gen), i % 5 ? 22050 : 44100);
            // Coefficients a type does not set must keep their own values.
            f.b1 = float(i), f.b2 = float(-i), f.norm = float(round);
            // Mostly audible cutoffs; now and then one far above the rate.
            float fc = i % 13 == 12 ? cutoff(gen) * 500 : cutoff(gen);
            if (i > 0 && i % 3 == 0) {
                // A chord: the same parameters as an earlier filter.
                const Filter& earlier = batched[i / 2];
                f.q = earlier.q, f.type = earlier.type, f.sampleRate = earlier.sampleRate;
                fc = fcs[i / 2];
            }
            batched.push_back(f);
            single.push_back(f);
            fcs.push_back(fc);
        }
        kernels::CoefficientBatch batch;
        for (int i = 0; i < n; ++i) batch.add(batched[i], fcs[i]);
        batch.flush();
        for (int i = 0; i < n; ++i) {
            single[i].computeCoefficients(fcs[i]);
            const Filter& a = batched[i];
            const Filter& b = single[i];
            ASSERT_EQ(a.b0, b.b0) << round << " " << i << " type " << a.type;
            ASSERT_EQ(a.b1, b.b1);
            ASSERT_EQ(a.b2, b.b2);
            ASSERT_EQ(a.a1, b.a1);
            ASSERT_EQ(a.a2, b.a2);
            ASSERT_EQ(a.norm, b.norm);
            ASSERT_EQ(a.cachedCutoff, fcs[i]);
            ASSERT_EQ(a.cachedQ, a.q);
            ASSERT_EQ(a.cachedType, a.type);
            ASSERT_EQ(a.cachedGain, 1.0f);
            ++compared;
        }
    }
    EXPECT_GT(compared, 3000);
}

}  // namespace
}  // namespace vortel

namespace vortel {
namespace {

// cos w, sin w and alpha are stored as floats before the coefficients are
// formed from them. (GCC 12 at -O2 can pair two such roundings in
// straight-line code and drop them; the engine pins them.)
TEST(CoefficientBatch, AngleTermsAreRoundedToFloat) {
    for (float fc : {100.0f, 1717.049f, 4120.567f, 8052.201f, 10457.906f}) {
        const kernels::AngleTerms t = kernels::angleTerms(fc, 0.7f, 22050);
        EXPECT_EQ(t.c, double(float(t.c))) << fc;
        EXPECT_EQ(t.s, double(float(t.s))) << fc;
        EXPECT_EQ(t.alpha, double(float(t.alpha))) << fc;
        const double w = double(float(double(fc) * (double(6.2831855f) / 22050)));
        EXPECT_EQ(float(t.c), float(std::cos(w))) << fc;
        EXPECT_EQ(float(t.s), float(std::sin(w))) << fc;
    }
}

}  // namespace
}  // namespace vortel
