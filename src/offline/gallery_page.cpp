#include "offline/gallery_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <utility>

#include "offline/contact_sheet.h"

namespace vortel {

namespace {

// The look shared by both pages: dark, like the show.
constexpr std::string_view kStyle = R"(
:root{color-scheme:dark}
*{box-sizing:border-box}
body{margin:0;background:#101014;color:#dcdce4;font:15px/1.4 system-ui,sans-serif}
header{padding:16px 24px;background:#18181f;border-bottom:1px solid #2a2a35}
h1{margin:0 0 8px;font-size:22px;font-weight:600}
h2{font-size:17px;margin:24px 0 8px}
a{color:#8fb8ff}
main{padding:16px 24px}
[hidden]{display:none!important}
.filters{display:flex;flex-wrap:wrap;gap:8px 20px;align-items:center}
.filters fieldset{border:1px solid #2f2f3c;border-radius:6px;padding:4px 10px;margin:0}
.filters legend{font-size:12px;color:#9a9aae}
.filters label{margin-right:10px;white-space:nowrap}
.filters input[type=number]{width:5.5em;background:#101014;color:inherit;border:1px solid #3a3a48;border-radius:4px;padding:2px 4px}
button{background:#2a2a36;color:inherit;border:1px solid #3a3a48;border-radius:4px;padding:3px 10px;cursor:pointer}
#count{color:#9a9aae}
.grid{display:grid;grid-template-columns:repeat(auto-fill,minmax(230px,1fr));gap:14px}
.card{display:block;background:#18181f;border:1px solid #2a2a35;border-radius:8px;overflow:hidden;color:inherit;text-decoration:none}
.card:hover{border-color:#5a7fd0}
.thumb{display:block;width:100%;aspect-ratio:4/3;object-fit:cover;background:#000}
.nothumb{display:flex;align-items:center;justify-content:center;color:#555}
.meta{padding:6px 10px 8px}
.seed{font-size:17px;font-weight:600}
.facts{color:#9a9aae;font-size:13px}
.chips{margin-top:4px;display:flex;flex-wrap:wrap;gap:4px}
.chip{font-size:11px;background:#262633;border-radius:9px;padding:1px 7px}
.sheet{position:relative;max-width:812px;aspect-ratio:812/612;background:#181818}
.sheet img{position:absolute;inset:0;width:100%;height:100%}
.cell{position:absolute;display:flex;flex-direction:column;justify-content:flex-end}
.cell span{background:rgba(0,0,0,.68);padding:2px 5px;font-size:12px;line-height:1.3}
.cell .post{color:#b0b0c4;font-size:11px}
table{border-collapse:collapse;font-size:13px}
td,th{padding:3px 10px;border-bottom:1px solid #2a2a35;text-align:left}
pre{background:#18181f;border:1px solid #2a2a35;border-radius:6px;padding:10px 14px;overflow-x:auto}
video{max-width:812px;width:100%;background:#000}
)";

// Filters the cards by the checked scenes (all of them) and the tempo range,
// and keeps the choice in the page's fragment so that it can be shared.
constexpr std::string_view kIndexScript = R"(
(function () {
  var cards = Array.prototype.slice.call(document.querySelectorAll('.card'));
  var boxes = Array.prototype.slice.call(document.querySelectorAll('#scenes input'));
  var lo = document.getElementById('bpm-min'), hi = document.getElementById('bpm-max');
  var count = document.getElementById('count');
  function apply() {
    var want = boxes.filter(function (b) { return b.checked; }).map(function (b) { return b.value; });
    var a = parseFloat(lo.value), b = parseFloat(hi.value), shown = 0;
    cards.forEach(function (c) {
      var scenes = c.getAttribute('data-scenes').split('|');
      var bpm = parseFloat(c.getAttribute('data-bpm'));
      var ok = want.every(function (w) { return scenes.indexOf(w) >= 0; }) && !(bpm < a) && !(bpm > b);
      c.hidden = !ok;
      if (ok) shown++;
    });
    count.textContent = shown + ' of ' + cards.length + ' seeds shown';
  }
  function save() {
    var parts = [];
    var want = boxes.filter(function (b) { return b.checked; }).map(function (b) { return encodeURIComponent(b.value); });
    if (want.length) parts.push('scenes=' + want.join(','));
    if (lo.value !== '' || hi.value !== '') parts.push('bpm=' + lo.value + '-' + hi.value);
    var url = parts.length ? '#' + parts.join('&') : location.pathname + location.search;
    try { history.replaceState(null, '', url); } catch (e) {}
  }
  function load() {
    var hash = location.hash.replace(/^#/, '');
    boxes.forEach(function (b) { b.checked = false; });
    lo.value = ''; hi.value = '';
    hash.split('&').forEach(function (part) {
      var eq = part.indexOf('='), key = part.slice(0, eq), value = part.slice(eq + 1);
      if (eq < 0) return;
      if (key === 'scenes') {
        var names = value.split(',').map(function (v) { try { return decodeURIComponent(v); } catch (e) { return v; } });
        boxes.forEach(function (b) { b.checked = names.indexOf(b.value) >= 0; });
      } else if (key === 'bpm') {
        var dash = value.indexOf('-');
        if (dash >= 0) { lo.value = value.slice(0, dash); hi.value = value.slice(dash + 1); }
      }
    });
    apply();
  }
  boxes.concat([lo, hi]).forEach(function (el) { el.addEventListener('input', function () { apply(); save(); }); });
  document.getElementById('clear').addEventListener('click', function () {
    boxes.forEach(function (b) { b.checked = false; });
    lo.value = ''; hi.value = '';
    apply(); save();
  });
  window.addEventListener('hashchange', load);
  load();
})();
)";

std::string number(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// A number for a message: 3.4e+38, 120.5.
std::string shortNumber(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// 63.9 s as "1:04".
std::string minutes(double seconds) {
    const long s = std::lround(std::max(0.0, seconds));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld:%02ld", s / 60, s % 60);
    return buf;
}

// The entry's scenes, each once, in order of first appearance.
std::vector<std::string> scenesOf(const GalleryEntry& e) {
    std::vector<std::string> out;
    std::set<std::string_view> seen;  // a summary may list many: no search of `out` per name
    for (const GallerySpan& s : e.spans)
        for (const std::string& n : s.scenes)
            if (seen.insert(n).second) out.push_back(n);
    return out;
}

std::string joinLabels(const std::vector<std::string>& names, std::string_view sep) {
    std::string out;
    for (const std::string& n : names) {
        if (!out.empty()) out += sep;
        out += escapeHtml(actionLabel(n));
    }
    return out;
}

std::string pageHead(const std::string& title) {
    std::string h = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
    h += escapeHtml(title);
    h += "</title>\n<style>";
    h += kStyle;
    h += "</style>\n</head>\n";
    return h;
}

bool stringList(const Json& j, std::vector<std::string>* out) {
    if (!j.is_array()) return false;
    for (const Json& n : j) {
        if (!n.is_string()) return false;
        out->push_back(n.get<std::string>());
    }
    return true;
}

}  // namespace

bool galleryEntryFromSummary(const Json& j, GalleryEntry* e, std::string* why) {
    auto bad = [why](const std::string& what) {
        *why = what;
        return false;
    };
    if (!j.is_object()) return bad("not a JSON object");
    const auto seed = j.find("seed");
    if (seed == j.end() || !seed->is_number_integer()) return bad("no integer \"seed\"");
    // A JSON integer above INT64_MAX is held unsigned: read as signed, it
    // would wrap around into range.
    if (seed->is_number_unsigned() ? seed->get<uint64_t>() > static_cast<uint64_t>(INT32_MAX)
                                   : (seed->get<int64_t>() < INT32_MIN || seed->get<int64_t>() > INT32_MAX))
        return bad("\"seed\" out of range");
    e->seed = static_cast<int32_t>(seed->get<int64_t>());
    const std::pair<const char*, double> numbers[] = {{"bpm", kGalleryMaxBpm}, {"songLength", kGalleryMaxSongSeconds}};
    for (const auto& [key, most] : numbers) {
        const auto v = j.find(key);
        if (v == j.end() || !v->is_number() || !std::isfinite(v->get<double>()))
            return bad(std::string("no number \"") + key + "\"");
        const double x = v->get<double>();
        if (!(x > 0 && x <= most))
            return bad(std::string("\"") + key + "\" " + shortNumber(x) + " is not in (0, " + shortNumber(most) + "]");
    }
    e->bpm = j["bpm"].get<double>();
    e->songLength = j["songLength"].get<double>();
    const auto spans = j.find("spans");
    if (spans == j.end() || !spans->is_array()) return bad("no \"spans\" list");
    e->spans.clear();
    for (const Json& sp : *spans) {
        GallerySpan g;
        if (!sp.is_object() || !sp.contains("scenes") || !sp.contains("post") || !stringList(sp["scenes"], &g.scenes) ||
            !stringList(sp["post"], &g.post))
            return bad("a span without \"scenes\" and \"post\" lists of names");
        e->spans.push_back(std::move(g));
    }
    return true;
}

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        case '`': out += "&#96;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string urlSegment(std::string_view name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : name) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    // "." and ".." are not names but steps.
    if (out == "." || out == "..") out = out == "." ? "%2E" : "%2E%2E";
    return out;
}

std::string actionLabel(std::string_view action) {
    static const std::pair<std::string_view, std::string_view> kLabels[] = {
        {"ShapeTunnelScene", "tunnel"},     {"RoomScene", "room"},         {"CubeFieldScene", "cube field"},
        {"ShapeFountainScene", "fountain"}, {"ShapeVortexScene", "vortex"}, {"LineWalkScene", "lines"},
        {"EmptyScene", "empty"},            {"TintPass", "tint"},          {"GlowPass", "glow"},
        {"BlurFadePass", "blur fade"},      {"FloatCamera", "float"},      {"WanderCamera", "wander"},
        {"OverheadCamera", "overhead"},
    };
    for (const auto& [name, label] : kLabels)
        if (name == action) return std::string(label);
    return std::string(action);
}

std::string galleryIndexHtml(const std::vector<GalleryEntry>& entries) {
    std::set<std::string> allScenes;
    double lo = INFINITY, hi = -INFINITY;
    for (const GalleryEntry& e : entries) {
        for (const std::string& s : scenesOf(e)) allScenes.insert(s);
        lo = std::min(lo, e.bpm);
        hi = std::max(hi, e.bpm);
    }
    std::string h = pageHead("Vortel gallery");
    h += "<body>\n<header>\n<h1>Vortel gallery</h1>\n<div class=\"filters\">\n";
    h += "<fieldset id=\"scenes\"><legend>with every checked scene</legend>\n";
    for (const std::string& s : allScenes)
        h += "<label><input type=\"checkbox\" value=\"" + escapeHtml(s) + "\"> " + escapeHtml(actionLabel(s)) + "</label>\n";
    h += "</fieldset>\n<fieldset><legend>tempo (BPM)</legend>\n";
    const std::string minHint = entries.empty() ? "" : number(std::floor(lo), 0);
    const std::string maxHint = entries.empty() ? "" : number(std::ceil(hi), 0);
    h += "<input type=\"number\" id=\"bpm-min\" step=\"any\" placeholder=\"" + minHint +
         "\" aria-label=\"lowest tempo\"> to <input type=\"number\" id=\"bpm-max\" step=\"any\" placeholder=\"" +
         maxHint + "\" aria-label=\"highest tempo\">\n</fieldset>\n";
    h += "<button id=\"clear\" type=\"button\">show all</button>\n";
    h += "<span id=\"count\">" + std::to_string(entries.size()) + " seeds</span>\n</div>\n</header>\n<main>\n";
    if (entries.empty()) h += "<p>No seeds yet: none of seeds/*/summary.json was found.</p>\n";
    h += "<div class=\"grid\">\n";
    for (const GalleryEntry& e : entries) {
        const std::string dir = "seeds/" + urlSegment(e.folder) + "/";
        const std::string seed = std::to_string(e.seed);
        const std::vector<std::string> scenes = scenesOf(e);
        std::string sceneAttr = "|";
        for (const std::string& s : scenes) sceneAttr += s + "|";
        h += "<a class=\"card\" href=\"" + escapeHtml(dir + std::string(kGalleryPage)) + "\" data-seed=\"" + seed +
             "\" data-bpm=\"" + number(e.bpm, 3) + "\" data-length=\"" + number(e.songLength, 2) +
             "\" data-scenes=\"" + escapeHtml(sceneAttr) + "\">\n";
        if (e.hasThumb)
            h += "<img class=\"thumb\" loading=\"lazy\" src=\"" + escapeHtml(dir + std::string(kGalleryThumb)) +
                 "\" alt=\"seed " + seed + "\">\n";
        else
            h += "<div class=\"thumb nothumb\">no picture yet</div>\n";
        h += "<div class=\"meta\"><div class=\"seed\">" + seed + "</div><div class=\"facts\">" + number(e.bpm, 1) +
             " BPM &middot; " + minutes(e.songLength) + (e.hasPreview ? " &middot; preview" : "") + "</div>\n";
        h += "<div class=\"chips\">";
        for (const std::string& s : scenes) h += "<span class=\"chip\">" + escapeHtml(actionLabel(s)) + "</span>";
        h += "</div></div>\n</a>\n";
    }
    h += "</div>\n</main>\n<script>";
    h += kIndexScript;
    h += "</script>\n</body>\n</html>\n";
    return h;
}

std::string gallerySeedHtml(const GalleryEntry& e) {
    const std::string seed = std::to_string(e.seed);
    std::string h = pageHead("Vortel seed " + seed);
    h += "<body>\n<header>\n<h1>Seed " + seed + "</h1>\n<div class=\"facts\">" + number(e.bpm, 2) + " BPM &middot; " +
         number(e.songLength, 1) + " s of song &middot; <a href=\"../../" + std::string(kGalleryPage) +
         "\">all seeds</a></div>\n</header>\n<main>\n";
    if (e.hasPlayer)
        h += "<p class=\"facts\"><a class=\"play\" href=\"../../" + std::string(kGalleryPlayer) + "#seed=" + seed +
             "\">play here</a>, in this browser: the pictures at once, the sound at the first click or key.</p>\n";
    h += "<h2>Play it, record it</h2>\n<pre>vortel " + seed + "\nvortel " + seed + " --record seed-" + seed +
         ".mp4\nvortel " + seed + " --contact-sheet seed-" + seed + ".png</pre>\n";
    h += "<p class=\"facts\">From a checkout of the project, <code>scripts/run.sh " + seed +
         "</code> builds it first; <code>vortel --help</code> lists the other outputs.</p>\n";
    if (e.hasPreview) {
        h += "<h2>The first ten seconds</h2>\n<video controls preload=\"metadata\" src=\"" +
             escapeHtml(std::string(kGalleryPreview)) + "\"></video>\n";
    }
    h += "<h2>The 16 spans at a glance</h2>\n<div class=\"sheet\">\n";
    if (e.hasSheet)
        h += "<img src=\"" + escapeHtml(std::string(kGallerySheet)) + "\" alt=\"contact sheet of seed " + seed + "\">\n";
    const int cells = kSheetColumns * kSheetRows;
    for (int i = 0; i < cells && i < static_cast<int>(e.spans.size()); ++i) {
        const double left = 100.0 * (kSheetGutter + (i % kSheetColumns) * (kThumbWidth + kSheetGutter)) / kSheetWidth;
        const double top = 100.0 * (kSheetGutter + (i / kSheetColumns) * (kThumbHeight + kSheetGutter)) / kSheetHeight;
        const double width = 100.0 * kThumbWidth / kSheetWidth, height = 100.0 * kThumbHeight / kSheetHeight;
        h += "<div class=\"cell\" data-span=\"" + std::to_string(i) + "\" style=\"left:" + number(left, 3) +
             "%;top:" + number(top, 3) + "%;width:" + number(width, 3) + "%;height:" + number(height, 3) + "%\">";
        h += "<span>" + std::to_string(i + 1) + " &middot; " + joinLabels(e.spans[i].scenes, " + ") +
             "<br><span class=\"post\">" + joinLabels(e.spans[i].post, ", ") + "</span></span></div>\n";
    }
    h += "</div>\n<h2>Spans</h2>\n<table>\n<tr><th>span</th><th>scenes</th><th>post passes</th></tr>\n";
    for (size_t i = 0; i < e.spans.size(); ++i)
        h += "<tr><td>" + std::to_string(i + 1) + "</td><td>" + joinLabels(e.spans[i].scenes, ", ") + "</td><td>" +
             joinLabels(e.spans[i].post, ", ") + "</td></tr>\n";
    h += "</table>\n</main>\n</body>\n</html>\n";
    return h;
}

}  // namespace vortel
