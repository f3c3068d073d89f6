#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
    bool fullscreen = false;  // the live show covers the whole screen
    bool inspect = false;     // print the show as JSON and exit
    bool force = false;       // allow the outputs to overwrite files
    std::string wavPath;      // render the song offline into this WAV file ("-": stdout)
    std::string stemsDir;     // render one WAV per part into this folder
    std::optional<float> inspectAt;  // with --inspect: also the frame at this song time (s)
    std::optional<float> stillTime;  // --still: render the frame at this song time (s) ...
    std::string stillPath;           // ... into this PNG file
    std::string recordPath;          // --record: the show as a video (.mp4 or .mkv)
    int fps = 60;                    // --fps: frames per second of the recording
    std::optional<float> lengthSeconds;  // --length: record only this much of the show
    std::string sheetPath;           // --contact-sheet: the 16 spans at a glance, PNG
    std::string summaryPath;         // --summary: the show in brief as JSON
    std::string galleryDir;          // --gallery-page: build the gallery's pages in this folder

    // The live show's steering (live_options.h).
    std::optional<float> startSeconds;  // --start: the first show begins at this song time
    std::vector<int32_t> playlist;      // --playlist: these seeds, one show after another
    bool shuffle = false;               // --shuffle: random seeds, one show after another, without end
};

struct ParseResult {
    Options options;
    std::string error;  // empty when the command line was understood
};

ParseResult parseOptions(const std::vector<std::string>& args);

// Whether the options ask for work without a window (files or JSON only).
bool offlineOnly(const Options& options);

// The offline outputs the options ask for.
OfflineRequest offlineRequest(const Options& options);

std::string usageText();

}  // namespace vortel
