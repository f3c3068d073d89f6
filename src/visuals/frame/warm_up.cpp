#include "visuals/frame/warm_up.h"

#include <algorithm>
#include <set>
#include <string>

#include "gfx/gl_state.h"
#include "gfx/render_targets.h"
#include "visuals/frame/frame.h"
#include "visuals/timeline/frame_log.h"

namespace vortel {

namespace {

// The instants where the set of running actions can change.
std::vector<float> boundaries(const Timeline& timeline, float end) {
    std::vector<float> b{0, end};
    for (const TimelineClip& c : timeline.clips)
        for (const ClipAction& a : c.actions) {
            const double begin = static_cast<double>(c.start) + a.offset;
            b.push_back(static_cast<float>(begin));
            b.push_back(static_cast<float>(begin + a.duration));
        }
    std::sort(b.begin(), b.end());
    b.erase(std::unique(b.begin(), b.end()), b.end());
    b.erase(std::remove_if(b.begin(), b.end(), [end](float t) { return t < 0 || t > end; }), b.end());
    return b;
}

}  // namespace

std::vector<float> warmUpTimes(const Show& show) {
    const std::vector<float> b = boundaries(show.timeline, show.layout.songLength + 1.0f);
    // An action's GL state is its own plus what the action before it left
    // (bound texture, depth test after a tint), so a frame is kept when it
    // has a pair of successive actions no kept frame had.
    std::set<std::string> seen;
    std::vector<float> times;
    for (size_t i = 0; i + 1 < b.size(); ++i) {
        const float t = 0.5f * (b[i] + b[i + 1]);
        const FrameLog log = dryRunFrame(show, t, 1.0f / 60);
        std::string previous = "start";
        bool fresh = false;
        for (const ActionRecord& a : log.actions) {
            if (a.lane == Lane::Camera) continue;  // cameras set the frame's camera, no GL state
            const std::string action = std::string(a.action) + ((a.seed & 1) ? "/odd" : "/even");
            fresh = seen.insert(previous + " " + action).second || fresh;
            previous = action;
        }
        if (fresh) times.push_back(t);
    }
    return times;
}

WarmUp::WarmUp(Show& show, std::vector<float> times)
    : show_(show), times_(std::move(times)), ctx_(show.frame), rng_(show.rng), gpu_(show.gpu) {
    ctx_.glowComputed = false;
}

void WarmUp::drawNext() {
    renderFrameWith(show_, ctx_, rng_, gpu_, times_[next_++], 1.0f / 60, FramePresent::Window);
}

bool WarmUp::step() {
    if (done()) return false;
    const SavedBindings bindings(show_.gpu.renderer);
    drawIntoNothing();
    drawNext();
    drawIntoEverything();
    attachWorkingArea(show_.gpu);
    bindings.restore();
    return true;
}

int warmUpFrames(Show& show) { return warmUpFrames(show, warmUpTimes(show)); }

int warmUpFrames(Show& show, std::vector<float> times) {
    WarmUp warmUp(show, std::move(times));
    const SavedBindings bindings(show.gpu.renderer);
    drawIntoNothing();
    while (!warmUp.done()) warmUp.drawNext();
    drawIntoEverything();
    finishGl();
    attachWorkingArea(show.gpu);
    bindings.restore();
    return warmUp.framesDrawn();
}

}  // namespace vortel
