#include "app/live_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

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

bool takeLiveOption(const std::string& name, const std::optional<std::string>& value,
                    const std::vector<std::string>& args, size_t& i, Options& o, std::string* error) {
    if (name == "--shuffle") {
        if (value) *error = "option --shuffle takes no value";
        o.shuffle = true;
        return true;
    }
    if (name != "--start" && name != "--playlist") return false;
    std::string text;
    if (value) text = *value;
    else if (i + 1 < args.size()) text = args[++i];
    else {
        *error = "option " + name + " needs a value";
        return true;
    }
    if (name == "--start") {
        if (o.startSeconds) {
            *error = "option --start given twice";
            return true;
        }
        // A song time in seconds, as --at and --still read it.
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(text.c_str(), &end);
        if (text.empty() || errno != 0 || end != text.c_str() + text.size() || !std::isfinite(v) || v < 0 || v > 1e6) {
            *error = "option --start: '" + text + "' is not a time in seconds";
            return true;
        }
        o.startSeconds = static_cast<float>(v);
        return true;
    }
    if (!o.playlist.empty()) {
        *error = "option --playlist given twice";
        return true;
    }
    if (auto seeds = parseSeedList(text, error)) o.playlist = *seeds;
    return true;
}

std::string checkLiveOptions(const Options& o) {
    const char* live = o.startSeconds ? "--start" : !o.playlist.empty() ? "--playlist" : o.shuffle ? "--shuffle" : nullptr;
    if (live && offlineOnly(o)) return std::string("option ") + live + " goes with the live show, not with files or --inspect";
    if (!o.playlist.empty() && o.seedText) return "give either a SEED or --playlist, not both";
    if (!o.playlist.empty() && o.shuffle) return "give either --playlist or --shuffle, not both";
    return "";
}

}  // namespace vortel
