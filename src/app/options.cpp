#include "app/options.h"

namespace vortel {

namespace {

bool takesValue(const std::string& name) { return name == "--wav" || name == "--stems"; }

// "-5" is a seed; "-h", "-x" and a lone "-" are options.
bool looksLikeOption(const std::string& a) {
    if (a.empty() || a[0] != '-') return false;
    return a.size() < 2 || a[1] < '0' || a[1] > '9';
}

}  // namespace

ParseResult parseOptions(const std::vector<std::string>& args) {
    ParseResult r;
    Options& o = r.options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!looksLikeOption(a)) {
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
            std::string& slot = name == "--wav" ? o.wavPath : o.stemsDir;
            if (!slot.empty()) {
                r.error = "option " + name + " given twice ('" + slot + "' and '" + *value + "')";
                return r;
            }
            slot = *value;
            continue;
        }
        if (value) {
            r.error = "option " + name + " takes no value";
            return r;
        }
        if (name == "--help" || name == "-h") o.help = true;
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
           "  -h, --help       show this text and exit\n"
           "  --version        show the version and exit\n"
           "  --verbose        report start-up facts and problems on stderr\n"
           "  --no-vsync       do not wait for the display between frames\n"
           "  --inspect        print the seed's show as JSON on stdout (no window)\n"
           "  --wav FILE       render the song into a WAV file (no window); - is stdout\n"
           "  --stems DIR      render drums, hihat, pad and bass as separate WAV files\n"
           "  --force          let --wav and --stems overwrite existing files\n"
           "\n"
           "While the show runs, Escape or closing the window ends it.\n";
}

}  // namespace vortel
