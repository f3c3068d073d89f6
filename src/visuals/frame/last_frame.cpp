#include "visuals/frame/last_frame.h"

#include "core/demo_state.h"
#include "visuals/frame/frame.h"
#include "visuals/plan/step_executor.h"

namespace vortel {

void redrawLastFrame() {
    const DemoState& s = demo();
    // The last steps of renderFrame, without the exchange that refreshes
    // slot 0.
    static FrameSteps steps;
    steps.clear();
    addReset(steps, true);
    addQuad(steps, windowQuad(s.windowWidth, s.windowHeight));
    addStep(steps, StepKind::DepthTestOn);
    executeSteps(steps);
}

}  // namespace vortel
