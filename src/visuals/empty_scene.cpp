#include "visuals/actions.h"

namespace vortel {

// The filler of EmptyTable: runs, changes nothing.
void EmptyScene(int32_t, const ClipAction&, float, float, float) {}

}  // namespace vortel
