#pragma once
#include <cstdint>

namespace vortel {

// Milliseconds since the machine started, truncated to 32 bits (so it wraps
// about every 49.7 days). The seed of a show started without one.
uint32_t systemTicks();

// The same milliseconds from the kernel's tick (a few milliseconds fine), at
// a seventh of the cost: the live sound's time budget reads the clock after
// every sample, millions of times in a show's first seconds, and needs no
// finer slice than a tick.
uint32_t budgetTicks();

}  // namespace vortel
