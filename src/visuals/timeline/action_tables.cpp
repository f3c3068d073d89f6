#include "visuals/timeline/action_tables.h"

#include "visuals/timeline/actions.h"

namespace vortel {

const std::array<ActionFn, 3> CameraTable{FloatCamera, WanderCamera, OverheadCamera};
const std::array<ActionFn, 4> BackdropTable{ShapeTunnelScene, RoomScene, ShapeTunnelScene, RoomScene};
const std::array<ActionFn, 4> ForegroundTable{CubeFieldScene, ShapeFountainScene, ShapeVortexScene, LineWalkScene};
const std::array<ActionFn, 5> PostTableA{TintPass, TintPass, BlurFadePass, GlowPass, BlurFadePass};
const std::array<ActionFn, 4> PostTableB{TintPass, GlowPass, TintPass, GlowPass};

namespace {

struct NamedAction {
    ActionFn fn;
    const char* name;
};

#define VORTEL_NAMED(fn) {fn, #fn}
constexpr NamedAction kNames[] = {
    VORTEL_NAMED(FloatCamera),      VORTEL_NAMED(WanderCamera),       VORTEL_NAMED(OverheadCamera),
    VORTEL_NAMED(ShapeTunnelScene), VORTEL_NAMED(RoomScene),          VORTEL_NAMED(EmptyScene),
    VORTEL_NAMED(CubeFieldScene),   VORTEL_NAMED(ShapeFountainScene), VORTEL_NAMED(ShapeVortexScene),
    VORTEL_NAMED(LineWalkScene),    VORTEL_NAMED(TintPass),           VORTEL_NAMED(GlowPass),
    VORTEL_NAMED(BlurFadePass),
};
#undef VORTEL_NAMED

}  // namespace

const char* actionName(ActionFn fn) {
    for (const NamedAction& n : kNames)
        if (n.fn == fn) return n.name;
    return "?";
}

}  // namespace vortel
