#include "platform/signals.h"

#include <csignal>

namespace vortel {

namespace {
volatile std::sig_atomic_t g_quit = 0;

extern "C" void onQuitSignal(int) { g_quit = 1; }
}  // namespace

void installQuitSignals() {
    std::signal(SIGINT, onQuitSignal);
    std::signal(SIGTERM, onQuitSignal);
    // A closed terminal or a dropped ssh session ends the program like
    // Ctrl-C, unless it was started to outlive them (nohup).
    if (std::signal(SIGHUP, onQuitSignal) == SIG_IGN) std::signal(SIGHUP, SIG_IGN);
}

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

void ignoreBrokenPipeSignal() { std::signal(SIGPIPE, SIG_IGN); }

bool quitSignalled() { return g_quit != 0; }

}  // namespace vortel
