#pragma once
// The pictures' start-up, the same for the live show and the offline one.
#include <string>

#include "gfx/gl_api.h"

namespace vortel {

// Run once a GL context is current and demo() holds the seed, tempo and
// song length: loads the GL's entry points through `loader`, then fills the
// sine table and builds the seed's textures, the frame's render targets,
// the Timeline and the GPU programs. Returns false with a reason when the
// GL cannot be loaded or cannot draw into textures.
bool startShowGraphics(GlProcLoader loader, std::string* why);

}  // namespace vortel
