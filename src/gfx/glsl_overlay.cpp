#include "gfx/glsl_overlay.h"

#include <array>
#include <cstdio>
#include <string>

#include "gfx/glsl_api.h"
#include "gfx/glsl_programs.h"

namespace vortel {

namespace {

// Corner k of the quad (a strip: top-left, top-right, bottom-left,
// bottom-right) from gl_VertexID; texture row 0 at the top.
constexpr const char* kOverlayVS = R"(
uniform vec4 u_rect;
uniform vec2 u_window;
out vec2 v_texCoord;
void main() {
    vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
    vec2 pixel = u_rect.xy + corner * u_rect.zw;
    gl_Position = vec4(pixel.x / u_window.x * 2.0 - 1.0, 1.0 - pixel.y / u_window.y * 2.0, 0.0, 1.0);
    v_texCoord = corner;
}
)";

constexpr const char* kOverlayFS = R"(
in vec2 v_texCoord;
uniform sampler2D u_texture0;
layout(location = 0) out vec4 o_colour;
void main() {
    o_colour = texture(u_texture0, v_texCoord);
}
)";

bool make(GlslOverlayObjects& o) {
    std::string error;
    const GlslProgramObject p =
        buildGlslProgram({"Overlay", kOverlayVS, kOverlayFS}, glslVersionHeader(contextIsEs()), &error);
    if (!p.name) {
        std::fprintf(stderr, "vortel: %s\n", error.c_str());
        return false;
    }
    o.program = p.name;
    o.rectLocation = glGetUniformLocation(p.name, "u_rect");
    o.windowLocation = glGetUniformLocation(p.name, "u_window");
    glGenVertexArrays(1, &o.vertexArray);
    return true;
}

// What the overlay changes, as it was.
struct Saved {
    GLint program = 0, vertexArray = 0, active = GL_TEXTURE0, texture = 0;
    GLint blendSource = GL_ONE, blendDestination = GL_ZERO;
    GLint viewport[4] = {};
    GLboolean blend = GL_FALSE, depthTest = GL_FALSE, cull = GL_FALSE;

    Saved() {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        glActiveTexture(GL_TEXTURE0);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
        glGetIntegerv(GL_BLEND_SRC_RGB, &blendSource);
        glGetIntegerv(GL_BLEND_DST_RGB, &blendDestination);
        glGetIntegerv(GL_VIEWPORT, viewport);
        blend = glIsEnabled(GL_BLEND);
        depthTest = glIsEnabled(GL_DEPTH_TEST);
        cull = glIsEnabled(GL_CULL_FACE);
    }

    static void set(GLenum capability, GLboolean on) {
        if (on) glEnable(capability);
        else glDisable(capability);
    }

    void restore() const {
        set(GL_BLEND, blend);
        set(GL_DEPTH_TEST, depthTest);
        set(GL_CULL_FACE, cull);
        glBlendFunc(static_cast<GLenum>(blendSource), static_cast<GLenum>(blendDestination));
        glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        glActiveTexture(static_cast<GLenum>(active));
        glBindVertexArray(static_cast<GLuint>(vertexArray));
        glUseProgram(static_cast<GLuint>(program));
    }
};

}  // namespace

bool drawGlslOverlay(GlslOverlayObjects& o, uint32_t texture, int x, int y, int width, int height, int windowWidth,
                     int windowHeight) {
    if (!o.program && !make(o)) return false;
    const Saved saved;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glViewport(0, 0, windowWidth, windowHeight);
    glBindTexture(GL_TEXTURE_2D, texture);
    glUseProgram(o.program);
    glUniform4fv(o.rectLocation, 1,
                 std::array<float, 4>{static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                                      static_cast<float>(height)}
                     .data());
    glUniform2f(o.windowLocation, static_cast<float>(windowWidth), static_cast<float>(windowHeight));
    glBindVertexArray(o.vertexArray);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    saved.restore();
    return true;
}

void deleteGlslOverlay(GlslOverlayObjects& o) {
    if (o.program && glDeleteProgram) glDeleteProgram(o.program);
    if (o.vertexArray && glDeleteVertexArrays) glDeleteVertexArrays(1, &o.vertexArray);
    o = GlslOverlayObjects{};
}

}  // namespace vortel
