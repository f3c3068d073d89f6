#include "platform/sdl_window.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

#include <cstdint>

#include "platform/library_messages.h"
#include "platform/signals.h"

namespace vortel {

void* glProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

bool videoStarted() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }

namespace {

// Most events a frame drains before it looks only for quit and Escape, so a
// flood of window events can never hold up the frame.
constexpr int kMaxEventsPerFrame = 256;

void setContextAttributes(int depthBits, bool coreProfile) {
    SDL_GL_ResetAttributes();
    if (coreProfile) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    } else {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// The show's keys by their meaning on the keyboard's layout (the letter
// printed on the key, not its position).
bool showKey(SDL_Keycode sym, Key* key) {
    switch (sym) {
    case SDLK_SPACE: *key = Key::Space; return true;
    case SDLK_LEFT: *key = Key::Left; return true;
    case SDLK_RIGHT: *key = Key::Right; return true;
    case SDLK_HOME: *key = Key::Home; return true;
    case SDLK_n: *key = Key::N; return true;
    case SDLK_p: *key = Key::P; return true;
    case SDLK_r: *key = Key::R; return true;
    case SDLK_s: *key = Key::S; return true;
    case SDLK_i: *key = Key::I; return true;
    case SDLK_h: *key = Key::H; return true;
    case SDLK_F1: *key = Key::F1; return true;
    default: return false;
    }
}

const char* glString(GLenum name) {
    const GLubyte* s = glGetString(name);
    return s ? reinterpret_cast<const char*>(s) : "";
}

}  // namespace

std::unique_ptr<SdlWindow> SdlWindow::open(const WindowOptions& options, std::string* error) {
    quietenLibraryMessages();
    // Chosen before the video subsystem starts; it then stays for the process.
    if (options.offscreen && !SDL_WasInit(SDL_INIT_VIDEO))
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        if (error) *error = std::string("cannot open a display: ") + SDL_GetError();
        return nullptr;
    }
    // Without a display SDL falls back to its offscreen driver; a show nobody
    // can see is a failure unless that driver was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (options.visible && driver && (!asked || !*asked) &&
        (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
        if (error)
            *error = "no display to open a window on (set DISPLAY, or SDL_VIDEODRIVER=offscreen to run unseen)";
        return nullptr;
    }
    std::unique_ptr<SdlWindow> w(new SdlWindow());
    if (options.intoWindow != 0) {
        if (!driver || SDL_strcmp(driver, "x11") != 0) {
            if (error) *error = "drawing into window " + windowIdText(options.intoWindow) + " needs an X11 display";
            return nullptr;
        }
        w->watch_ = X11WindowWatch::open(options.intoWindow, error);
        if (!w->watch_) return nullptr;
        // The window is taken as it is: SDL neither maps, moves nor resizes it.
        SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
    }
    Uint32 flags = SDL_WINDOW_OPENGL | (options.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    std::string lastError;
    // A 32-bit depth buffer first; many drivers only offer 24 bits.
    for (int depth : {32, 24}) {
        setContextAttributes(depth, options.coreProfile);
        SDL_Window* win =
            options.intoWindow != 0
                ? SDL_CreateWindowFrom(reinterpret_cast<const void*>(static_cast<uintptr_t>(options.intoWindow)))
                : SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                   options.width, options.height, flags);
        if (!win) {
            lastError = SDL_GetError();
            continue;
        }
        SDL_GLContext ctx = SDL_GL_CreateContext(win);
        if (!ctx) {
            lastError = SDL_GetError();
            SDL_DestroyWindow(win);
            continue;
        }
        w->window_ = win;
        w->context_ = ctx;
        w->depthFellBack_ = depth != 32;
        break;
    }
    if (!w->window_) {
        if (error) *error = "cannot create an OpenGL window: " + lastError;
        return nullptr;
    }
    SDL_GL_MakeCurrent(w->window_, w->context_);
    if (options.fullscreen && options.visible && !w->watch_) SDL_ShowCursor(SDL_DISABLE);
    SDL_GL_SetSwapInterval(options.vsync ? 1 : 0);
    int depth = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    w->depthBits_ = depth;
    w->renderer_ = glString(GL_RENDERER);
    w->glVersion_ = glString(GL_VERSION);
    // The keys of a window someone else owns are theirs.
    if (!w->watch_) w->repeats_.enable();
    return w;
}

SdlWindow::~SdlWindow() {
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
}

uint32_t SdlWindow::ticks() { return SDL_GetTicks(); }

FrameInput SdlWindow::pollInput() {
    FrameInput in;
    SDL_Event ev;
    int handled = 0;
    while (handled < kMaxEventsPerFrame && SDL_PollEvent(&ev)) {
        ++handled;
        const bool repeat = repeats_.isRepeat(ev);
        switch (ev.type) {
        case SDL_QUIT:
            in.quit = true;
            break;
        case SDL_WINDOWEVENT:
            if (ev.window.event == SDL_WINDOWEVENT_CLOSE) in.quit = true;
            break;
        case SDL_KEYDOWN:
            if (watch_) break;
            if (ev.key.keysym.sym == SDLK_ESCAPE) escapeLatched_ = true;
            if (ev.key.keysym.sym == SDLK_F11 && !repeat) toggleFullscreen();
            // With a modifier held the keys belong to the desktop (Alt+Tab and the like).
            if (!(ev.key.keysym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI))) {
                Key key;
                if (showKey(ev.key.keysym.sym, &key)) in.keys.push_back({key, repeat});
            }
            break;
        default:
            break;
        }
    }
    if (handled == kMaxEventsPerFrame) {
        // A flood: leave the rest queued, but never miss quit or Escape.
        SDL_PumpEvents();
        if (SDL_HasEvent(SDL_QUIT)) in.quit = true;
    }
    if (watch_) {
        // Its owner ends the show by destroying the window (or a signal does).
        watch_->poll();
        if (watch_->gone()) in.quit = true;
    } else {
        const Uint8* keys = SDL_GetKeyboardState(nullptr);
        // Escape: down now, or pressed since the last poll.
        in.escape = escapeLatched_ || (keys && keys[SDL_SCANCODE_ESCAPE]);
        escapeLatched_ = false;
    }
    if (quitSignalled()) in.quit = true;
    return in;
}

void SdlWindow::toggleFullscreen() {
    if (watch_) return;  // the owner decides the window's size
    const bool full = !fullscreen();
    SDL_SetWindowFullscreen(window_, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    // Nothing to point at in a full-screen show.
    SDL_ShowCursor(full ? SDL_DISABLE : SDL_ENABLE);
}

bool SdlWindow::fullscreen() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void SdlWindow::drawableSize(int* width, int* height) const {
    // SDL does not follow a foreign window's size; the watch does.
    if (watch_) {
        *width = watch_->width();
        *height = watch_->height();
        return;
    }
    SDL_GL_GetDrawableSize(window_, width, height);
}

void SdlWindow::swapBuffers() {
    // Nothing more to show once the window is gone.
    if (watch_ && watch_->gone()) return;
    SDL_GL_SwapWindow(window_);
}

void SdlWindow::setTitle(const std::string& title) {
    // A foreign window keeps the name its owner gave it.
    if (!watch_) SDL_SetWindowTitle(window_, title.c_str());
}

}  // namespace vortel
