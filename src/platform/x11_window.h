#pragma once
// Windows that belong to other programs on the X display: the window a
// screensaver gives its hacks, a window a test makes, the root window. The
// show draws into them through SdlWindow (WindowOptions::intoWindow); these
// functions find them and follow what their owner does with them.
#include <cstdint>
#include <memory>
#include <string>

namespace vortel {

// The root window of $DISPLAY's default screen, or 0 with *why.
uint64_t x11RootWindow(std::string* why);

// Whether `id` names a window on $DISPLAY right now. False with *why when the
// display cannot be opened; false with *why empty when there is no such window.
bool x11WindowExists(uint64_t id, std::string* why);

// Follows one foreign window on a connection of its own: its size, and
// whether its owner destroyed it. While a watch lives, the X errors that a
// vanished window causes on any connection of the process (the GL driver
// presenting into it, SDL letting it go) are taken as "gone" and not
// printed; other X errors reach the handler that was there before.
class X11WindowWatch {
public:
    // Null with *why when the display cannot be opened; null with *why
    // "window 0x... does not exist" when there is no such window.
    static std::unique_ptr<X11WindowWatch> open(uint64_t id, std::string* why);
    ~X11WindowWatch();
    X11WindowWatch(const X11WindowWatch&) = delete;
    X11WindowWatch& operator=(const X11WindowWatch&) = delete;

    // Reads what happened to the window since the last call.
    void poll();
    bool gone() const;
    int width() const { return width_; }
    int height() const { return height_; }
    uint64_t id() const { return id_; }

private:
    X11WindowWatch() = default;
    void* display_ = nullptr;  // Display*
    uint64_t id_ = 0;
    int width_ = 0;
    int height_ = 0;
};

// "0x1a00007": how X tools and screensavers write window ids.
std::string windowIdText(uint64_t id);

}  // namespace vortel
