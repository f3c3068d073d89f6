#include "gfx/glsl_programs.h"

#include <cstdio>
#include <vector>

#include "gfx/gl_helpers.h"
#include "gfx/glsl_api.h"

namespace vortel {

namespace {

constexpr const char* kUniformNames[kGlslUniformCount] = {
    "u_mvp",           "u_modelview",      "u_invTrans",      "u_light",         "u_material",
    "u_specularColour", "u_specularParams", "u_surfaceParams", "u_depthPacking", "u_blur",
    "u_texturing",     "u_viewport",       "u_lineHalfWidth", "u_border",
};

// GL's log on one line: line breaks become blanks, trailing blanks go.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
    return text.empty() ? "no message" : text;
}

GLuint compileShader(GLenum stage, const std::string& header, const char* body, std::string* log) {
    const GLuint shader = glCreateShader(stage);
    const char* parts[2] = {header.c_str(), body};
    glShaderSource(shader, 2, parts, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return shader;
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string text(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(text.size()), nullptr, text.data());
    *log = oneLine(text);
    glDeleteShader(shader);
    return 0;
}

// The four corners of the viewport quad in GL_QUADS order, each position
// (x, y) then texture coordinate (s, t); drawn as a fan.
constexpr float kQuadVertices[16] = {-1, -1, 0, 0, 1, -1, 1, 0, 1, 1, 1, 1, -1, 1, 0, 1};

void makeQuad(GlslObjects& g) {
    glGenVertexArrays(1, &g.quadArray);
    glGenBuffers(1, &g.quadBuffer);
    glBindVertexArray(g.quadArray);
    glBindBuffer(GL_ARRAY_BUFFER, g.quadBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof kQuadVertices, kQuadVertices, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), reinterpret_cast<const void*>(2 * sizeof(float)));
    glBindVertexArray(0);
}

}  // namespace

std::string glslVersionHeader(bool es) {
    if (es) return "#version 300 es\nprecision highp float;\nprecision highp int;\nprecision highp sampler2D;\n";
    return "#version 330 core\n";
}

GlslProgramObject buildGlslProgram(const GlslProgramSource& source, const std::string& header, std::string* error) {
    GlslProgramObject p;
    p.uniforms.fill(-1);
    std::string log;
    const GLuint vs = compileShader(GL_VERTEX_SHADER, header, source.vertex, &log);
    if (!vs) {
        if (error) *error = std::string("GLSL program ") + source.name + ": the vertex shader does not compile: " + log;
        return p;
    }
    const GLuint fs = compileShader(GL_FRAGMENT_SHADER, header, source.fragment, &log);
    if (!fs) {
        glDeleteShader(vs);
        if (error) *error = std::string("GLSL program ") + source.name + ": the fragment shader does not compile: " + log;
        return p;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        GLint length = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        std::string text(static_cast<size_t>(length > 0 ? length : 1), '\0');
        glGetProgramInfoLog(program, static_cast<GLsizei>(text.size()), nullptr, text.data());
        glDeleteProgram(program);
        if (error) *error = std::string("GLSL program ") + source.name + " does not link: " + oneLine(text);
        return p;
    }
    p.name = program;
    for (int u = 0; u < kGlslUniformCount; ++u)
        p.uniforms[static_cast<size_t>(u)] = glGetUniformLocation(program, kUniformNames[u]);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "u_texture0"), 0);
    glUniform1i(glGetUniformLocation(program, "u_texture1"), 1);
    glUseProgram(0);
    if (error) error->clear();
    return p;
}

