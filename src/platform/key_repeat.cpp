#include "platform/key_repeat.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

namespace vortel {

void KeyRepeatFilter::enable() {
#if defined(SDL_VIDEO_DRIVER_X11)
    const char* driver = SDL_GetCurrentVideoDriver();
    enabled_ = driver && SDL_strcmp(driver, "x11") == 0;
    if (enabled_) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
#endif
}

bool KeyRepeatFilter::isRepeat(const SDL_Event& event) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (enabled_ && event.type == SDL_SYSWMEVENT && event.syswm.msg && event.syswm.msg->subsystem == SDL_SYSWM_X11) {
        const XEvent& x = event.syswm.msg->msg.x11.event;
        if (x.type == KeyRelease) {
            releasedKey_ = x.xkey.keycode;
        } else if (x.type == KeyPress) {
            pressAfterRelease_ = x.xkey.keycode == releasedKey_;
            releasedKey_ = 0;
        }
        return false;
    }
#endif
    if (event.type != SDL_KEYDOWN) return false;
    const bool afterRelease = pressAfterRelease_;
    pressAfterRelease_ = false;
    return event.key.repeat != 0 && !(enabled_ && afterRelease);
}

}  // namespace vortel
