#pragma once

namespace vortel {

// SIGINT and SIGTERM only raise a flag; the frame loop or the offline
// renderers look at it and end cleanly at the next frame or block.
void installQuitSignals();
bool quitSignalled();

}  // namespace vortel
