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

std::optional<uint64_t> parseWindowId(const std::string& text, const char* what, std::string* why) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const size_t from = hex ? 2 : 0;
    const int base = hex ? 16 : 10;
    uint64_t id = 0;
    bool ok = text.size() > from && text.size() - from <= (hex ? 16u : 19u);
    for (size_t i = from; ok && i < text.size(); ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) ok = false;
        else id = id * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    // X ids are 29 bits wide; anything past 32 is no window of any display.
    if (!ok || id == 0 || id > 0xffffffffu) {
        if (why) *why = std::string(what) + ": '" + text + "' is not a window id (0x... or a decimal number)";
        return std::nullopt;
    }
    return id;
}

std::string checkLiveOptions(const Options& o) {
    const char* live = o.startSeconds          ? "--start"
                       : !o.playlist.empty()   ? "--playlist"
                       : o.shuffle             ? "--shuffle"
                       : o.windowId            ? "--window-id"
                       : o.root                ? "--root"
                       : o.sound               ? "--sound"
                                               : nullptr;
    if (live && offlineOnly(o)) return std::string("option ") + live + " goes with the live show, not with files or --inspect";
    if (o.windowId && o.root) return "give either --window-id or --root, not both";
    if ((o.windowId || o.root) && o.fullscreen)
        return std::string("option --fullscreen does not go with ") + (o.root ? "--root" : "--window-id") +
               " (the window's owner sets its size)";
    if (o.sound && o.mute) return "give either --sound or --mute, not both";
    if (!o.playlist.empty() && o.seedText) return "give either a SEED or --playlist, not both";
    if (!o.playlist.empty() && o.shuffle) return "give either --playlist or --shuffle, not both";
    return "";
}

}  // namespace vortel
