#pragma once
// The pictures' start-up and clean-up, the same for the live show and the
// offline one.
#include <string>

#include "gfx/gl_api.h"
#include "visuals/frame/show.h"

namespace vortel {

// Run once a GL context is current and show.layout holds the seed, tempo
// and song length: loads the GL's entry points through `loader`, then
// builds the seed's textures, the frame's render targets, the Timeline and
// the GPU programs (the textures and the timeline each re-seed show.rng, in
// that order). Returns false with a reason when the GL cannot be loaded or
// cannot draw into textures.
bool startShowGraphics(Show& show, GlProcLoader loader, std::string* why);

// Deletes the show's textures, programs and render targets (with the
// context they were made in current).
void releaseShowGraphics(Show& show);

}  // namespace vortel
