#include "visuals/frame/still_run_up.h"

#include <algorithm>
#include <cmath>

namespace vortel {

std::vector<RunUpFrame> stillRunUp(float time) {
    const double step = 1.0 / kStillFrameRate;
    const int runUp = static_cast<int>(std::min<double>(kStillRunUpSeconds * kStillFrameRate,
                                                        std::floor(static_cast<double>(time) * kStillFrameRate)));
    std::vector<RunUpFrame> frames;
    frames.reserve(static_cast<size_t>(runUp) + 1);
    float previous = 0;
    for (int k = runUp; k >= 0; --k) {
        const float t = k == 0 ? time : static_cast<float>(time - k * step);
        // The first frame of a run that starts at 0 is the show's first frame.
        const float delta = k == runUp ? (runUp == 0 || t == 0 ? t : static_cast<float>(step)) : t - previous;
        frames.push_back({t, delta});
        previous = t;
    }
    return frames;
}

}  // namespace vortel
