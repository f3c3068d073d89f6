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
}

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

void ignoreBrokenPipeSignal() { std::signal(SIGPIPE, SIG_IGN); }

bool quitSignalled() { return g_quit != 0; }

}  // namespace vortel
