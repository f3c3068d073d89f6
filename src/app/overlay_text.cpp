#include "app/overlay_text.h"

#include <cmath>
#include <cstdio>

#include "app/startup.h"

namespace vortel {

namespace {

std::string format(const char* fmt, double a, double b = 0) {
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

}  // namespace

SongPlace songPlace(const SongLayout& s, float time) {
    SongPlace p;
    const double spanLength = 32.0 * s.stepLength;
    if (!(spanLength > 0) || time < 0) return p;
    p.sections = s.sectionCount;
    for (int i = 0; i < s.sectionCount && i < kMaxSections; ++i) p.spans += s.spanCount[i];
    const int span = static_cast<int>(std::floor(time / spanLength));
    if (span >= p.spans) return SongPlace{0, p.sections, 0, 0, 0, p.spans};
    int first = 0;
    for (int i = 0; i < s.sectionCount && i < kMaxSections; ++i) {
        if (span < first + s.spanCount[i]) {
            p.section = i + 1;
            p.spanInSection = span - first + 1;
            p.spansInSection = s.spanCount[i];
            p.span = span + 1;
            return p;
        }
        first += s.spanCount[i];
    }
    return p;
}

std::vector<std::string> infoLines(const SongLayout& s, float songTime, bool paused,
                                   const std::vector<ActionRecord>& actions) {
    std::vector<std::string> lines;
    lines.push_back(windowTitle(s.seed));
    lines.push_back(format("time     %.3f / %.3f s", songTime, s.songLength) + (paused ? "   PAUSED" : ""));
    lines.push_back(format("tempo    %.2f bpm", s.bpm));
    const SongPlace p = songPlace(s, songTime);
    if (p.section > 0) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "section  %d of %d, span %d of %d (%d of %d)", p.section, p.sections,
                      p.spanInSection, p.spansInSection, p.span, p.spans);
        lines.push_back(buf);
    } else {
        lines.push_back("section  - (the song is over)");
    }
    lines.push_back(actions.empty() ? "running  nothing" : "running:");
    for (const ActionRecord& a : actions) {
        char buf[160];
        std::snprintf(buf, sizeof buf, "  %-10s %s", laneName(a.lane), a.action);
        lines.push_back(buf);
    }
    return lines;
}

std::vector<std::string> guideLines() {
    return {
        "Keys",
        "Space        pause / go on",
        "Left, Right  5 s back / forward",
        "Home         back to the start",
        "N, P         next / previous seed",
        "R            a random seed",
        "S            save the picture (PNG)",
        "I            information on / off",
        "H, F1        these keys on / off",
        "F11          window / whole screen",
        "Escape       quit",
    };
}

}  // namespace vortel
