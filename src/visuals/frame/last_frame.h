#pragma once
// The picture of a frame held still: the finished square that renderFrame
// kept in slot 0 for the next frame, stretched over the window again.
#include "visuals/frame/show.h"

namespace vortel {

// Draws the last rendered frame of `show` over its window size into the
// back buffer, exactly as renderFrame showed it, and leaves the slots and
// the show unchanged: a paused show redraws this until it goes on.
void redrawLastFrame(Show& show);

}  // namespace vortel
