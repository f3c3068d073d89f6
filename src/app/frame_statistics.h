#pragma once
// How evenly the live show's frames come: the milliseconds between the
// starts of successive frames of one show (a change of show is not a frame
// time), and the worst of them past the show's first second, which carries
// the start-up's sound on purpose.
#include <chrono>
#include <optional>
#include <vector>

namespace vortel {

struct FrameTimes {
    std::vector<double> all, settled;  // every frame time; those past the first second
    double settledWorstMs = 0;         // the longest of `settled`
    float settledWorstAt = 0;          // the song time at which that frame ended
    // The show playing now: its frame times, the worst in its first second.
    std::vector<double> show;
    double showFirstSecondWorstMs = 0;
    std::chrono::steady_clock::time_point showBegan{};
};

class FrameStatistics {
public:
    // A frame starts at song time `songTime`. Returns true for the first
    // frame the process shows.
    bool frameStarted(float songTime);
    // The next frame starts a new show: no time is counted up to it (the
    // show was built while nothing played).
    void newShow() {
        lastStart_.reset();
        beginShow();
    }
    // A new show plays from the next frame on, and the frames went on
    // meanwhile (it was made ready while the old one played): its own
    // figures start afresh, the run's go on.
    void beginShow();
    const FrameTimes& times() const { return times_; }

private:
    FrameTimes times_;
    std::optional<std::chrono::steady_clock::time_point> lastStart_;
    bool firstShown_ = false;
};

}  // namespace vortel
