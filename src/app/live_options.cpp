#include "app/live_options.h"

#include "app/options.h"
#include "app/startup.h"

namespace vortel {

std::optional<std::vector<int32_t>> parseSeedList(const std::string& text, std::string* why) {
    std::vector<int32_t> seeds;
    size_t from = 0;
    for (;;) {
        const size_t comma = text.find(',', from);
        const std::string item = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        // Each seed is read exactly as the seed on the command line is.
        const std::optional<int32_t> seed = parseSeed(item);
        if (!seed) {
            if (why)
                *why = "option --playlist: '" + item + "' is not a seed (a whole number from -2147483648 to 2147483647)";
            return std::nullopt;
        }
        seeds.push_back(*seed);
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    return seeds;
}

std::string checkLiveOptions(const Options& o) {
    const char* live = o.startSeconds ? "--start" : !o.playlist.empty() ? "--playlist" : o.shuffle ? "--shuffle" : nullptr;
    if (live && offlineOnly(o)) return std::string("option ") + live + " goes with the live show, not with files or --inspect";
    if (!o.playlist.empty() && o.seedText) return "give either a SEED or --playlist, not both";
    if (!o.playlist.empty() && o.shuffle) return "give either --playlist or --shuffle, not both";
    return "";
}

}  // namespace vortel
