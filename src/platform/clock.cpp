#include "platform/clock.h"

#include <time.h>

namespace vortel {

uint32_t systemTicks() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

uint32_t budgetTicks() {
    timespec ts{};
    if (clock_gettime(CLOCK_MONOTONIC_COARSE, &ts) != 0) return systemTicks();
    uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

}  // namespace vortel
