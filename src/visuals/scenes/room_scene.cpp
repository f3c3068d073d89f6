// RoomScene: the inside of a tall box round the origin, 16 units wide and
// deep and 16 H high, H in [1, 5] from the global seed. Drawn twice: first
// with the depth-and-normal programs, captured into slot 7 for later
// passes, then lit over the same depth. Odd action seeds texture the walls
// with the previous frame.
#include "core/rng.h"
#include "gfx/palette.h"
#include "gfx/textures.h"
#include "visuals/timeline/actions.h"
#include "visuals/timeline/timeline_player.h"
#include "visuals/scenes/scene_planner.h"
#include "visuals/scenes/scene_plans.h"

namespace vortel {

DrawPlan planRoomScene(FrameContext& ctx, int32_t seed, const ClipAction&, float) {
    ScenePlanner d = beginScene(ctx, "RoomScene");
    ctx.srand(static_cast<uint32_t>(ctx.seed));
    const double r = ctx.rand() * static_cast<double>(0.00003051851f);
    const float height = static_cast<float>(r * r * 4 + 1);

    beginBoxPasses(d);

    for (int pass = 0; pass < 2; ++pass) {
        ctx.shape.meshScale = {0.5f, 0.5f, 0.5f};
        ctx.surface.texCoordScale[0] = ctx.surface.texCoordScale[1] = 0.125f;
        ctx.surface.specularColour.x = 1.0f;
        ctx.surface.specularColour.y = 1.1f;
        ctx.surface.specularColour.z = 1.5f;
        ctx.surface.surfaceParams = {-2.0f, 0.125f, 0.01f, -0.005f};
        useTexture(d, kSlotRelief);
        useMaterial(d, 9);  // white
        usePrograms(d, pass == 0 ? ProgramPair::DepthNormal : ProgramPair::Lit);
        ctx.srand(static_cast<uint32_t>(ctx.seed));
        if (pass == 1) {
            if ((seed & 1) == 0) {
                usePrograms(d, ProgramPair::Lit);
                disableTexturing(d);
            } else {
                usePrograms(d, ProgramPair::LitTextured);
                useTexture(d, kSlotPreviousFrame);
            }
        }
        // Repeats the draw of the height: the wall colour belongs to the
        // show, like the height.
        useMaterial(d, PaletteSequence[static_cast<size_t>(16 + ctx.rand() % 5)]);
        ctx.srand(sceneSeed(ctx, seed));
        ctx.shape.meshScale = {8, static_cast<float>(8.0 * height), 8};
        ctx.surface.texCoordScale[0] = ctx.surface.texCoordScale[1] = 1.0f;
        ctx.surface.surfaceParams.x = -2.0f;
        ctx.surface.specularParams.w = -1.0f;
        planBox(d, true, identityModel());
        if (pass == 0) captureWorkingArea(d, kSlotDepthNormal);
    }
    return std::move(d.plan);
}

void RoomScene(FrameContext& ctx, int32_t seed, const ClipAction& action, float t, float, float) {
    runPlan(ctx, planRoomScene(ctx, seed, action, t));
}

}  // namespace vortel
