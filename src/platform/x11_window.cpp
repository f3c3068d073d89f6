#include "platform/x11_window.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>

namespace vortel {

namespace {

// Xlib has one error handler for the whole process, so what it needs to know
// about the watched window lives here. Only one window is watched at a time.
std::atomic<uint64_t> gWatched{0};
std::atomic<bool> gWatchedGone{false};
XErrorHandler gPreviousHandler = nullptr;

// A failed request about the watched window (or any drawable once that
// window is known to be gone: the GL driver's own resources for it) means
// its owner destroyed it. Anything else is someone else's business.
int onXError(Display* display, XErrorEvent* error) {
    const uint64_t watched = gWatched.load();
    if (watched != 0 && (error->resourceid == watched || gWatchedGone.load())) {
        gWatchedGone = true;
        return 0;
    }
    if (gPreviousHandler) return gPreviousHandler(display, error);
    return 0;
}

// The probe's own handler: a BadWindow only says that the window is not there.
bool gProbeFailed = false;
int onProbeError(Display*, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) gProbeFailed = true;
    return 0;
}

Display* openDisplay(std::string* why) {
    Display* d = XOpenDisplay(nullptr);
    if (!d && why) {
        const char* name = XDisplayName(nullptr);
        *why = std::string("cannot open the X display '") + (name ? name : "") + "'";
    }
    return d;
}

// The window's size, or false when there is no such window. The handler in
// force is set aside meanwhile, so the probe's BadWindow stays quiet.
bool probeWindow(Display* d, uint64_t id, int* width, int* height) {
    XSync(d, False);
    gProbeFailed = false;
    XErrorHandler before = XSetErrorHandler(onProbeError);
    XWindowAttributes attributes{};
    const Status ok = XGetWindowAttributes(d, static_cast<Window>(id), &attributes);
    XSync(d, False);
    XSetErrorHandler(before);
    if (!ok || gProbeFailed) return false;
    if (width) *width = attributes.width;
    if (height) *height = attributes.height;
    return true;
}

}  // namespace

std::string windowIdText(uint64_t id) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%" PRIx64, id);
    return text;
}

uint64_t x11RootWindow(std::string* why) {
    Display* d = openDisplay(why);
    if (!d) return 0;
    const uint64_t root = DefaultRootWindow(d);
    XCloseDisplay(d);
    return root;
}

bool x11WindowExists(uint64_t id, std::string* why) {
    if (why) why->clear();
    Display* d = openDisplay(why);
    if (!d) return false;
    const bool there = id != 0 && probeWindow(d, id, nullptr, nullptr);
    XCloseDisplay(d);
    return there;
}

std::unique_ptr<X11WindowWatch> X11WindowWatch::open(uint64_t id, std::string* why) {
    Display* d = openDisplay(why);
    if (!d) return nullptr;
    std::unique_ptr<X11WindowWatch> w(new X11WindowWatch());
    w->display_ = d;
    w->id_ = id;
    if (id == 0 || !probeWindow(d, id, &w->width_, &w->height_)) {
        if (why) *why = "window " + windowIdText(id) + " does not exist";
        return nullptr;
    }
    // Its size and its end reach this connection; other clients' selections
    // on the window are untouched.
    XSelectInput(d, static_cast<Window>(id), StructureNotifyMask);
    XSync(d, False);
    gWatchedGone = false;
    gWatched = id;
    XErrorHandler before = XSetErrorHandler(onXError);
    if (before != onXError) gPreviousHandler = before;
    // Destroyed between the probe and the selection: no event will come.
    int width = 0, height = 0;
    if (!probeWindow(d, id, &width, &height)) gWatchedGone = true;
    return w;
}

X11WindowWatch::~X11WindowWatch() {
    // The handler stays: the GL driver and SDL may still touch the window as
    // they let it go, after this watch has ended.
    if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

void X11WindowWatch::poll() {
    Display* d = static_cast<Display*>(display_);
    while (XPending(d) > 0) {
        XEvent ev;
        XNextEvent(d, &ev);
        if (ev.type == DestroyNotify && ev.xdestroywindow.window == static_cast<Window>(id_)) gWatchedGone = true;
        if (ev.type == ConfigureNotify && ev.xconfigure.window == static_cast<Window>(id_)) {
            width_ = ev.xconfigure.width;
            height_ = ev.xconfigure.height;
        }
    }
}

bool X11WindowWatch::gone() const { return gWatchedGone.load(); }

}  // namespace vortel
