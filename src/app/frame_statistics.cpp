#include "app/frame_statistics.h"

namespace vortel {

bool FrameStatistics::frameStarted(float songTime) {
    const auto now = std::chrono::steady_clock::now();
    const bool first = !lastStart_ && !firstShown_;
    if (lastStart_) {
        const double ms = std::chrono::duration<double, std::milli>(now - *lastStart_).count();
        times_.all.push_back(ms);
        times_.show.push_back(ms);
        if (songTime <= 1.0f && ms > times_.showFirstSecondWorstMs) times_.showFirstSecondWorstMs = ms;
        if (songTime > 1.0f) {
            if (times_.settled.empty() || ms > times_.settledWorstMs) {
                times_.settledWorstMs = ms;
                times_.settledWorstAt = songTime;
            }
            times_.settled.push_back(ms);
        }
    }
    firstShown_ = true;
    lastStart_ = now;
    return first;
}

void FrameStatistics::beginShow() {
    times_.show.clear();
    times_.showFirstSecondWorstMs = 0;
    times_.showBegan = std::chrono::steady_clock::now();
}

}  // namespace vortel
