#pragma once
// Telling a key's auto-repeat from a fast second press.
//
// On X11, SDL takes a key release that the X server follows within 2 ms by a
// press of the same key for auto-repeat: it drops the release and marks the
// press as a repeat. Presses typed (or scripted) faster than that would then
// count once. The X server's own events still say what happened: a real
// second press comes after a release of the key, an auto-repeat does not
// (SDL asks for detectable auto-repeat). SDL passes every X event on as a
// window-manager event when those are enabled, just before its own reading
// of it; KeyRepeatFilter watches them and clears the repeat mark of the key
// press that followed a release.
union SDL_Event;

namespace vortel {

class KeyRepeatFilter {
public:
    // Asks SDL for the raw events where the video driver is X11; elsewhere
    // the filter changes nothing.
    void enable();

    // Call for every event in order. For an SDL_KEYDOWN, returns whether it
    // is an auto-repeat; other events return false.
    bool isRepeat(const SDL_Event& event);

private:
    bool enabled_ = false;
    unsigned releasedKey_ = 0;  // the X key code last released, 0 for none
    bool pressAfterRelease_ = false;  // the last raw press followed a release of its key
};

}  // namespace vortel
