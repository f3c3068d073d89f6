#pragma once

namespace vortel {

// The visual script. Until the timeline and its scenes exist these do
// nothing: the show runs with its music over a black picture.
void buildTimeline();
void renderFrame();

}  // namespace vortel
