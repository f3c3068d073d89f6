#include "app/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "app/live_options.h"
#include "app/startup.h"

namespace vortel {

namespace {

using Values = std::span<const std::string>;
using Why = std::string;  // what is wrong with an option ("": nothing)

// "-5" is a seed; "-h", "-x" and a lone "-" are options.
bool looksLikeOption(const std::string& a) {
    if (a.empty() || a[0] != '-') return false;
    return a.size() < 2 || a[1] < '0' || a[1] > '9';
}

// A song time in seconds: a finite, non-negative decimal number.
std::optional<float> parseSeconds(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(v) || v < 0 || v > 1e6) return std::nullopt;
    return static_cast<float>(v);
}

// Reads --option's song time into `to`.
Why readSeconds(std::optional<float>& to, const char* option, const std::string& text) {
    to = parseSeconds(text);
    return to ? Why() : Why("option ") + option + ": '" + text + "' is not a time in seconds";
}

using enum OptionGroup;

const OptionSpec kOptions[] = {
    // With the live show.
    {.shortName = "-h", .name = "--help", .help = "show this text and exit",
     .store = [](Options& o, Values) { o.help = true; return Why(); }},
    {.name = "--version", .help = "show the version and exit",
     .store = [](Options& o, Values) { o.version = true; return Why(); }},
    {.name = "--verbose", .help = "report start-up facts and problems (GL errors too) on stderr",
     .store = [](Options& o, Values) { o.verbose = o.offline.verbose = true; return Why(); }},
    {.name = "--renderer", .values = "arb|glsl",
     .help = "the programs that draw the pictures, live and in the outputs:\n"
             "arb (ARB assembly programs, the default) or glsl (GLSL on an\n"
             "OpenGL 3.3 core context)",
     .store = [](Options& o, Values v) {
         const std::optional<Renderer> r = rendererNamed(v[0]);
         if (!r) return "option --renderer: '" + v[0] + "' is not a renderer (arb or glsl)";
         o.renderer = o.offline.renderer = *r;
         return Why();
     }},
    {.name = "--no-vsync", .help = "do not wait for the display between frames",
     .store = [](Options& o, Values) { o.noVsync = true; return Why(); }},
    {.name = "--fullscreen", .help = "cover the whole screen (F11 switches while the show runs)",
     .store = [](Options& o, Values) { o.fullscreen = true; return Why(); }},
    {.name = "--mute", .help = "no sound: the show runs silently, without a sound device",
     .store = [](Options& o, Values) { o.mute = true; return Why(); }},
    {.name = "--start", .values = "SECONDS", .help = "begin the (first) show at that song time", .readsEmpty = true,
     .store = [](Options& o, Values v) { return readSeconds(o.startSeconds, "--start", v[0]); }},
    {.name = "--playlist", .values = "SEED[,SEED...]", .help = "play these seeds one after another, then end",
     .readsEmpty = true,
     .store = [](Options& o, Values v) {
         Why why;
         if (auto seeds = parseSeedList(v[0], &why)) o.playlist = *seeds;
         return why;
     }},
    {.name = "--shuffle",
     .help = "play random seeds one after another without end (after\n"
             "SEED, when one is given)",
     .store = [](Options& o, Values) { o.shuffle = true; return Why(); }},
    {.name = "--window-id", .values = "ID",
     .help = "draw into this X11 window of another program (hex 0x... or\n"
             "decimal), as a screensaver hack does: random seeds without\n"
             "end, no keys, no sound unless --sound; ends on SIGTERM or\n"
             "when the window is destroyed",
     .store = [](Options& o, Values v) {
         Why why;
         o.windowId = parseWindowId(v[0], "option --window-id", &why);
         return why;
     }},
    {.name = "--root",
     .help = "the same in the root window, or in $XSCREENSAVER_WINDOW when\n"
             "XScreenSaver set it",
     .store = [](Options& o, Values) { o.root = true; return Why(); }},
    {.name = "--sound", .help = "with --window-id or --root: play the sound as well",
     .store = [](Options& o, Values) { o.sound = true; return Why(); }},

    // Without a window or a sound device.
    {.name = "--inspect", .group = Offline, .help = "print the seed's show as JSON on stdout",
     .store = [](Options& o, Values) { o.offline.inspect = true; return Why(); }},
    {.name = "--at", .values = "SECONDS", .group = Offline, .help = "also what the frame at that song time draws",
     .goesWith = "--inspect",
     .store = [](Options& o, Values v) { return readSeconds(o.offline.inspectAt, "--at", v[0]); }},
    {.name = "--still", .values = "SECONDS FILE.png", .group = Offline,
     .help = "the frame the window shows at that song time, 800 x 600\n"
             "(0.5 s of frames run up to it); from 0 to the show's end,\n"
             "one second after the song (--inspect's songLength + 1)",
     .needs = "a time in seconds and a PNG file", .readsEmpty = true,
     .store = [](Options& o, Values v) {
         if (Why why = readSeconds(o.offline.stillTime, "--still", v[0]); !why.empty()) return why;
         o.offline.stillPath = v[1];
         return v[1].empty() ? Why("option --still needs a non-empty file name") : Why();
     }},
    {.name = "--contact-sheet", .values = "FILE.png", .group = Offline,
     .help = "the middle frame of each of the 16 spans in a 4 x 4 grid",
     .store = [](Options& o, Values v) { o.offline.sheetPath = v[0]; return Why(); }},
    {.name = "--record", .values = "FILE", .group = Offline,
     .help = "the whole show as a video with its soundtrack: .mp4 (H.264,\n"
             "AAC) or .mkv (lossless FFV1, FLAC); needs ffmpeg",
     .store = [](Options& o, Values v) { o.offline.recordPath = v[0]; return Why(); }},
    {.name = "--fps", .values = "N", .group = Offline, .help = "frames per second (default 60)", .goesWith = "--record",
     .store = [](Options& o, Values v) {
         char* end = nullptr;
         const long fps = std::strtol(v[0].c_str(), &end, 10);
         if (end != v[0].c_str() + v[0].size() || fps < 1 || fps > 240)
             return "option --fps: '" + v[0] + "' is not a frame rate from 1 to 240";
         o.offline.fps = static_cast<int>(fps);
         return Why();
     }},
    {.name = "--length", .values = "SECONDS", .group = Offline,
     .help = "only the first SECONDS of the show, above 0\n"
             "and up to its end (the song and 1 s)",
     .goesWith = "--record",
     .store = [](Options& o, Values v) {
         if (Why why = readSeconds(o.offline.lengthSeconds, "--length", v[0]); !why.empty()) return why;
         return *o.offline.lengthSeconds > 0 ? Why() : Why("option --length: a recording needs a length above 0 s");
     }},
    {.name = "--summary", .values = "FILE.json", .group = Offline,
     .help = "tempo, length and the scenes and post passes of each span",
     .store = [](Options& o, Values v) { o.offline.summaryPath = v[0]; return Why(); }},
    {.name = "--wav", .values = "FILE", .group = Offline, .help = "the song as a 22050 Hz mono WAV file; - is stdout",
     .store = [](Options& o, Values v) { o.offline.wavPath = v[0]; return Why(); }},
    {.name = "--stems", .values = "DIR", .group = Offline, .help = "drums, hihat, pad and bass as separate WAV files",
     .store = [](Options& o, Values v) { o.offline.stemsDir = v[0]; return Why(); }},
    {.name = "--force", .group = Offline, .help = "let the outputs above overwrite existing files",
     .store = [](Options& o, Values) { o.offline.force = true; return Why(); }},

    // The gallery's pages.
    {.name = "--gallery-page", .values = "DIR", .group = Gallery,
     .help = "DIR/index.html and a page per seed from DIR/seeds/*/summary.json\n"
             "(see scripts/gallery.sh); the pages are derived files and are\n"
             "replaced on every run",
     .store = [](Options& o, Values v) { o.galleryDir = v[0]; return Why(); }},
};

constexpr size_t kOptionCount = std::size(kOptions);

// The option's place in the table, kOptionCount when there is none of that name.
size_t optionIndex(const std::string& name) {
    for (size_t k = 0; k < kOptionCount; ++k)
        if (name == kOptions[k].name || (kOptions[k].shortName && name == kOptions[k].shortName)) return k;
    return kOptionCount;
}

// How many values follow the option: the words of its placeholder.
size_t valueCount(const OptionSpec& spec) {
    if (!spec.values) return 0;
    size_t n = 1;
    for (const char* c = spec.values; *c; ++c) n += *c == ' ';
    return n;
}

}  // namespace

