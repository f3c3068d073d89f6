#include <gtest/gtest.h>

#include <cstdint>

#include "core/elapsed_time.h"

namespace vortel {
namespace {

TEST(Clock, WrapOfTheTickCounterKeepsTimeContinuous) {
    EXPECT_EQ(elapsedSeconds(1000, 1000), 0.0f);
    EXPECT_FLOAT_EQ(elapsedSeconds(1000, 2500), 1.5f);
    EXPECT_FLOAT_EQ(elapsedSeconds(0xFFFFFF00u, 0x00000064u), 0.356f);  // 256 + 100 ms
    // Past 2^31 ms the signed difference turns negative and is lifted by 2^32.
    EXPECT_GT(elapsedSeconds(0, 0x80000001u), 2147483.0f);
    // Milliseconds and seconds agree: seconds are the milliseconds scaled by
    // the float nearest 0.001, for readings on both sides of the wrap.
    for (uint32_t from : {0u, 1000u, 0xFFFFFF00u, 0x7FFFFFFFu})
        for (uint32_t step : {0u, 1u, 356u, 60000u, 0x80000001u}) {
            const double ms = elapsedMilliseconds(from, from + step);
            EXPECT_EQ(ms, static_cast<double>(step)) << from << " + " << step;
            EXPECT_EQ(elapsedSeconds(from, from + step), static_cast<float>(ms * static_cast<double>(0.001f)));
        }
}

}  // namespace
}  // namespace vortel
