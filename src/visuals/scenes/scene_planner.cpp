#include "visuals/scenes/scene_planner.h"

#include "core/demo_state.h"
#include "core/rng.h"
#include "gfx/camera_math.h"
#include "gfx/palette.h"
#include "gfx/shader_params.h"
#include "gfx/textures.h"
#include "visuals/scenes/shape_presets.h"

namespace vortel {

namespace {

std::array<float, 4> four(const Vec4& v) { return {v.x, v.y, v.z, v.w}; }

// A record of the next draw with the settings of demo(); the one-off steps
// before it (capture, clear) are used up.
Draw nextDraw(ScenePlanner& p, MeshKind mesh, const ModelMatrix& model) {
    const DemoState& s = demo();
    Draw d;
    d.action = p.action;
    d.mesh = mesh;
    d.program = p.program;
    d.model = model;
    d.meshScale = {s.meshScale.x, s.meshScale.y, s.meshScale.z};
    d.texCoordScale = {s.texCoordScale[0], s.texCoordScale[1]};
    d.colour = four(p.colour);
    d.specularColour = four(s.specularColour);
    d.specularParams = four(s.specularParams);
    d.surfaceParams = four(s.surfaceParams);
    d.state = p.next;
    p.next.captureBefore = kNoCapture;
    p.next.clearColourBefore = false;
    return d;
}

}  // namespace

ScenePlanner beginScene(const char* action) {
    ScenePlanner p;
    p.action = action;
    p.next.cull = Toggle::On;
    p.next.blend = Toggle::Off;
    return p;
}

void loadCamera(ScenePlanner& p) {
    p.plan.loadsCamera = true;
    p.plan.projection = cameraProjectionMatrix();
    p.plan.view = cameraViewMatrix();
}

void useMaterial(ScenePlanner& p, int colour) { p.colour = materialColour(colour); }

void usePrograms(ScenePlanner& p, ProgramPair pair) { p.program = pair; }

void useLight(ScenePlanner& p) {
    p.next.setsLight = true;
    p.next.light = four(demo().lightPosition);
}

void useDetailTexture(ScenePlanner& p) { p.next.detailSlot = kSlotDetail; }

void useTexture(ScenePlanner& p, int slot) { p.next.textureSlot = slot; }

void disableTexturing(ScenePlanner& p) { p.next.texturing = Toggle::Off; }

void useDepthPacking(ScenePlanner& p) { p.next.depthPacking = true; }

void captureWorkingArea(ScenePlanner& p, int slot) { p.next.captureBefore = slot; }

void clearColour(ScenePlanner& p) { p.next.clearColourBefore = true; }

void planShape(ScenePlanner& p, const ModelMatrix& model) {
    const DemoState& s = demo();
    Draw d = nextDraw(p, MeshKind::Shape, model);
    d.preset = shapePreset;
    d.morph = shapeMorph;
    d.segments = s.shapeSegments;
    d.phaseA = s.shapePhaseA;
    d.phaseB = s.shapePhaseB;
    p.plan.draws.push_back(std::move(d));
}

void planBox(ScenePlanner& p, bool insideOut, const ModelMatrix& model) {
    p.plan.draws.push_back(nextDraw(p, insideOut ? MeshKind::BoxInside : MeshKind::Box, model));
}

uint32_t sceneSeed(int32_t actionSeed) {
    return static_cast<uint32_t>(demo().seed) + static_cast<uint32_t>(actionSeed);
}

void beginBoxPasses(ScenePlanner& p) {
    setShaderDefaults();
    demo().shapePhaseB = 0;
    useLight(p);
    useDetailTexture(p);
    useDepthPacking(p);
}

void beginReliefShapes(ScenePlanner& p, int32_t actionSeed) {
    demo().shapePhaseB = 0;
    useMaterial(p, 3);
    useLight(p);
    useDetailTexture(p);
    usePrograms(p, ProgramPair::Relief);
    useTexture(p, kSlotRelief);
    shapePreset = rand() % 10;
    srand(sceneSeed(actionSeed));
}

void beginSmallShapes(ScenePlanner& p, int32_t actionSeed, int count) {
    DemoState& s = demo();
    useMaterial(p, 1);
    const int r = rand();
    s.meshScale = {0.5f, static_cast<float>(32.0 / count), 0.5f};
    s.shapeSegments = 8;
    shapePreset = r % 10;
    s.texCoordScale[0] = 0.25f;
    s.texCoordScale[1] = 0.5f;
    srand(sceneSeed(actionSeed));
}

}  // namespace vortel
