// ShapeFountainScene: a thin column of 20..49 small spinning harmonic
// shapes that rise from y = -15 to +15 and wrap round to the bottom. Each
// shape's motion is re-seeded from its index alone, so it is the same in
// every show; count, colours and preset come from the seeds.
#include <cmath>

#include "core/demo_state.h"
#include "core/rng.h"
#include "core/sine_table.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/palette.h"
#include "gfx/textures.h"
#include "visuals/actions.h"
#include "visuals/scene_draw.h"
#include "visuals/shape_presets.h"

namespace vortel {

namespace {

double draw1() { return unitDraw(); }

}  // namespace

void ShapeFountainScene(int32_t seed, const ClipAction&, float t, float, float) {
    SceneDraw d = beginScene("ShapeFountainScene");
    DemoState& s = demo();
    if (d.gl) applyCamera();
    srand(sceneSeed(seed));
    const int colourIdx = rand() % 12;
    setShaderDefaults();
    for (int k = 0; k < 4; ++k) rand();
    const int count = rand() % 30 + 20;

    beginReliefShapes(d, seed);

    // The settings of a centre shape this scene never draws.
    s.shapePhaseA = static_cast<float>(-2.0 * t);
    s.specularColour.x = static_cast<float>(1.5 + 2 * (draw1() - 0.5));
    s.specularColour.y = static_cast<float>(1.5 + 2 * (draw1() - 0.5));
    s.surfaceParams.y = 0.05f;
    rand();
    s.meshScale = {2, 2, 2};
    s.shapeSegments = 64;
    s.texCoordScale[0] = s.texCoordScale[1] = 0.4f;
    shapeMorph = 0.2f;
    if (d.gl) glDisable(GL_BLEND);

    beginSmallShapes(d, seed, count);

    const bool oddSeed = (seed & 1) != 0;
    const int ownColour = PaletteSequence[static_cast<size_t>(colourIdx)];
    for (int i = 0; i < count; ++i) {
        srand(static_cast<uint32_t>(123 + 1234 * i));
        s.shapePhaseB = static_cast<float>(4.4f * draw1());
        s.shapePhaseA = static_cast<float>(-(4 + 2 * draw1()) * t);
        useMaterial(d, oddSeed || (i & 1) == 0 ? ownColour : 1);
        s.surfaceParams.x = static_cast<float>(0.2f + 0.5 * draw1());
        s.specularColour.y = static_cast<float>(0.5 + draw1());
        s.specularColour.z = static_cast<float>(0.5 + draw1());

        const float p = unitDraw();
        const float q = unitDraw();
        ModelMatrix m = rotateModel(identityModel(),
                                    static_cast<float>((20.2f * static_cast<double>(q) + 40.4f) * t + 44.0 * p), 0, 1,
                                    1);
        const float a = signedDraw();
        const float b = signedDraw();
        const float k = unitDraw();
        const float X = static_cast<float>(4.3f * draw1() + (0.075f + 0.01f * static_cast<double>(k)) * t);
        const float y = static_cast<float>(30.0 * (X - std::trunc(static_cast<double>(X))) + b - 15);
        const float x = signedDraw();
        m = translateModel(m, x, y, a);
        m = scaleModel(m, 0.75f, static_cast<float>(draw1() + 0.25), 0.75f);
        const double wobble = tableAt(draw1() * static_cast<double>(127250.61f) + static_cast<double>(t) * 13559.491f);
        shapeMorph = signedPower(2, static_cast<float>(0.5 * (0.5 + 0.25 * wobble)), true);
        drawShape(d, m);
    }
    endPrograms(d);
    if (d.gl) glDisable(GL_BLEND);
}

}  // namespace vortel
