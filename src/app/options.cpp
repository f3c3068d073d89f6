#include "app/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>

#include "app/startup.h"
#include "app/live_options.h"

namespace vortel {

namespace {

// Options followed by one value ("--wav FILE" or "--wav=FILE").
bool takesValue(const std::string& name) {
    return name == "--wav" || name == "--stems" || name == "--at" || name == "--record" || name == "--fps" ||
           name == "--length" || name == "--contact-sheet" || name == "--summary" || name == "--gallery-page";
}

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

}  // namespace

ParseResult parseOptions(const std::vector<std::string>& args) {
    ParseResult r;
    Options& o = r.options;
    std::set<std::string> seen;  // options with a value, each allowed once
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
        if (name == "--still") {
            // --still SECONDS FILE.png
            if (value || i + 2 >= args.size()) return fail("option --still needs a time in seconds and a PNG file");
            if (!seen.insert(name).second) return fail("option --still given twice");
            o.stillTime = parseSeconds(args[i + 1]);
            if (!o.stillTime) return fail("option --still: '" + args[i + 1] + "' is not a time in seconds");
            o.stillPath = args[i + 2];
            if (o.stillPath.empty()) return fail("option --still needs a non-empty file name");
            i += 2;
            continue;
        }
        if (takeLiveOption(name, value, args, i, o, &r.error)) {
            if (!r.error.empty()) return r;
            continue;
        }
        if (takesValue(name)) {
            if (!value) {
                if (i + 1 >= args.size()) return fail("option " + name + " needs a value");
                value = args[++i];
            }
            if (value->empty()) return fail("option " + name + " needs a non-empty value");
            if (!seen.insert(name).second) return fail("option " + name + " given twice");
            if (name == "--at") {
                o.inspectAt = parseSeconds(*value);
                if (!o.inspectAt) return fail("option --at: '" + *value + "' is not a time in seconds");
            } else if (name == "--length") {
                o.lengthSeconds = parseSeconds(*value);
                if (!o.lengthSeconds) return fail("option --length: '" + *value + "' is not a time in seconds");
                if (*o.lengthSeconds <= 0) return fail("option --length: a recording needs a length above 0 s");
            } else if (name == "--fps") {
                char* end = nullptr;
                long fps = std::strtol(value->c_str(), &end, 10);
                if (end != value->c_str() + value->size() || fps < 1 || fps > 240)
                    return fail("option --fps: '" + *value + "' is not a frame rate from 1 to 240");
                o.fps = static_cast<int>(fps);
            } else if (name == "--wav") {
                o.wavPath = *value;
            } else if (name == "--stems") {
                o.stemsDir = *value;
            } else if (name == "--record") {
                o.recordPath = *value;
            } else if (name == "--contact-sheet") {
                o.sheetPath = *value;
            } else if (name == "--summary") {
                o.summaryPath = *value;
            } else if (name == "--gallery-page") {
                o.galleryDir = *value;
            }
            continue;
        }
        if (value) return fail("option " + name + " takes no value");
        if (name == "--help" || name == "-h") o.help = true;
        else if (name == "--version") o.version = true;
        else if (name == "--no-vsync") o.noVsync = true;
        else if (name == "--verbose") o.verbose = true;
        else if (name == "--fullscreen") o.fullscreen = true;
        else if (name == "--inspect") o.inspect = true;
        else if (name == "--force") o.force = true;
        else return fail("unknown option '" + a + "'");
    }
    if (o.inspectAt && !o.inspect) return fail("option --at goes with --inspect");
    if ((seen.count("--fps") || o.lengthSeconds) && o.recordPath.empty())
        return fail(std::string("option ") + (seen.count("--fps") ? "--fps" : "--length") + " goes with --record");
    if (!o.galleryDir.empty() && (o.seedText || offlineOnly(o) || o.noVsync || o.fullscreen || o.force ||
                                   o.startSeconds || !o.playlist.empty() || o.shuffle))
        return fail("option --gallery-page takes no seed and no other option but --verbose");
    if (std::string live = checkLiveOptions(o); !live.empty()) return fail(live);
    return r;
}

bool offlineOnly(const Options& o) {
    return o.inspect || !o.wavPath.empty() || !o.stemsDir.empty() || !o.stillPath.empty() || !o.recordPath.empty() ||
           !o.sheetPath.empty() || !o.summaryPath.empty();
}

std::string usageText() {
    return "Usage: vortel [SEED] [options]\n"
           "\n"
           "Plays a generated audio-visual show. The same SEED always gives the same\n"
           "song and pictures; without one the clock chooses. The seed is read like a\n"
           "decimal integer: leading blanks, an optional sign, digits up to the first\n"
           "other character.\n"
           "\n"
           "Options:\n"
           "  -h, --help       show this text and exit\n"
           "  --version        show the version and exit\n"
           "  --verbose        report start-up facts and problems (GL errors too) on stderr\n"
           "  --no-vsync       do not wait for the display between frames\n"
           "  --fullscreen     cover the whole screen (F11 switches while the show runs)\n"
           "  --start SECONDS  begin the (first) show at that song time\n"
           "  --playlist SEED[,SEED...]\n"
           "                   play these seeds one after another, then end\n"
           "  --shuffle        play random seeds one after another without end (after\n"
           "                   SEED, when one is given)\n"
           "\n"
           "Without a window or a sound device (each writes its output and exits):\n"
           "  --inspect        print the seed's show as JSON on stdout\n"
           "  --at SECONDS     with --inspect: also what the frame at that song time draws\n"
           "  --still SECONDS FILE.png\n"
           "                   the frame the window shows at that song time, 800 x 600\n"
           "                   (0.5 s of frames run up to it); from 0 to the show's end,\n"
           "                   one second after the song (--inspect's songLength + 1)\n"
           "  --contact-sheet FILE.png\n"
           "                   the middle frame of each of the 16 spans in a 4 x 4 grid\n"
           "  --record FILE    the whole show as a video with its soundtrack: .mp4 (H.264,\n"
           "                   AAC) or .mkv (lossless FFV1, FLAC); needs ffmpeg\n"
           "  --fps N          with --record: frames per second (default 60)\n"
           "  --length SECONDS with --record: only the first SECONDS of the show, above 0\n"
           "                   and up to its end (the song and 1 s)\n"
           "  --summary FILE.json\n"
           "                   tempo, length and the scenes and post passes of each span\n"
           "  --wav FILE       the song as a 22050 Hz mono WAV file; - is stdout\n"
           "  --stems DIR      drums, hihat, pad and bass as separate WAV files\n"
           "  --force          let the outputs above overwrite existing files\n"
           "\n"
           "  --gallery-page DIR\n"
           "                   DIR/index.html and a page per seed from DIR/seeds/*/summary.json\n"
           "                   (see scripts/gallery.sh); the pages are derived files and are\n"
           "                   replaced on every run\n"
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
    OfflineRequest r;
    r.inspect = o.inspect;
    r.inspectAt = o.inspectAt;
    r.wavPath = o.wavPath;
    r.stemsDir = o.stemsDir;
    r.stillTime = o.stillTime;
    r.stillPath = o.stillPath;
    r.sheetPath = o.sheetPath;
    r.summaryPath = o.summaryPath;
    r.recordPath = o.recordPath;
    r.fps = o.fps;
    r.lengthSeconds = o.lengthSeconds;
    r.force = o.force;
    r.verbose = o.verbose;
    r.seedFromClock = !o.seedText || !parseSeed(*o.seedText);
    if (o.seedText) r.seedText = *o.seedText;
    return r;
}

}  // namespace vortel
