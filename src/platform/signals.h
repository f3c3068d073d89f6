#pragma once

namespace vortel {

// SIGINT, SIGTERM and SIGHUP only raise a flag; the frame loop or the offline
// renderers look at it and end cleanly at the next frame or block.
void installQuitSignals();
bool quitSignalled();

// Makes writing past the file-size limit (ulimit -f) fail with EFBIG, which
// the writer reports, instead of killing the process mid-file.
void ignoreFileSizeSignal();

// Makes writing to a pipe whose reader has gone fail with EPIPE, which the
// writers report in one line, instead of killing the process silently.
void ignoreBrokenPipeSignal();

}  // namespace vortel
