#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vortel {

// The parsed command line: `vortel [SEED] [options]`.
struct Options {
    std::optional<std::string> seedText;  // first positional argument
    bool help = false;
    bool version = false;
    bool noVsync = false;
    bool verbose = false;
    bool inspect = false;   // print the show as JSON and exit
    bool force = false;     // allow --wav / --stems to overwrite files
    std::string wavPath;    // render the song offline into this WAV file ("-": stdout)
    std::string stemsDir;   // render one WAV per part into this folder
};

struct ParseResult {
    Options options;
    std::string error;  // empty when the command line was understood
};

ParseResult parseOptions(const std::vector<std::string>& args);

std::string usageText();

}  // namespace vortel
