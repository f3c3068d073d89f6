// ShapeTunnelScene: one huge harmonic shape turned inside out round the
// camera, a writhing cave of about 32 x 128 x 32 units. Colour, preset,
// morph and resolution come from global seed + action seed, so they hold
// for the whole clip; only the latitude phase moves (1.5 rad/s).
#include "core/demo_state.h"
#include "core/rng.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/palette.h"
#include "gfx/textures.h"
#include "visuals/actions.h"
#include "visuals/scene_draw.h"
#include "visuals/shape_presets.h"

namespace vortel {

void ShapeTunnelScene(int32_t seed, const ClipAction&, float t, float, float) {
    SceneDraw d = beginScene("ShapeTunnelScene");
    DemoState& s = demo();
    // The picture so far goes to slot 2; the cave then replaces the colours
    // but keeps the depth.
    captureWorkingArea(d, kSlotCapture);
    if (d.gl) glClear(GL_COLOR_BUFFER_BIT);

    srand(sceneSeed(seed));
    setShaderDefaults();
    s.shapePhaseB = 0;
    useMaterial(d, PaletteSequence[static_cast<size_t>(rand() % 12)]);
    uploadLight(d);
    bindDetailTexture(d);
    usePrograms(d, ProgramPair::Relief);
    if (d.gl) bindTextureSlot(kSlotRelief, GL_REPEAT);

    setShaderDefaults();
    s.meshScale = {-16, -64, -16};  // all mirrored: the front faces look inwards
    s.texCoordScale[0] = s.texCoordScale[1] = 0.5f;
    s.shapePhaseA = static_cast<float>(1.5 * t);
    s.specularColour.x = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw()) - 0.5));
    s.specularColour.y = static_cast<float>(1.5 + 2 * (static_cast<double>(unitDraw()) - 0.5));
    s.surfaceParams.x = 2.0f;   // relief outwards from the viewer's side
    s.surfaceParams.y = 0.05f;
    s.specularParams.w = 1.0f;  // normal sign: the mirrored mesh already faces in
    shapePreset = rand() % 10;
    shapeMorph = static_cast<float>(rand() * static_cast<double>(0.000009155553f) - static_cast<double>(0.2f));
    s.shapeSegments = 5 * (rand() % 3) + 6;
    drawShape(d, identityModel());

    endPrograms(d);
    if (d.gl) glDisable(GL_BLEND);
}

}  // namespace vortel
