#pragma once
// How evenly frames came: the times between the starts of successive
// frames, summed up as their median, 99th percentile and worst. The live
// show prints them with --verbose; the benchmarks report them.
#include <string>
#include <vector>

namespace vortel {

struct FrameTimeSummary {
    int count = 0;
    double medianMs = 0;
    double p99Ms = 0;  // nearest rank: at least 99 % of the times are at most this
    double worstMs = 0;
};

// Nearest-rank percentiles of `ms` (any order); all zero when empty.
FrameTimeSummary summarizeFrameTimes(std::vector<double> ms);

// "median 9.2 ms, 99th percentile 15.0 ms, worst 31.7 ms"
std::string describeFrameTimes(const FrameTimeSummary& s);

}  // namespace vortel
