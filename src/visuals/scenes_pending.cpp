#include "visuals/actions.h"

// The scenes draw nothing yet.
namespace vortel {

void EmptyScene(int32_t, const ClipAction&, float, float, float) {}
void ShapeTunnelScene(int32_t, const ClipAction&, float, float, float) {}
void RoomScene(int32_t, const ClipAction&, float, float, float) {}
void CubeFieldScene(int32_t, const ClipAction&, float, float, float) {}
void ShapeFountainScene(int32_t, const ClipAction&, float, float, float) {}
void ShapeVortexScene(int32_t, const ClipAction&, float, float, float) {}
void LineWalkScene(int32_t, const ClipAction&, float, float, float) {}

}  // namespace vortel
