#include "platform/web_page.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

namespace vortel {

namespace {

constexpr const char* kCanvas = "#canvas";

WebPage* thePage = nullptr;
WebAudioOutput* theOutput = nullptr;

struct KeyName {
    const char* code;
    Key key;
};
constexpr KeyName kKeys[] = {
    {"Space", Key::Space}, {"ArrowLeft", Key::Left}, {"ArrowRight", Key::Right}, {"Home", Key::Home},
    {"KeyN", Key::N},      {"KeyP", Key::P},         {"KeyR", Key::R},          {"KeyS", Key::S},
    {"KeyI", Key::I},      {"KeyH", Key::H},         {"F1", Key::F1},
};

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* e, void* user) {
    // The browser's own shortcuts (Ctrl+R, Cmd+S, ...) stay the browser's.
    if (e->ctrlKey || e->altKey || e->metaKey) return EM_FALSE;
    auto* page = static_cast<WebPage*>(user);
    page->gesture();
    if (std::strcmp(e->code, "KeyF") == 0) {
        if (!e->repeat) EM_ASM({
                if (document.fullscreenElement) document.exitFullscreen();
                else if (document.documentElement.requestFullscreen) document.documentElement.requestFullscreen();
            });
        return EM_TRUE;
    }
    for (const KeyName& k : kKeys) {
        if (std::strcmp(e->code, k.code) == 0) {
            page->keyDown(e->code, e->repeat);
            return EM_TRUE;
        }
    }
    return EM_FALSE;
}

EM_BOOL onMouseDown(int, const EmscriptenMouseEvent*, void* user) {
    static_cast<WebPage*>(user)->gesture();
    return EM_FALSE;
}

EM_BOOL onTouchEnd(int, const EmscriptenTouchEvent*, void* user) {
    static_cast<WebPage*>(user)->gesture();
    return EM_FALSE;
}

// The page's elements by id, made when the page has none.
EM_JS(void, webSetText, (const char* id, const char* text, int pre), {
    var name = UTF8ToString(id);
    var el = document.getElementById(name);
    if (!el) {
        el = document.createElement(pre ? 'pre' : 'div');
        el.id = name;
        document.body.appendChild(el);
    }
    var s = UTF8ToString(text);
    el.textContent = s;
    el.hidden = s.length == 0;
    var hint = document.getElementById('hint');
    if (name == 'message' && s.length && hint) hint.hidden = true;
});

EM_JS(void, webSetTitle, (const char* title), { document.title = UTF8ToString(title); });

EM_JS(void, webSetAddress, (const char* hash), {
    var h = UTF8ToString(hash);
    if (location.hash == h) return;
    try {
        history.replaceState(history.state, "", h);
    } catch (e) {
        location.replace(h);
    }
});

EM_JS(int, webAddressLength, (), { return lengthBytesUTF8(location.hash) + 1; });
EM_JS(void, webAddress, (char* out, int size), { stringToUTF8(location.hash, out, size); });

EM_JS(void, webSavePicture, (const char* name), {
    var file = UTF8ToString(name);
    var canvas = document.getElementById('canvas');
    // Called right after the frame is drawn, before the browser shows it:
    // the drawing buffer still holds the picture.
    canvas.toBlob(function(blob) {
        if (!blob) return;
        var a = document.createElement('a');
        a.href = URL.createObjectURL(blob);
        a.download = file;
        document.body.appendChild(a);
        a.click();
        setTimeout(function() {
            URL.revokeObjectURL(a.href);
            a.remove();
        }, 1000);
    }, 'image/png');
});

EM_JS(double, webDateNow, (), { return Date.now(); });

// 1: open; 0: no Web Audio (the reason on the page). The node pulls
// through the exported vortel_web_audio_fill.
EM_JS(int, webAudioOpen, (int rate, float* latency), {
    var say = function(why) {
        if (Module.vortelSoundSaid) return;
        Module.vortelSoundSaid = true;
        var el = document.getElementById('message');
        if (el) {
            el.textContent = 'No sound: ' + why + '. The pictures go on.';
            el.hidden = false;
        }
    };
    try {
        var AC = window.AudioContext || window.webkitAudioContext;
        if (!AC) {
            say('this browser has no Web Audio');
            return 0;
        }
        var ctx;
        try {
            ctx = new AC({sampleRate: rate});
        } catch (e) {
            ctx = new AC();
        }
        var size = 2048;
        var node = ctx.createScriptProcessor(size, 0, 1);
        var ptr = _malloc(size * 2);
        // The song is written at `rate`; a context at another rate takes it
        // stretched sample by sample (held, not interpolated).
        var step = rate / ctx.sampleRate;
        var have = 0, at = 0, pending = new Int16Array(0);
        node.onaudioprocess = function(e) {
            var out = e.outputBuffer.getChannelData(0);
            var n = out.length;
            if (step == 1) {
                _vortel_web_audio_fill(ptr, n);
                var h = HEAP16.subarray(ptr >> 1, (ptr >> 1) + n);
                for (var i = 0; i < n; ++i) out[i] = h[i] / 32768;
                return;
            }
            for (var i = 0; i < n; ++i) {
                while (at >= have) {
                    at -= have;
                    _vortel_web_audio_fill(ptr, size);
                    pending = HEAP16.slice(ptr >> 1, (ptr >> 1) + size);
                    have = size;
                }
                out[i] = pending[at | 0] / 32768;
                at += step;
            }
        };
        node.connect(ctx.destination);
        var p = ctx.resume();
        if (p && p.catch) p.catch(function(err) { say(String(err && err.message || err)); });
        Module.vortelAudio = {ctx: ctx, node: node};
        HEAPF32[latency >> 2] = size / ctx.sampleRate + (ctx.baseLatency || 0) + (ctx.outputLatency || 0);
        return 1;
    } catch (e) {
        say(String(e && e.message || e));
        return 0;
    }
});

EM_JS(void, webAudioClose, (), {
    var a = Module.vortelAudio;
    if (!a) return;
    a.node.disconnect();
    a.ctx.close();
    Module.vortelAudio = null;
});

}  // namespace

