#include "visuals/frame/last_frame.h"

#include "core/demo_state.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/textures.h"

namespace vortel {

void redrawLastFrame() {
    const DemoState& s = demo();
    // The last step of renderFrame, without the copy that refreshes slot 0.
    resetRenderState();
    glDisable(GL_DEPTH_TEST);
    glViewport(0, 0, s.windowWidth, s.windowHeight);
    drawTextureQuad(kSlotPreviousFrame, GL_REPEAT);
    glEnable(GL_DEPTH_TEST);
}

}  // namespace vortel