std::span<const OptionSpec> optionTable() { return kOptions; }

ParseResult parseOptions(const std::vector<std::string>& args) {
    ParseResult r;
    Options& o = r.options;
    bool given[kOptionCount] = {};
    auto fail = [&r](std::string why) {
        r.error = std::move(why);
        return r;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!looksLikeOption(a)) {
            if (o.seedText) return fail("unexpected argument '" + a + "' (only one seed may be given)");
            o.seedText = a;
            continue;
        }
        std::string name = a;
        std::optional<std::string> value;
        if (auto eq = a.find('='); eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
        }
        const size_t k = optionIndex(name);
        if (k == kOptionCount) return fail(value ? "option " + name + " takes no value" : "unknown option '" + a + "'");
        const OptionSpec& spec = kOptions[k];
        const size_t count = valueCount(spec);
        std::vector<std::string> values;
        if (count == 0) {
            if (value) return fail("option " + name + " takes no value");
        } else if (count == 1 && value) {
            values.push_back(*value);
        } else {
            // --name VALUE...; several values cannot follow an '='.
            if (value || i + count >= args.size())
                return fail("option " + name + " needs " + (spec.needs ? spec.needs : "a value"));
            values.assign(args.begin() + static_cast<std::ptrdiff_t>(i + 1),
                          args.begin() + static_cast<std::ptrdiff_t>(i + 1 + count));
            i += count;
        }
        for (const std::string& v : values)
            if (!spec.readsEmpty && v.empty()) return fail("option " + name + " needs a non-empty value");
        if (count > 0 && given[k]) return fail("option " + name + " given twice");
        given[k] = true;
        if (std::string why = spec.store(o, values); !why.empty()) return fail(why);
    }
    auto isGiven = [&given](const char* name) {
        const size_t k = optionIndex(name);
        return k < kOptionCount && given[k];
    };
    for (size_t k = 0; k < kOptionCount; ++k)
        if (given[k] && kOptions[k].goesWith && !isGiven(kOptions[k].goesWith))
            return fail(std::string("option ") + kOptions[k].name + " goes with " + kOptions[k].goesWith);
    // The gallery's pages are built on their own: only --verbose (and --help
    // or --version, which end before) may come with them.
    if (isGiven("--gallery-page")) {
        bool alone = !o.seedText;
        for (size_t k = 0; k < kOptionCount; ++k) {
            const std::string_view n = kOptions[k].name;
            if (given[k] && n != "--gallery-page" && n != "--verbose" && n != "--help" && n != "--version") alone = false;
        }
        if (!alone) return fail("option --gallery-page takes no seed and no other option but --verbose");
    }
    if (std::string live = checkLiveOptions(o); !live.empty()) return fail(live);
    return r;
}

