#include "visuals/timeline/actions.h"

namespace vortel {

// An action that runs and changes nothing.
void EmptyScene(FrameContext&, int32_t, const ClipAction&, float, float, float) {}

}  // namespace vortel
