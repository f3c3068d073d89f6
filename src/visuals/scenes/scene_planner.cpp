#include "visuals/scenes/scene_planner.h"

#include "gfx/camera_math.h"
#include "gfx/palette.h"
#include "gfx/shader_params.h"
#include "gfx/textures.h"
#include "visuals/geometry/shape_presets.h"

namespace vortel {

namespace {

std::array<float, 4> four(const Vec4& v) { return {v.x, v.y, v.z, v.w}; }

// A record of the next draw with the frame's settings; the one-off steps
// before it (capture, clear) are used up.
Draw nextDraw(ScenePlanner& p, MeshKind mesh, const ModelMatrix& model) {
    const FrameContext& ctx = *p.ctx;
    const ShapeSettings& shape = ctx.shape;
    const SurfaceSettings& s = ctx.surface;
    Draw d;
    d.action = p.action;
    d.mesh = mesh;
    d.program = p.program;
    d.model = model;
    d.meshScale = {shape.meshScale.x, shape.meshScale.y, shape.meshScale.z};
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

ScenePlanner beginScene(FrameContext& ctx, const char* action) {
    ScenePlanner p;
    p.ctx = &ctx;
    p.action = action;
    p.next.cull = Toggle::On;
    p.next.blend = Toggle::Off;
    return p;
}

void loadCamera(ScenePlanner& p) {
    p.plan.loadsCamera = true;
    p.plan.projection = cameraProjectionMatrix();
    const CameraPose& c = p.ctx->camera;
    p.plan.view = cameraViewMatrix(c.from, c.target, c.dolly);
}

void useMaterial(ScenePlanner& p, int colour) { p.colour = materialColour(colour); }

void usePrograms(ScenePlanner& p, ProgramPair pair) { p.program = pair; }

void useLight(ScenePlanner& p) {
    p.next.setsLight = true;
    p.next.light = four(p.ctx->camera.light);
}

void useDetailTexture(ScenePlanner& p) { p.next.detailSlot = kSlotDetail; }

void useTexture(ScenePlanner& p, int slot) { p.next.textureSlot = slot; }

void disableTexturing(ScenePlanner& p) { p.next.texturing = Toggle::Off; }

void useDepthPacking(ScenePlanner& p) { p.next.depthPacking = true; }

void captureWorkingArea(ScenePlanner& p, int slot) { p.next.captureBefore = slot; }

void clearColour(ScenePlanner& p) { p.next.clearColourBefore = true; }

void planShape(ScenePlanner& p, const ModelMatrix& model) {
    const ShapeSettings& s = p.ctx->shape;
    Draw d = nextDraw(p, MeshKind::Shape, model);
    d.preset = s.preset;
    d.morph = s.morph;
    d.segments = s.segments;
    d.phaseA = s.phaseA;
    d.phaseB = s.phaseB;
    p.plan.draws.push_back(std::move(d));
}

void planBox(ScenePlanner& p, bool insideOut, const ModelMatrix& model) {
    p.plan.draws.push_back(nextDraw(p, insideOut ? MeshKind::BoxInside : MeshKind::Box, model));
}

uint32_t sceneSeed(const FrameContext& ctx, int32_t actionSeed) {
    return static_cast<uint32_t>(ctx.seed) + static_cast<uint32_t>(actionSeed);
}

void beginBoxPasses(ScenePlanner& p) {
    setShaderDefaults(p.ctx->surface);
    p.ctx->shape.phaseB = 0;
    useLight(p);
    useDetailTexture(p);
    useDepthPacking(p);
}

void beginReliefShapes(ScenePlanner& p, int32_t actionSeed) {
    FrameContext& ctx = *p.ctx;
    ctx.shape.phaseB = 0;
    useMaterial(p, 3);
    useLight(p);
    useDetailTexture(p);
    usePrograms(p, ProgramPair::Relief);
    useTexture(p, kSlotRelief);
    ctx.shape.preset = ctx.rand() % 10;
    ctx.srand(sceneSeed(ctx, actionSeed));
}

void beginSmallShapes(ScenePlanner& p, int32_t actionSeed, int count) {
    FrameContext& ctx = *p.ctx;
    useMaterial(p, 1);
    const int r = ctx.rand();
    ctx.shape.meshScale = {0.5f, static_cast<float>(32.0 / count), 0.5f};
    ctx.shape.segments = 8;
    ctx.shape.preset = r % 10;
    ctx.surface.texCoordScale[0] = 0.25f;
    ctx.surface.texCoordScale[1] = 0.5f;
    ctx.srand(sceneSeed(ctx, actionSeed));
}

}  // namespace vortel
