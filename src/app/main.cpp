#include <cstdio>
#include <string>

#include "app/shell.h"
#include "io/fd_writer.h"
#include "io/std_streams.h"
#include "platform/allocator.h"
#include "platform/signals.h"

int main(int argc, char** argv) {
    // First of all, so that Ctrl-C even during start-up ends the run cleanly.
    vortel::installQuitSignals();
    // Every wait on a file, a pipe or ffmpeg gives up once a signal came.
    vortel::setStopCheck(&vortel::quitSignalled);
    vortel::ignoreFileSizeSignal();
    vortel::ignoreBrokenPipeSignal();
    vortel::guardStandardStreams();
    vortel::keepFreedMemoryForReuse();
    int code = vortel::runShell(argc, argv);
    // A failed run has said why already; a successful one must not hide that
    // what it printed was lost (a full disk, a closed stdout).
    std::string why;
    if (!vortel::finishStdout(&why) && code == 0) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        code = 1;
    }
    return code;
}
