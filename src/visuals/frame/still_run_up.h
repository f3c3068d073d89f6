#pragma once
// The frames a still is made of. Each frame keeps the last one's picture
// (slot 0), so the picture of an instant is that of a short run of frames
// ending there: half a second at 60 frames per second (or back to the
// show's start), then the frame at the instant itself. The carried image
// halves every frame, so after 30 frames nothing of what came before the
// run remains visible. The stills, the contact sheet and the web page's
// paused links all draw this run.
#include <vector>

namespace vortel {

constexpr float kStillRunUpSeconds = 0.5f;
constexpr int kStillFrameRate = 60;

struct RunUpFrame {
    float time = 0;   // song time of the frame
    float delta = 0;  // the frame time it is drawn with
};

// The run ending with the frame at `time` (the still): oldest first.
std::vector<RunUpFrame> stillRunUp(float time);

}  // namespace vortel
