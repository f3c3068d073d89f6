#pragma once
// The pictures' start-up and clean-up, the same for the live show and the
// offline one. The start-up comes in two halves so that the first, which
// needs no GL, can run on another thread while a show plays.
#include <string>

#include "gfx/gl_api.h"
#include "gfx/texture_images.h"
#include "visuals/frame/show.h"

namespace vortel {

// The half without GL, once show.layout holds the seed, tempo and song
// length: the seed's texture images and the Timeline (each re-seeds
// show.rng, in that order). Returns the images for uploadShowGraphics.
TextureImages preparePictures(Show& show);

// The GL half, with a context current: loads the GL's entry points through
// `loader`, uploads `images`, and makes the frame's render targets and the
// GPU programs. False with a reason when the GL cannot be loaded or cannot
// draw into textures.
bool uploadShowGraphics(Show& show, const TextureImages& images, GlProcLoader loader, std::string* why);

// Both halves at once.
bool startShowGraphics(Show& show, GlProcLoader loader, std::string* why);

// Deletes the show's textures, programs and render targets (with the
// context they were made in current).
void releaseShowGraphics(Show& show);

}  // namespace vortel
