#include "visuals/plan/glsl_draw_executor.h"

#include <cstring>

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/glsl_api.h"
#include "gfx/glsl_programs.h"
#include "gfx/render_targets.h"
#include "visuals/geometry/box_mesh.h"
#include "visuals/geometry/harmonic_shape.h"

namespace vortel {

namespace {

constexpr int kUnknownSlot = -2;

// What this plan has set so far, as the ARB executor tracks it.
struct Applied {
    int textureSlot = kUnknownSlot;
    int detailSlot = kUnknownSlot;
    Toggle texturing = Toggle::Keep;
    Toggle cull = Toggle::Keep;
    Toggle blend = Toggle::Keep;
};

void setToggle(GLenum capability, Toggle want, Toggle& have) {
    if (want == Toggle::Keep || want == have) return;
    if (want == Toggle::On) glEnable(capability);
    else glDisable(capability);
    have = want;
}

GlslProgramId programOf(ProgramPair pair) {
    switch (pair) {
    case ProgramPair::None: return GlslProgramId::Fixed;
    case ProgramPair::Relief: return GlslProgramId::Relief;
    case ProgramPair::Lit: return GlslProgramId::Lit;
    case ProgramPair::LitTextured: return GlslProgramId::LitTextured;
    case ProgramPair::DepthNormal: return GlslProgramId::DepthNormal;
    }
    return GlslProgramId::Fixed;
}

void applyState(GpuResources& gpu, const Draw& d, Applied& a) {
    const DrawState& s = d.state;
    GlslState& g = gpu.glslState;
    if (s.captureBefore != kNoCapture) {
        const bool exchange = s.clearColourBefore && drawingIntoWorkingArea(gpu);
        if (exchange) exchangeWithWorkingArea(gpu, s.captureBefore);
        bindTextureSlot(gpu, s.captureBefore, GL_REPEAT);
        g.unit0Border = false;
        if (!exchange) glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, kWorkingAreaSize, kWorkingAreaSize);
        a.textureSlot = s.captureBefore;
    }
    if (s.clearColourBefore) glClear(GL_COLOR_BUFFER_BIT);
    if (s.detailSlot != kKeepSlot && s.detailSlot != a.detailSlot) {
        glActiveTexture(GL_TEXTURE1);
        bindTextureSlot(gpu, s.detailSlot, GL_REPEAT);
        glActiveTexture(GL_TEXTURE0);
        a.detailSlot = s.detailSlot;
    }
    if (s.textureSlot != kKeepSlot && s.textureSlot != a.textureSlot) {
        bindTextureSlot(gpu, s.textureSlot, GL_REPEAT);
        g.unit0Border = false;
        a.textureSlot = s.textureSlot;
    }
    if (s.texturing != Toggle::Keep) g.texturing = s.texturing == Toggle::On;
    setToggle(GL_CULL_FACE, s.cull, a.cull);
    setToggle(GL_BLEND, s.blend, a.blend);
    if (s.setsLight) g.light = s.light;
    if (s.depthPacking) g.fragment[4] = {-0.390625f, 2.56f, 0, 0};
}

// The program of the draw with everything it reads from the state.
const GlslProgramObject& useProgram(GpuResources& gpu, ProgramPair pair) {
    const GlslState& s = gpu.glslState;
    const GlslProgramObject& p = useGlslProgram(gpu, programOf(pair));
    setMatrixUniforms(p, s);
    setUniform(p, GlslUniform::Light, s.light);
    setUniform(p, GlslUniform::Material, s.fragment[0]);
    setUniform(p, GlslUniform::SpecularColour, s.fragment[1]);
    setUniform(p, GlslUniform::SpecularParams, s.fragment[2]);
    setUniform(p, GlslUniform::SurfaceParams, s.fragment[3]);
    setUniform(p, GlslUniform::DepthPacking, s.fragment[4]);
    setUniform(p, GlslUniform::Texturing, s.texturing ? 1 : 0);
    setUniform(p, GlslUniform::Border, s.unit0Border ? 1 : 0);
    return p;
}

// A mesh as four arrays (3 floats of position, normal and tangent, 2 of
// texture coordinate per vertex) and its triangles.
struct MeshArrays {
    const float* positions;
    const float* normals;
    const float* tangents;
    const float* texCoords;
    size_t vertices;
    const std::vector<uint32_t>& indices;
};

void drawMeshArrays(const GpuResources& gpu, const MeshArrays& m) {
    const GlslObjects& g = gpu.glsl;
    const size_t three = m.vertices * 3 * sizeof(float), two = m.vertices * 2 * sizeof(float);
    glBindVertexArray(g.meshArray);
    glBindBuffer(GL_ARRAY_BUFFER, g.meshBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(3 * three + two), nullptr, GL_STREAM_DRAW);
    const float* arrays[4] = {m.positions, m.normals, m.tangents, m.texCoords};
    size_t offset = 0;
    for (GLuint attribute = 0; attribute < 4; ++attribute) {
        const size_t bytes = attribute == 3 ? two : three;
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes), arrays[attribute]);
        glEnableVertexAttribArray(attribute);
        glVertexAttribPointer(attribute, attribute == 3 ? 2 : 3, GL_FLOAT, GL_FALSE, 0,
                              reinterpret_cast<const void*>(offset));
        offset += bytes;
    }
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(m.indices.size() * sizeof(uint32_t)), m.indices.data(),
                 GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(m.indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

// The quad (a, b, d, c) of a quad strip's vertices a, b, c, d as two
// triangles split along b-c, as the GL splits them.
void addStripQuad(std::vector<uint32_t>& out, uint32_t a) {
    out.insert(out.end(), {a, a + 1, a + 3, a, a + 3, a + 2});
}

void drawShapeMesh(GpuResources& gpu, const Draw& d, FrameScratch& scratch) {
    if (d.segments <= 0) return;
    ShapeMesh& mesh = scratch.mesh;
    buildShapeMesh(shapeGeometryOf(d), mesh);
    std::vector<uint32_t>& indices = scratch.glslIndices;
    indices.clear();
    const uint32_t perStrip = 2 * static_cast<uint32_t>(d.segments + 1);
    for (uint32_t i = 0; i < static_cast<uint32_t>(d.segments); ++i)
        for (uint32_t j = 0; j < static_cast<uint32_t>(d.segments); ++j) addStripQuad(indices, i * perStrip + 2 * j);
    drawMeshArrays(gpu, {mesh.positions.data(), mesh.normals.data(), mesh.tangents.data(), mesh.texCoords.data(),
                         mesh.positions.size() / 3, indices});
}

void drawBoxMesh(GpuResources& gpu, const Draw& d, FrameScratch& scratch) {
    const auto vertices = boxMeshVertices(d.mesh == MeshKind::BoxInside,
                                          {d.meshScale[0], d.meshScale[1], d.meshScale[2]}, d.texCoordScale);
    const size_t n = vertices.size();
    std::vector<float>& f = scratch.glslVertices;
    f.resize(n * 11);
    float* positions = f.data();
    float* normals = positions + 3 * n;
    float* tangents = normals + 3 * n;
    float* texCoords = tangents + 3 * n;
    for (size_t i = 0; i < n; ++i) {
        const BoxVertex& v = vertices[i];
        // Normal and tangent are the face's, given with its first corner.
        const BoxVertex& face = vertices[i - i % 4];
        const float p[3] = {v.position.x, v.position.y, v.position.z};
        const float nn[3] = {face.normal.x, face.normal.y, face.normal.z};
        const float t[3] = {face.tangent.x, face.tangent.y, face.tangent.z};
        std::memcpy(positions + 3 * i, p, sizeof p);
        std::memcpy(normals + 3 * i, nn, sizeof nn);
        std::memcpy(tangents + 3 * i, t, sizeof t);
        texCoords[2 * i] = v.s;
        texCoords[2 * i + 1] = v.t;
    }
    // GL_QUADS: corners 0 1 2 3 as the triangles 0 1 3 and 1 2 3.
    std::vector<uint32_t>& indices = scratch.glslIndices;
    indices.clear();
    for (uint32_t q = 0; q < n / 4; ++q) {
        const uint32_t a = 4 * q;
        indices.insert(indices.end(), {a, a + 1, a + 3, a + 1, a + 2, a + 3});
    }
    drawMeshArrays(gpu, {positions, normals, tangents, texCoords, n, indices});
    // What glColor3f and glTexCoord2f left current.
    const BoxVertex& last = vertices[n - 1];
    const BoxVertex& lastFace = vertices[n - 4];
    gpu.glslState.colour = {lastFace.tangent.x, lastFace.tangent.y, lastFace.tangent.z, 1};
    gpu.glslState.texCoord = {last.s, last.t, 0, 1};
}

// The mesh under the draw's model transform, on top of the current
// modelview matrix (left as it was).
void drawMesh(GpuResources& gpu, const Draw& d, FrameScratch& scratch) {
    MatrixStack& modelview = gpu.glslState.modelview;
    const bool transformed = d.model != identityModel() && modelview.push();
    if (transformed) modelview.multiply(d.model);
    useProgram(gpu, d.program);
    if (d.mesh == MeshKind::Shape) drawShapeMesh(gpu, d, scratch);
    else drawBoxMesh(gpu, d, scratch);
    if (transformed) modelview.pop();
}

// Each stroke loads the modelview the plan started with times the stroke's
// transform; the last one stays in force. Every segment is a quad of six
// vertices (from, to, corner).
void drawLines(GpuResources& gpu, const Draw& d, FrameScratch& scratch) {
    const LineBatch& b = d.lines;
    GlslState& s = gpu.glslState;
    s.colour = {d.colour[0], d.colour[1], d.colour[2], 1};
    const Matrix4f base = s.modelview.current();
    static constexpr float kCorners[6][2] = {{0, -1}, {1, -1}, {0, 1}, {0, 1}, {1, -1}, {1, 1}};
    std::vector<float>& f = scratch.glslVertices;
    f.clear();
    for (size_t k = 0; k + 1 < b.vertices.size(); k += 2) {
        const Vec3& from = b.vertices[k];
        const Vec3& to = b.vertices[k + 1];
        for (const auto& c : kCorners) f.insert(f.end(), {from.x, from.y, from.z, to.x, to.y, to.z, c[0], c[1]});
    }
    glBindVertexArray(gpu.glsl.lineArray);
    glBindBuffer(GL_ARRAY_BUFFER, gpu.glsl.lineBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(f.size() * sizeof(float)), f.data(), GL_STREAM_DRAW);
    constexpr GLsizei kStride = 8 * sizeof(float);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, kStride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, kStride, reinterpret_cast<const void*>(3 * sizeof(float)));
    glEnableVertexAttribArray(4);
    glVertexAttribPointer(4, 2, GL_FLOAT, GL_FALSE, kStride, reinterpret_cast<const void*>(6 * sizeof(float)));
    glVertexAttrib4fv(2, s.colour.data());
    glVertexAttrib4fv(3, s.texCoord.data());
    const auto& viewport = s.viewport;
    for (const LineStroke& stroke : b.strokes) {
        s.modelview.load(multiplyModel(base, stroke.model));
        const GlslProgramObject& p = useGlslProgram(gpu, GlslProgramId::Line);
        setMatrixUniforms(p, s);
        setUniform(p, GlslUniform::Texturing, s.texturing ? 1 : 0);
        setUniform(p, GlslUniform::Border, s.unit0Border ? 1 : 0);
        setUniform(p, GlslUniform::Viewport,
                   std::array<float, 4>{static_cast<float>(viewport[0]), static_cast<float>(viewport[1]),
                                        static_cast<float>(viewport[2]), static_cast<float>(viewport[3])});
        setUniform(p, GlslUniform::LineHalfWidth, 0.5f * b.width);
        glDrawArrays(GL_TRIANGLES, 3 * stroke.first, 3 * stroke.count);
    }
    glBindVertexArray(0);
}

}  // namespace

void executeGlslPlan(const DrawPlan& plan, GpuResources& gpu, FrameScratch& scratch) {
    GlslState& s = gpu.glslState;
    if (plan.loadsCamera) {
        s.projection.load(toMatrix4f(plan.projection));
        s.modelview.load(toMatrix4f(plan.view));
    }
    Applied applied;
    for (const Draw& d : plan.draws) {
        applyState(gpu, d, applied);
        if (d.mesh == MeshKind::Lines) {
            drawLines(gpu, d, scratch);
            continue;
        }
        s.fragment[0] = d.colour;
        s.fragment[1] = d.specularColour;
        s.fragment[2] = d.specularParams;
        s.fragment[3] = d.surfaceParams;
        drawMesh(gpu, d, scratch);
    }
    glUseProgram(0);
}

}  // namespace vortel