bool createGlslObjects(GpuResources& gpu) {
    GlslObjects& g = gpu.glsl;
    if (!glApiLoaded()) {
        std::fprintf(stderr, "vortel: GLSL programs not created: the OpenGL entry points are not loaded\n");
        return false;
    }
    bool allBuilt = true;
    const std::string header = glslVersionHeader(contextIsEs());
    for (int i = 0; i < kGlslProgramCount; ++i) {
        std::string error;
        g.programs[static_cast<size_t>(i)] =
            buildGlslProgram(glslProgramSource(static_cast<GlslProgramId>(i)), header, &error);
        if (!error.empty()) {
            std::fprintf(stderr, "vortel: %s\n", error.c_str());
            allBuilt = false;
        }
    }
    makeQuad(g);
    glGenVertexArrays(1, &g.meshArray);
    glGenBuffers(1, &g.meshBuffer);
    glGenBuffers(1, &g.meshIndices);
    glBindVertexArray(g.meshArray);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.meshIndices);
    glBindVertexArray(0);
    glGenVertexArrays(1, &g.lineArray);
    glGenBuffers(1, &g.lineBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return allBuilt;
}

void deleteGlslObjects(GpuResources& gpu) {
    GlslObjects& g = gpu.glsl;
    if (glApiLoaded() && glDeleteProgram) {
        for (const GlslProgramObject& p : g.programs)
            if (p.name) glDeleteProgram(p.name);
        const GLuint arrays[3] = {g.meshArray, g.quadArray, g.lineArray};
        glDeleteVertexArrays(3, arrays);
        const GLuint buffers[4] = {g.meshBuffer, g.meshIndices, g.quadBuffer, g.lineBuffer};
        glDeleteBuffers(4, buffers);
    }
    g = GlslObjects{};
}

const GlslProgramObject& useGlslProgram(const GpuResources& gpu, GlslProgramId id) {
    const GlslProgramObject& p = gpu.glsl.programs[static_cast<size_t>(id)];
    glUseProgram(p.name);
    return p;
}

namespace {

GLint location(const GlslProgramObject& p, GlslUniform u) { return p.uniforms[static_cast<size_t>(u)]; }

}  // namespace

void setUniform(const GlslProgramObject& p, GlslUniform u, const Matrix4f& m) {
    if (const GLint at = location(p, u); at >= 0) glUniformMatrix4fv(at, 1, GL_FALSE, m.data());
}

void setUniform(const GlslProgramObject& p, GlslUniform u, const std::array<float, 4>& v) {
    if (const GLint at = location(p, u); at >= 0) glUniform4fv(at, 1, v.data());
}

void setUniform(const GlslProgramObject& p, GlslUniform u, float v) {
    if (const GLint at = location(p, u); at >= 0) glUniform1f(at, v);
}

void setUniform(const GlslProgramObject& p, GlslUniform u, int v) {
    if (const GLint at = location(p, u); at >= 0) glUniform1i(at, v);
}

void setMatrixUniforms(const GlslProgramObject& p, const GlslState& s) {
    const Matrix4f& modelview = s.modelview.current();
    setUniform(p, GlslUniform::Mvp, multiplyMatrices(s.projection.current(), modelview));
    setUniform(p, GlslUniform::Modelview, modelview);
    if (location(p, GlslUniform::InvTrans) >= 0) setUniform(p, GlslUniform::InvTrans, inverseTranspose(modelview));
}

void setGlslViewport(GpuResources& gpu, int x, int y, int width, int height) {
    glViewport(x, y, width, height);
    gpu.glslState.viewport = {x, y, width, height};
}

void resetGlslRenderState(GpuResources& gpu) {
    GlslState& s = gpu.glslState;
    setGlslViewport(gpu, 0, 0, kWorkingAreaSize, kWorkingAreaSize);
    s.texturing = true;
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);
    s.projection.loadIdentity();
    s.modelview.loadIdentity();
    glDisable(GL_BLEND);
    s.colour = {1, 1, 1, 1};
}

void drawGlslViewportQuad(GpuResources& gpu) {
    GlslState& s = gpu.glslState;
    const GlslProgramObject& p = useGlslProgram(gpu, GlslProgramId::Fixed);
    setMatrixUniforms(p, s);
    setUniform(p, GlslUniform::Texturing, s.texturing ? 1 : 0);
    setUniform(p, GlslUniform::Border, 0);  // texel centres: the edge is never reached
    glVertexAttrib4fv(2, s.colour.data());
    glBindVertexArray(gpu.glsl.quadArray);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    glBindVertexArray(0);
    s.texCoord = {0, 1, 0, 1};
}

}  // namespace vortel
