#include <gtest/gtest.h>

#include <cstdint>

#include "platform/clock.h"

namespace vortel {
namespace {

// The budget's clock is the system's milliseconds read at the kernel's tick:
// the same count (not another unit or starting point), never ahead of the
// fine clock, never going back. Its lag is the kernel's business (a tick or
// a few on a busy machine), so only a gross one fails here.
TEST(Clock, BudgetTicksAreTheSystemMillisecondsAtTheKernelsTick) {
    uint32_t last = budgetTicks();
    for (int i = 0; i < 5000; ++i) {
        const uint32_t before = systemTicks();
        const uint32_t coarse = budgetTicks();
        const uint32_t after = systemTicks();
        // Differences as signed 32-bit values, so a wrap between readings
        // does not matter.
        ASSERT_LE(static_cast<int32_t>(coarse - after), 0) << i;
        ASSERT_LT(static_cast<int32_t>(before - coarse), 1000) << i;
        ASSERT_GE(static_cast<int32_t>(coarse - last), 0) << i;
        last = coarse;
    }
}

}  // namespace
}  // namespace vortel
