#include "visuals/show_hooks.h"

namespace vortel {

void buildTimeline() {}
void renderFrame() {}

}  // namespace vortel
