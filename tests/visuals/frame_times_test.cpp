#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "visuals/frame/frame_times.h"

namespace vortel {
namespace {

TEST(FrameTimes, NearestRankPercentilesInAnyOrder) {
    // 1..200 ms shuffled: the median is the 100th, the 99th percentile the
    // 198th value.
    std::vector<double> ms;
    for (int i = 1; i <= 200; ++i) ms.push_back(i);
    std::shuffle(ms.begin(), ms.end(), std::mt19937(4));
    FrameTimeSummary s = summarizeFrameTimes(ms);
    EXPECT_EQ(s.count, 200);
    EXPECT_DOUBLE_EQ(s.medianMs, 100);
    EXPECT_DOUBLE_EQ(s.p99Ms, 198);
    EXPECT_DOUBLE_EQ(s.worstMs, 200);
    // One long frame among a hundred even ones moves only the worst.
    std::vector<double> even(99, 16.7);
    even.push_back(80);
    s = summarizeFrameTimes(even);
    EXPECT_DOUBLE_EQ(s.medianMs, 16.7);
    EXPECT_DOUBLE_EQ(s.p99Ms, 16.7);
    EXPECT_DOUBLE_EQ(s.worstMs, 80);
    EXPECT_EQ(describeFrameTimes(s), "median 16.7 ms, 99th percentile 16.7 ms, worst 80.0 ms");
    // A single frame is every percentile; none gives zeros.
    s = summarizeFrameTimes({5});
    EXPECT_DOUBLE_EQ(s.p99Ms, 5);
    s = summarizeFrameTimes({});
    EXPECT_EQ(s.count, 0);
    EXPECT_DOUBLE_EQ(s.worstMs, 0);
}

}  // namespace
}  // namespace vortel
