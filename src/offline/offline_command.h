#pragma once
#include <cstdint>

#include "offline/output_plan.h"

namespace vortel {

// --inspect, --wav, --stems, --still, --contact-sheet and --record:
// everything that needs neither a window nor a sound device. Runs a plan
// from planOutputs (a refused plan only reports its error), writing the
// outputs in the order inspect, summary, WAV files, still, contact sheet,
// recording, and stops at the first that fails.
OfflineStatus runOffline(const OutputPlan& plan, int32_t seed);

}  // namespace vortel
