#pragma once
#include <cstdint>

namespace vortel {

// Milliseconds since the machine started, truncated to 32 bits (so it wraps
// about every 49.7 days). The seed of a show started without one.
uint32_t systemTicks();

}  // namespace vortel
