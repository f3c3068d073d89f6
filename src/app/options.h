#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/renderer.h"
#include "offline/output_plan.h"

namespace vortel {

// The process exit codes besides 0: a run that failed, and a command line
// (or a combination of outputs) that cannot be carried out.
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// The parsed command line: `vortel [SEED] [options]`.
struct Options {
    std::optional<std::string> seedText;  // first positional argument
    bool help = false;
    bool version = false;
    bool noVsync = false;
    bool verbose = false;
    bool mute = false;        // the live show opens no sound device
    bool fullscreen = false;  // the live show covers the whole screen
    Renderer renderer = Renderer::Arb;  // --renderer, for the live show (offline.renderer: the outputs)

    // The outputs written without a window: --inspect, --at, --still,
    // --contact-sheet, --record, --fps, --length, --summary, --wav, --stems,
    // --force (and --verbose). Its seed fields are left to offlineRequest().
    OfflineRequest offline;

    std::string galleryDir;  // --gallery-page: build the gallery's pages in this folder

    // The live show's steering (live_options.h).
    std::optional<float> startSeconds;  // --start: the first show begins at this song time
    std::vector<int32_t> playlist;      // --playlist: these seeds, one show after another
    bool shuffle = false;               // --shuffle: random seeds, one show after another, without end

    // Drawing into a window another program owns, as a screensaver does
    // (live_options.h): --window-id, --root, and --sound for sound there.
    std::optional<uint64_t> windowId;
    bool root = false;
    bool sound = false;
};

// Where --help lists an option: with the live show, with the outputs that
// need no window, or on its own (the gallery's pages).
enum class OptionGroup { Show, Offline, Gallery };

// One option of the command line. The parser, the checks between options
// and --help all read the table of these (optionTable()), so an option is
// added by adding its record.
struct OptionSpec {
    const char* shortName = nullptr;  // "-h", or none
    const char* name = nullptr;       // "--help"
    // The placeholders of the values that follow the name, one word each
    // ("SECONDS FILE.png" takes two); none for an option without a value.
    // A single value may also be given as --name=VALUE.
    const char* values = nullptr;
    OptionGroup group = OptionGroup::Show;
    // Its lines in --help, separated by '\n'.
    const char* help = "";
    // The option it only goes with ("--record"); --help says "with --record:".
    const char* goesWith = nullptr;
    // What a missing value is called in "option --x needs ..." (default "a value").
    const char* needs = nullptr;
    // Whether `store` refuses an empty value in its own words; otherwise the
    // parser refuses it as "needs a non-empty value".
    bool readsEmpty = false;
    // Stores the option (with its values, as many as `values` names) into
    // the options: "" when done, otherwise the one-line reason it is refused.
    std::string (*store)(Options& options, std::span<const std::string> values) = nullptr;
};

// Every option, grouped and in the order --help lists them.
std::span<const OptionSpec> optionTable();

struct ParseResult {
    Options options;
    std::string error;  // empty when the command line was understood
};

// Options with a value are taken once; options without one may repeat.
// "-5" is a seed, "-x" and a lone "-" are options.
ParseResult parseOptions(const std::vector<std::string>& args);

// Whether the options ask for work without a window (files or JSON only).
bool offlineOnly(const Options& options);

// The offline outputs the options ask for, with the seed as given.
OfflineRequest offlineRequest(const Options& options);

std::string usageText();

}  // namespace vortel
