#include "visuals/scene_draw.h"

#include "core/demo_state.h"
#include "core/rng.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/palette.h"
#include "gfx/textures.h"
#include "visuals/box_mesh.h"
#include "visuals/harmonic_shape.h"
#include "visuals/shape_presets.h"

namespace vortel {

namespace {

struct PairIds {
    GpuProgramId vertex, fragment;
    const char* name;
};

constexpr PairIds kPairs[] = {
    {GpuProgramId::ReliefVP, GpuProgramId::ReliefFP, "Relief"},
    {GpuProgramId::LitVP, GpuProgramId::LitFP, "Lit"},
    {GpuProgramId::LitTexturedVP, GpuProgramId::LitTexturedFP, "LitTextured"},
    {GpuProgramId::DepthNormalVP, GpuProgramId::DepthNormalFP, "DepthNormal"},
};

std::array<float, 4> four(const Vec4& v) { return {v.x, v.y, v.z, v.w}; }

// Runs `draw` under `model` on top of the current modelview matrix.
template <typename Draw>
void underModel(const ModelMatrix& model, Draw draw) {
    if (model == identityModel()) {
        draw();
        return;
    }
    glPushMatrix();
    glMultMatrixf(model.data());
    draw();
    glPopMatrix();
}

}  // namespace

const char* programPairName(ProgramPair pair) { return kPairs[static_cast<int>(pair)].name; }

SceneDraw beginScene(const char* action) {
    SceneDraw d;
    d.action = action;
    d.gl = visualsUseGl();
    return d;
}

void useMaterial(SceneDraw& d, int colour) {
    d.colour = materialColour(colour);
    if (d.gl) uploadMaterialColour(colour);
}

void usePrograms(SceneDraw& d, ProgramPair pair) {
    const PairIds& p = kPairs[static_cast<int>(pair)];
    d.program = p.name;
    if (d.gl) enableGpuPrograms(p.vertex, p.fragment);
}

void endPrograms(SceneDraw& d) {
    if (d.gl) disableGpuPrograms();
}

void uploadLight(const SceneDraw& d) {
    if (d.gl) uploadLightPosition();
}

void bindDetailTexture(const SceneDraw& d) {
    if (!d.gl) return;
    glActiveTextureARB(GL_TEXTURE1_ARB);
    bindTextureSlot(kSlotDetail, GL_REPEAT);
    glActiveTextureARB(GL_TEXTURE0_ARB);
}

void uploadDepthPacking(const SceneDraw& d) {
    if (!d.gl) return;
    const float v[4] = {-0.390625f, 2.56f, 0, 0};
    glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, 4, v);
}

void captureWorkingArea(const SceneDraw& d, int slot) {
    if (!d.gl) return;
    bindTextureSlot(slot, GL_REPEAT);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, kWorkingAreaSize, kWorkingAreaSize);
}

DrawRecord meshRecord(const SceneDraw& d, const char* mesh, const ModelMatrix& model) {
    const DemoState& s = demo();
    DrawRecord r;
    r.action = d.action;
    r.mesh = mesh;
    r.program = d.program;
    r.model = model;
    r.meshScale = {s.meshScale.x, s.meshScale.y, s.meshScale.z};
    r.texCoordScale = {s.texCoordScale[0], s.texCoordScale[1]};
    r.colour = four(d.colour);
    r.specularColour = four(s.specularColour);
    r.specularParams = four(s.specularParams);
    r.surfaceParams = four(s.surfaceParams);
    return r;
}

void drawShape(const SceneDraw& d, const ModelMatrix& model) {
    if (FrameLog* log = frameLog()) {
        const DemoState& s = demo();
        DrawRecord r = meshRecord(d, "shape", model);
        r.preset = shapePreset;
        r.morph = shapeMorph;
        r.segments = s.shapeSegments;
        r.phaseA = s.shapePhaseA;
        r.phaseB = s.shapePhaseB;
        log->draws.push_back(r);
    }
    if (d.gl) underModel(model, [] { drawHarmonicShape(); });
}

void drawBox(const SceneDraw& d, bool insideOut, const ModelMatrix& model) {
    if (FrameLog* log = frameLog()) log->draws.push_back(meshRecord(d, insideOut ? "boxInside" : "box", model));
    if (d.gl) underModel(model, [insideOut] { drawBoxMesh(insideOut); });
}

uint32_t sceneSeed(int32_t actionSeed) {
    return static_cast<uint32_t>(demo().seed) + static_cast<uint32_t>(actionSeed);
}

void beginBoxPasses(SceneDraw& d) {
    setShaderDefaults();
    demo().shapePhaseB = 0;
    uploadLight(d);
    bindDetailTexture(d);
    uploadDepthPacking(d);
    if (d.gl) glEnable(GL_CULL_FACE);
}

void beginReliefShapes(SceneDraw& d, int32_t actionSeed) {
    demo().shapePhaseB = 0;
    useMaterial(d, 3);
    uploadLight(d);
    bindDetailTexture(d);
    usePrograms(d, ProgramPair::Relief);
    if (d.gl) bindTextureSlot(kSlotRelief, GL_REPEAT);
    shapePreset = rand() % 10;
    srand(sceneSeed(actionSeed));
}

void beginSmallShapes(SceneDraw& d, int32_t actionSeed, int count) {
    DemoState& s = demo();
    useMaterial(d, 1);
    const int r = rand();
    s.meshScale = {0.5f, static_cast<float>(32.0 / count), 0.5f};
    s.shapeSegments = 8;
    shapePreset = r % 10;
    s.texCoordScale[0] = 0.25f;
    s.texCoordScale[1] = 0.5f;
    srand(sceneSeed(actionSeed));
}

float unitDraw() { return static_cast<float>(rand() * static_cast<double>(0.00003051851f)); }

}  // namespace vortel

namespace vortel {

float signedDraw() { return static_cast<float>(2 * (static_cast<double>(unitDraw()) - 0.5)); }

}  // namespace vortel
