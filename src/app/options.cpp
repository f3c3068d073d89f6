#include "app/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vortel {

namespace {

bool takesValue(const std::string& name) { return name == "--wav" || name == "--stems" || name == "--at"; }

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
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0) {
            if (o.seedText) {
                r.error = "unexpected argument '" + a + "' (only one seed may be given)";
                return r;
            }
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
            if (value || i + 2 >= args.size()) {
                r.error = "option --still needs a time in seconds and a PNG file";
                return r;
            }
            o.stillTime = parseSeconds(args[i + 1]);
            if (!o.stillTime) {
                r.error = "option --still: '" + args[i + 1] + "' is not a time in seconds";
                return r;
            }
            o.stillPath = args[i + 2];
            if (o.stillPath.empty()) {
                r.error = "option --still needs a non-empty file name";
                return r;
            }
            i += 2;
            continue;
        }
        if (takesValue(name)) {
            if (!value) {
                if (i + 1 >= args.size()) {
                    r.error = "option " + name + " needs a value";
                    return r;
                }
                value = args[++i];
            }
            if (value->empty()) {
                r.error = "option " + name + " needs a non-empty value";
                return r;
            }
            if (name == "--at") {
                o.inspectAt = parseSeconds(*value);
                if (!o.inspectAt) {
                    r.error = "option --at: '" + *value + "' is not a time in seconds";
                    return r;
                }
                continue;
            }
            (name == "--wav" ? o.wavPath : o.stemsDir) = *value;
            continue;
        }
        if (value) {
            r.error = "option " + name + " takes no value";
            return r;
        }
        if (name == "--help") o.help = true;
        else if (name == "--version") o.version = true;
        else if (name == "--no-vsync") o.noVsync = true;
        else if (name == "--verbose") o.verbose = true;
        else if (name == "--inspect") o.inspect = true;
        else if (name == "--force") o.force = true;
        else {
            r.error = "unknown option '" + a + "'";
            return r;
        }
    }
    if (o.inspectAt && !o.inspect) r.error = "option --at goes with --inspect";
    return r;
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
           "  --help           show this text and exit\n"
           "  --version        show the version and exit\n"
           "  --verbose        report start-up facts and problems on stderr\n"
           "  --no-vsync       do not wait for the display between frames\n"
           "  --inspect        print the seed's show as JSON on stdout (no window)\n"
           "  --at SECONDS     with --inspect: also what the frame at that song time runs\n"
           "  --still SECONDS FILE.png\n"
           "                   render the frame the window shows at that song time into an\n"
           "                   800 x 600 PNG (no window; 0.5 s of frames run up to it)\n"
           "  --wav FILE       render the song into a WAV file (no window)\n"
           "  --stems DIR      render drums, hihat, pad and bass as separate WAV files\n"
           "  --force          let --wav, --stems and --still overwrite existing files\n"
           "\n"
           "While the show runs, Escape or closing the window ends it.\n";
}

}  // namespace vortel
