#include "gfx/gl_state.h"

#include "gfx/gl_api.h"
#include "gfx/glsl_api.h"

namespace vortel {

uint32_t nextGlError() { return glGetError(); }

const char* errorName(uint32_t error) {
    switch (error) {
    case GL_INVALID_ENUM: return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE: return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION: return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW: return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW: return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY: return "GL_OUT_OF_MEMORY";
    default: return "GL error";
    }
}

namespace {

constexpr GLenum kUnits[2] = {GL_TEXTURE0_ARB, GL_TEXTURE1_ARB};
constexpr GLenum kParams[4] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER};

}  // namespace

SavedBindings::SavedBindings(Renderer renderer) : renderer_(renderer) {
    const auto activeTexture = renderer == Renderer::Glsl ? glActiveTexture : glActiveTextureARB;
    for (int u = 0; u < 2; ++u) {
        activeTexture(kUnits[u]);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &units_[u].texture);
        for (int i = 0; i < 4; ++i) glGetTexParameteriv(GL_TEXTURE_2D, kParams[i], &units_[u].params[i]);
        activeTexture(GL_TEXTURE0_ARB);
    }
    if (renderer == Renderer::Glsl) return;
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord_);
    glGetFloatv(GL_CURRENT_COLOR, colour_);
}

void SavedBindings::restore() const {
    const auto activeTexture = renderer_ == Renderer::Glsl ? glActiveTexture : glActiveTextureARB;
    for (int u = 1; u >= 0; --u) {
        activeTexture(kUnits[u]);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(units_[u].texture));
        for (int i = 0; i < 4; ++i) glTexParameteri(GL_TEXTURE_2D, kParams[i], units_[u].params[i]);
        activeTexture(GL_TEXTURE0_ARB);
    }
    if (renderer_ == Renderer::Glsl) return;
    glTexCoord4fv(texCoord_);
    glColor4fv(colour_);
}

void drawIntoNothing() {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
}

void drawIntoEverything() { glDisable(GL_SCISSOR_TEST); }

void finishGl() { glFinish(); }

}  // namespace vortel
