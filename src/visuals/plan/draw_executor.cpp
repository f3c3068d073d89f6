#include "visuals/plan/draw_executor.h"

#include <cstring>
#include <vector>

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/gpu_programs.h"
#include "gfx/render_targets.h"
#include "visuals/geometry/box_mesh.h"
#include "visuals/geometry/harmonic_shape.h"
#include "visuals/plan/glsl_draw_executor.h"

namespace vortel {

namespace {

constexpr int kUnknownSlot = -2;

// What this plan has set so far. A plan starts with the programs off and
// everything else unknown.
struct Applied {
    ProgramPair program = ProgramPair::None;
    int textureSlot = kUnknownSlot;
    int detailSlot = kUnknownSlot;
    Toggle texturing = Toggle::Keep;
    Toggle cull = Toggle::Keep;
    Toggle blend = Toggle::Keep;
    bool lightSet = false;
    std::array<float, 4> light{};
    bool depthPacking = false;
    bool colourSet = false;
    std::array<float, 4> colour{};
};

bool same(const std::array<float, 4>& a, const std::array<float, 4>& b) {
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

void setToggle(GLenum capability, Toggle want, Toggle& have) {
    if (want == Toggle::Keep || want == have) return;
    if (want == Toggle::On) glEnable(capability);
    else glDisable(capability);
    have = want;
}

void usePrograms(const GpuResources& gpu, ProgramPair pair) {
    switch (pair) {
    case ProgramPair::None: disableGpuPrograms(); return;
    case ProgramPair::Relief: enableGpuPrograms(gpu, GpuProgramId::ReliefVP, GpuProgramId::ReliefFP); return;
    case ProgramPair::Lit: enableGpuPrograms(gpu, GpuProgramId::LitVP, GpuProgramId::LitFP); return;
    case ProgramPair::LitTextured:
        enableGpuPrograms(gpu, GpuProgramId::LitTexturedVP, GpuProgramId::LitTexturedFP);
        return;
    case ProgramPair::DepthNormal:
        enableGpuPrograms(gpu, GpuProgramId::DepthNormalVP, GpuProgramId::DepthNormalFP);
        return;
    }
}

void fragmentParameter(GLuint index, const std::array<float, 4>& v) {
    glProgramEnvParameter4fvARB(GL_FRAGMENT_PROGRAM_ARB, index, v.data());
}

void applyState(GpuResources& gpu, const Draw& d, Applied& a) {
    const DrawState& s = d.state;
    if (s.captureBefore != kNoCapture) {
        // A picture about to be cleared away needs no copy: the slot takes
        // the working area's texture and the clear goes to the slot's former
        // one.
        const bool exchange = s.clearColourBefore && drawingIntoWorkingArea(gpu);
        if (exchange) exchangeWithWorkingArea(gpu, s.captureBefore);
        bindTextureSlot(gpu, s.captureBefore, GL_REPEAT);
        if (!exchange) glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, kWorkingAreaSize, kWorkingAreaSize);
        a.textureSlot = s.captureBefore;
    }
    if (s.clearColourBefore) glClear(GL_COLOR_BUFFER_BIT);
    if (d.program != a.program) {
        usePrograms(gpu, d.program);
        a.program = d.program;
    }
    if (s.detailSlot != kKeepSlot && s.detailSlot != a.detailSlot) {
        glActiveTextureARB(GL_TEXTURE1_ARB);
        bindTextureSlot(gpu, s.detailSlot, GL_REPEAT);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        a.detailSlot = s.detailSlot;
    }
    if (s.textureSlot != kKeepSlot && s.textureSlot != a.textureSlot) {
        bindTextureSlot(gpu, s.textureSlot, GL_REPEAT);
        a.textureSlot = s.textureSlot;
    }
    setToggle(GL_TEXTURE_2D, s.texturing, a.texturing);
    setToggle(GL_CULL_FACE, s.cull, a.cull);
    setToggle(GL_BLEND, s.blend, a.blend);
    if (s.setsLight && !(a.lightSet && same(a.light, s.light))) {
        glProgramEnvParameter4fvARB(GL_VERTEX_PROGRAM_ARB, 0, s.light.data());
        a.lightSet = true;
        a.light = s.light;
    }
    if (s.depthPacking && !a.depthPacking) {
        fragmentParameter(4, {-0.390625f, 2.56f, 0, 0});
        a.depthPacking = true;
    }
}

// Fragment parameters 0..3 of a mesh draw.
void uploadMaterial(const Draw& d, Applied& a) {
    if (!(a.colourSet && same(a.colour, d.colour))) {
        fragmentParameter(0, d.colour);
        a.colourSet = true;
        a.colour = d.colour;
    }
    fragmentParameter(1, d.specularColour);
    fragmentParameter(2, d.specularParams);
    fragmentParameter(3, d.surfaceParams);
}

void drawShapeMesh(const Draw& d, FrameScratch& scratch) {
    if (d.segments <= 0) return;
    ShapeMesh& mesh = scratch.mesh;
    buildShapeMesh(shapeGeometryOf(d), mesh);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.positions.data());
    glNormalPointer(GL_FLOAT, 0, mesh.normals.data());
    glColorPointer(3, GL_FLOAT, 0, mesh.tangents.data());
    glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
    // One strip per segment, all in one call (the driver's cost per call
    // was most of a many-shaped scene's time on the processor).
    const GLsizei perStrip = 2 * (d.segments + 1);
    std::vector<GLint>& first = scratch.stripFirst;
    std::vector<GLsizei>& count = scratch.stripCount;
    first.resize(static_cast<size_t>(d.segments));
    count.assign(static_cast<size_t>(d.segments), perStrip);
    for (int32_t i = 0; i < d.segments; ++i) first[static_cast<size_t>(i)] = i * perStrip;
    glMultiDrawArrays(GL_QUAD_STRIP, first.data(), count.data(), d.segments);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void drawBoxMesh(const Draw& d) {
    const auto vertices = boxMeshVertices(d.mesh == MeshKind::BoxInside,
                                          {d.meshScale[0], d.meshScale[1], d.meshScale[2]}, d.texCoordScale);
    glBegin(GL_QUADS);
    for (size_t i = 0; i < vertices.size(); ++i) {
        const BoxVertex& v = vertices[i];
        if (i % 4 == 0) {
            glNormal3f(v.normal.x, v.normal.y, v.normal.z);
            glColor3f(v.tangent.x, v.tangent.y, v.tangent.z);
        }
        glTexCoord2f(v.s, v.t);
        glVertex3f(v.position.x, v.position.y, v.position.z);
    }
    glEnd();
}

// The mesh under the draw's model transform, on top of the current
// modelview matrix (left as it was).
void drawMesh(const Draw& d, FrameScratch& scratch) {
    const bool transformed = d.model != identityModel();
    if (transformed) {
        glPushMatrix();
        glMultMatrixf(d.model.data());
    }
    if (d.mesh == MeshKind::Shape) drawShapeMesh(d, scratch);
    else drawBoxMesh(d);
    if (transformed) glPopMatrix();
}

// Each stroke loads the modelview the plan started with times the stroke's
// transform; the last one stays in force.
void drawLines(const Draw& d) {
    const LineBatch& b = d.lines;
    glEnable(GL_LINE_SMOOTH);
    glLineWidth(b.width);
    glColor3f(d.colour[0], d.colour[1], d.colour[2]);
    GLfloat start[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, start);
    ModelMatrix base;
    std::memcpy(base.data(), start, sizeof start);
    for (const LineStroke& stroke : b.strokes) {
        glLoadMatrixf(multiplyModel(base, stroke.model).data());
        glBegin(GL_LINES);
        for (int32_t k = stroke.first; k < stroke.first + stroke.count; ++k) {
            const Vec3& v = b.vertices[static_cast<size_t>(k)];
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
    glDisable(GL_LINE_SMOOTH);
}

}  // namespace

void executePlan(const DrawPlan& plan, GpuResources& gpu, FrameScratch& scratch) {
    if (gpu.renderer == Renderer::Glsl) return executeGlslPlan(plan, gpu, scratch);
    if (plan.loadsCamera) {
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(plan.projection.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(plan.view.data());
    }
    Applied applied;
    for (const Draw& d : plan.draws) {
        applyState(gpu, d, applied);
        if (d.mesh == MeshKind::Lines) {
            drawLines(d);
            continue;
        }
        uploadMaterial(d, applied);
        drawMesh(d, scratch);
    }
    if (applied.program != ProgramPair::None) disableGpuPrograms();
}

}  // namespace vortel