bool offlineOnly(const Options& o) {
    const OfflineRequest& q = o.offline;
    return q.inspect || !q.wavPath.empty() || !q.stemsDir.empty() || !q.stillPath.empty() || !q.recordPath.empty() ||
           !q.sheetPath.empty() || !q.summaryPath.empty();
}

std::string usageText() {
    // The option column: labels longer than this put their help on the next line.
    constexpr size_t kLabelWidth = 16;
    const std::string indent(2 + kLabelWidth + 1, ' ');
    const char* const headings[] = {
        "Options:\n",
        "\nWithout a window or a sound device (each writes its output and exits):\n",
        "\n",
    };
    std::string text =
        "Usage: vortel [SEED] [options]\n"
        "\n"
        "Plays a generated audio-visual show. The same SEED always gives the same\n"
        "song and pictures; without one the clock chooses. The seed is read like a\n"
        "decimal integer: leading blanks, an optional sign, digits up to the first\n"
        "other character.\n"
        "\n";
    for (OptionGroup group : {Show, Offline, Gallery}) {
        text += headings[static_cast<int>(group)];
        for (const OptionSpec& spec : kOptions) {
            if (spec.group != group) continue;
            std::string label = spec.shortName ? std::string(spec.shortName) + ", " + spec.name : spec.name;
            if (spec.values) label += std::string(" ") + spec.values;
            text += "  " + label;
            if (label.size() > kLabelWidth) text += "\n" + indent;
            else text += std::string(kLabelWidth + 1 - label.size(), ' ');
            if (spec.goesWith) text += std::string("with ") + spec.goesWith + ": ";
            for (const char* c = spec.help; *c; ++c) {
                if (*c == '\n') text += "\n" + indent;
                else text += *c;
            }
            text += '\n';
        }
    }
    return text +
           "\n"
           "While the show runs:\n"
           "  Space            pause / go on (picture and sound together)\n"
           "  Left, Right      5 s back / forward;  Home  back to the start\n"
           "  N, P             the next / previous seed;  R  a random seed\n"
           "  S                save the picture as vortel-SEED-SECONDS.png in the\n"
           "                   current folder (never over an existing file)\n"
           "  I                seed, time, section, span and running actions on screen\n"
           "  H, F1            this list of keys on screen\n"
           "  F11              window / whole screen\n"
           "  Escape           quit (closing the window too)\n"
           "With --verbose each key's effect is reported on stderr with the song time.\n";
}

OfflineRequest offlineRequest(const Options& o) {
    OfflineRequest r = o.offline;
    r.seedFromClock = !o.seedText || !parseSeed(*o.seedText);
    if (o.seedText) r.seedText = *o.seedText;
    return r;
}

}  // namespace vortel
