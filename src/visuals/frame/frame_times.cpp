#include "visuals/frame/frame_times.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vortel {

FrameTimeSummary summarizeFrameTimes(std::vector<double> ms) {
    FrameTimeSummary s;
    if (ms.empty()) return s;
    std::sort(ms.begin(), ms.end());
    const size_t n = ms.size();
    auto rank = [&](double q) {
        const auto r = static_cast<size_t>(std::ceil(q * static_cast<double>(n)));
        return ms[std::clamp<size_t>(r, 1, n) - 1];
    };
    s.count = static_cast<int>(n);
    s.medianMs = rank(0.5);
    s.p99Ms = rank(0.99);
    s.worstMs = ms.back();
    return s;
}

std::string describeFrameTimes(const FrameTimeSummary& s) {
    char text[96];
    std::snprintf(text, sizeof text, "median %.1f ms, 99th percentile %.1f ms, worst %.1f ms", s.medianMs, s.p99Ms,
                  s.worstMs);
    return text;
}

}  // namespace vortel
