#include "app/shell.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/live_show.h"
#include "app/options.h"
#include "app/startup.h"
#include "offline/gallery_command.h"
#include "offline/offline_command.h"
#include "platform/clock.h"

namespace vortel {

namespace {

// Everything after the command line is read; what it prints on stdout is
// checked by the caller.
int runCommand(const Options& opt) {
    if (opt.help) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (opt.version) {
        std::printf("vortel %s (commit %s)\n", VORTEL_VERSION, VORTEL_COMMIT);
        return 0;
    }
    if (!opt.galleryDir.empty()) {
        switch (buildGalleryPages(opt.galleryDir, opt.verbose)) {
        case OfflineStatus::Done: return 0;
        case OfflineStatus::UsageError: return kExitUsage;
        case OfflineStatus::Failed: return kExitFailure;
        }
        return kExitFailure;
    }

    int32_t seed = static_cast<int32_t>(systemTicks());
    if (opt.seedText) {
        if (auto s = parseSeed(*opt.seedText)) seed = *s;
        else if (opt.verbose && !offlineOnly(opt))  // the offline outputs say it themselves
            std::fprintf(stderr, "vortel: '%s' is not a seed, using the clock\n", opt.seedText->c_str());
    }
    if (offlineOnly(opt)) {
        switch (runOffline(planOutputs(offlineRequest(opt)), seed)) {
        case OfflineStatus::Done: return 0;
        case OfflineStatus::UsageError: return kExitUsage;
        case OfflineStatus::Failed: return kExitFailure;
        }
        return kExitFailure;
    }
    return runLiveShow(opt, seed);
}

}  // namespace

int runShell(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    ParseResult parsed = parseOptions(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "vortel: %s (try 'vortel --help')\n", parsed.error.c_str());
        return kExitUsage;
    }
    return runCommand(parsed.options);
}

}  // namespace vortel
