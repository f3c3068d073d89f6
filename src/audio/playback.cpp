#include "audio/playback.h"

#include <algorithm>
#include <cstring>

namespace vortel {

void fillFromImage(PlaybackCursor& c, int16_t* out, int count) {
    const int64_t ready = c.written ? c.written->load(std::memory_order_acquire) : 0;
    const int64_t start = c.position;
    const int64_t avail = std::max<int64_t>(0, std::min<int64_t>(ready, c.length) - start);
    const int64_t take = std::min<int64_t>(avail, count);
    if (take > 0) std::memcpy(out, c.samples + start, static_cast<size_t>(take) * sizeof(int16_t));
    std::fill(out + take, out + count, int16_t{0});
    // Silence inside the image means the writer was late.
    const int64_t missing = std::max<int64_t>(0, std::min<int64_t>(start + count, c.length) - std::max(start, ready));
    if (missing > 0 && start < c.length && !c.catchingUp.load(std::memory_order_relaxed)) {
        c.underrunSamples.fetch_add(missing, std::memory_order_relaxed);
        c.underruns.fetch_add(1, std::memory_order_relaxed);
    }
    c.position = start + count;
    c.played.store(c.position, std::memory_order_relaxed);
}

}  // namespace vortel