WebPage::WebPage() {
    thePage = this;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, &onKeyDown);
    emscripten_set_mousedown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, &onMouseDown);
    emscripten_set_touchend_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, &onTouchEnd);
}

WebPage::~WebPage() {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_mousedown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_touchend_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    if (context_) emscripten_webgl_destroy_context(context_);
    thePage = nullptr;
}

bool WebPage::openCanvas(std::string* why) {
    EmscriptenWebGLContextAttributes a;
    emscripten_webgl_init_context_attributes(&a);
    a.majorVersion = 2;
    a.minorVersion = 0;
    a.alpha = EM_FALSE;
    a.depth = EM_TRUE;
    a.stencil = EM_FALSE;
    a.antialias = EM_FALSE;
    a.premultipliedAlpha = EM_FALSE;
    a.preserveDrawingBuffer = EM_FALSE;
    a.powerPreference = EM_WEBGL_POWER_PREFERENCE_HIGH_PERFORMANCE;
    context_ = emscripten_webgl_create_context(kCanvas, &a);
    if (context_ <= 0) {
        context_ = 0;
        if (why) *why = "this browser cannot draw with WebGL 2, which the show's pictures need";
        return false;
    }
    emscripten_webgl_make_context_current(context_);
    return true;
}

uint32_t WebPage::ticks() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }

FrameInput WebPage::pollInput() {
    FrameInput in;
    in.keys.swap(keys_);
    return in;
}

void WebPage::setTitle(const std::string& title) { webSetTitle(title.c_str()); }

void WebPage::drawableSize(int* width, int* height) const {
    double cssW = 0, cssH = 0;
    if (emscripten_get_element_css_size(kCanvas, &cssW, &cssH) != EMSCRIPTEN_RESULT_SUCCESS) return;
    const int w = cssW >= 1 ? static_cast<int>(cssW + 0.5) : 1;
    const int h = cssH >= 1 ? static_cast<int>(cssH + 0.5) : 1;
    int bw = 0, bh = 0;
    emscripten_get_canvas_element_size(kCanvas, &bw, &bh);
    if (bw != w || bh != h) emscripten_set_canvas_element_size(kCanvas, w, h);
    *width = w;
    *height = h;
}

void WebPage::keyDown(const char* code, bool repeat) {
    for (const KeyName& k : kKeys)
        if (std::strcmp(code, k.code) == 0) keys_.push_back({k.key, repeat});
}

void WebPage::gesture() {
    if (gesture_) gesture_();
}

std::string WebPage::address() {
    std::string s(static_cast<size_t>(webAddressLength()), '\0');
    webAddress(s.data(), static_cast<int>(s.size()));
    s.resize(std::strlen(s.c_str()));
    return s;
}

void WebPage::setAddress(const std::string& hash) { webSetAddress(hash.c_str()); }

void WebPage::say(const std::string& line) { webSetText("message", line.c_str(), 0); }

void WebPage::showPanel(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    webSetText("panel", text.c_str(), 1);
}

void WebPage::savePicture(const std::string& fileName) { webSavePicture(fileName.c_str()); }

double WebPage::dateNow() { return webDateNow(); }

std::unique_ptr<WebAudioOutput> WebAudioOutput::open(int32_t sampleRate, std::string* why) {
    std::unique_ptr<WebAudioOutput> out(new WebAudioOutput());
    theOutput = out.get();
    float latency = 0;
    if (!webAudioOpen(sampleRate, &latency)) {
        theOutput = nullptr;
        if (why) *why = "the page has no sound";
        return nullptr;
    }
    out->latency_ = latency;
    return out;
}

WebAudioOutput::~WebAudioOutput() {
    webAudioClose();
    if (theOutput == this) theOutput = nullptr;
}

void WebAudioOutput::fill(int16_t* out, int count) {
    if (paused_ || !pull_) {
        std::memset(out, 0, static_cast<size_t>(count) * sizeof(int16_t));
        return;
    }
    pull_(out, count);
}

}  // namespace vortel

extern "C" EMSCRIPTEN_KEEPALIVE void vortel_web_audio_fill(int16_t* out, int count) {
    if (vortel::theOutput) vortel::theOutput->fill(out, count);
    else std::memset(out, 0, static_cast<size_t>(count) * sizeof(int16_t));
}

#endif
