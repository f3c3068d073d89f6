#pragma once
#include "app/options.h"

namespace vortel {

// The show in a window with its sound: writes the run file, opens the
// window and the sound device, and runs frames until the song is over,
// Escape or a quit. Returns the exit code.
int runLiveShow(const Options& options);

}  // namespace vortel
