#pragma once
#include "core/demo_state.h"

namespace vortel {

// Seeds the shared generator with state.seed and derives the tempo, the
// step length, the section layout and the song length from it: exactly one
// draw of the generator.
void setupSong(DemoState& state);

}  // namespace vortel
