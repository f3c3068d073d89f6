#include "visuals/frame/show_graphics.h"

#include "gfx/gpu_programs.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"

namespace vortel {

bool startShowGraphics(Show& show, GlProcLoader loader, std::string* why) {
    if (!loadGlApi(loader, why)) return false;
    show.frame.seed = show.layout.seed;
    generateTextures(show.gpu, show.layout.seed, show.rng);
    if (!createRenderTargets(show.gpu, why)) return false;
    show.timeline.clips.clear();
    buildTimeline(show.timeline, show.layout, show.rng);
    createGpuPrograms(show.gpu);
    return true;
}

void releaseShowGraphics(Show& show) {
    deleteRenderTargets(show.gpu);
    deleteTextures(show.gpu);
    deleteGpuPrograms(show.gpu);
}

}  // namespace vortel
