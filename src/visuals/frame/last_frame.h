#pragma once
// The picture of a frame held still: the finished square that renderFrame
// kept in slot 0 for the next frame, stretched over the window again.

namespace vortel {

// Draws the last rendered frame over demo().windowWidth x windowHeight into
// the back buffer, exactly as renderFrame showed it, and leaves the slots
// and demo() unchanged: a paused show redraws this until it goes on.
void redrawLastFrame();

}  // namespace vortel
