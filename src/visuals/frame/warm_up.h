#pragma once
// The software rasteriser compiles a program for every combination of GPU
// program and GL state the first time it draws with it, which costs tens of
// milliseconds: the first frame of each new combination of actions would
// stutter. warmUpFrames draws, before the show starts, frames that hold
// every pair of successive actions the Timeline runs (each action with the
// parity of its seed, which picks variants; the pair because an action
// draws with the state the one before it left), with an empty scissor box
// so that no pixel is touched: the programs get compiled, the pictures stay
// as they were.

#include <vector>

#include "visuals/frame/show.h"

namespace vortel {

// The times of frames that together hold every pair of successive actions
// of the show's Timeline, from the song's start to one second past its end,
// in time order. Runs the actions without GL (dryRunFrame): the show is
// unchanged.
std::vector<float> warmUpTimes(const Show& show);

// Draws a frame at each of warmUpTimes() into nothing. The frames draw on
// copies of what the show's frames carry (settings, generator, the slots'
// names), so the show goes on exactly as if they had not been drawn; the
// GL's bindings are put back as they were. Needs the show's graphics
// (startShowGraphics). Returns the number of frames drawn.
int warmUpFrames(Show& show);
// The same at times already worked out.
int warmUpFrames(Show& show, std::vector<float> times);

// The same a frame at a time, for a show made ready while another plays:
// each step draws one warm-up frame into nothing and puts the GL's
// bindings back, so that the frames of the playing show around it are
// untouched. The times come from warmUpTimes (which needs no GL, so it
// may run on another thread).
class WarmUp {
public:
    WarmUp(Show& show, std::vector<float> times);
    // Draws the next frame; false when none was left.
    bool step();
    bool done() const { return next_ >= times_.size(); }
    int framesDrawn() const { return static_cast<int>(next_); }

    // The next frame without the bindings' care (warmUpFrames wraps them all).
    void drawNext();

private:
    Show& show_;
    std::vector<float> times_;
    size_t next_ = 0;
    FrameContext ctx_;  // copies of what the show's frames carry
    Generator rng_;
    GpuResources gpu_;
};

}  // namespace vortel
