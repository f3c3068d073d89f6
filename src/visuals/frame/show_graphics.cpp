#include "visuals/frame/show_graphics.h"

#include "gfx/gpu_programs.h"
#include "gfx/render_targets.h"
#include "gfx/textures.h"

namespace vortel {

TextureImages preparePictures(Show& show) {
    show.frame.seed = show.layout.seed;
    TextureImages images = makeTextureImages(show.layout.seed, show.rng);
    show.timeline.clips.clear();
    buildTimeline(show.timeline, show.layout, show.rng);
    return images;
}

bool uploadShowGraphics(Show& show, const TextureImages& images, GlProcLoader loader, std::string* why) {
    if (!loadGlApi(show.gpu.renderer, loader, why)) return false;
    uploadTextureImages(show.gpu, images);
    if (!createRenderTargets(show.gpu, why)) return false;
    createGpuPrograms(show.gpu);
    return true;
}

bool startShowGraphics(Show& show, GlProcLoader loader, std::string* why) {
    const TextureImages images = preparePictures(show);
    return uploadShowGraphics(show, images, loader, why);
}

void releaseShowGraphics(Show& show) {
    deleteRenderTargets(show.gpu);
    deleteTextures(show.gpu);
    deleteGpuPrograms(show.gpu);
}

}  // namespace vortel
