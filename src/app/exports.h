#pragma once
#include <cstdint>

#include "app/options.h"

namespace vortel {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// --inspect, --wav, --stems, --still, --contact-sheet and --record:
// everything that needs neither a window nor a sound device. Every target
// is checked before anything is rendered. Returns the exit code.
int runOffline(const Options& options, int32_t seed);

}  // namespace vortel
