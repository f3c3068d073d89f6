#include "visuals/frame/show_graphics.h"

#include "core/demo_state.h"
#include "core/sine_table.h"
#include "gfx/gpu_programs.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"
#include "visuals/timeline/timeline.h"

namespace vortel {

bool startShowGraphics(GlProcLoader loader, std::string* why) {
    if (!loadGlApi(loader, why)) return false;
    fillSineTable(demo());
    generateTextures();
    if (!createRenderTargets(why)) return false;
    demoTimeline().clips.clear();
    buildTimeline();
    createGpuPrograms();
    return true;
}

}  // namespace vortel
