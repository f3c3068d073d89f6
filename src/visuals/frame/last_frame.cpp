#include "visuals/frame/last_frame.h"

#include "visuals/frame/frame.h"
#include "visuals/plan/step_executor.h"

namespace vortel {

void redrawLastFrame(Show& show) {
    // The last steps of renderFrame, without the exchange that refreshes
    // slot 0.
    FrameSteps& steps = show.scratch.frameSteps;
    steps.clear();
    addReset(steps, true);
    addQuad(steps, windowQuad(show.windowWidth, show.windowHeight));
    addStep(steps, StepKind::DepthTestOn);
    executeSteps(steps, show.gpu, show.scratch);
}

}  // namespace vortel
