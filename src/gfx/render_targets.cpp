#include "gfx/render_targets.h"

#include <utility>

#include "core/demo_state.h"
#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/textures.h"

namespace vortel {

namespace {

struct Targets {
    bool ready = false;
    GLuint workingTexture = 0;
    GLuint depth = 0;
    GLuint workingFbo = 0;
    GLuint readFbo = 0;  // attached to whatever slot is read
    bool inWorkingArea = false;
};
Targets gTargets;

void setSampling(GLuint texture, uint32_t wrap) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// An empty texture in the slots' layout (B, G, R, A bytes).
GLuint makeTexture(int size) {
    GLuint t = 0;
    glGenTextures(1, &t);
    setSampling(t, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    return t;
}

GLuint makeFramebuffer(GLuint colour, GLuint depth) {
    GLuint fbo = 0;
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    return fbo;
}

GLenum depthFormat(GLint bits) {
    if (bits >= 32) return GL_DEPTH_COMPONENT32;
    if (bits >= 24) return GL_DEPTH_COMPONENT24;
    return GL_DEPTH_COMPONENT16;
}

}  // namespace

bool createRenderTargets(std::string* why) {
    gTargets = Targets{};  // names of an earlier context mean nothing here
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint depthBits = 24;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);

    Targets t;
    t.workingTexture = makeTexture(kWorkingAreaSize);
    glGenRenderbuffers(1, &t.depth);
    glBindRenderbuffer(GL_RENDERBUFFER, t.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, depthFormat(depthBits), kWorkingAreaSize, kWorkingAreaSize);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &t.readFbo);
    t.workingFbo = makeFramebuffer(t.workingTexture, t.depth);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    if (!complete) {
        if (why) *why = "the OpenGL driver cannot draw into textures (incomplete framebuffer)";
        return false;
    }
    t.ready = true;
    gTargets = t;
    return true;
}

bool renderTargetsReady() { return gTargets.ready; }

void bindWorkingArea() {
    glBindFramebuffer(GL_FRAMEBUFFER, gTargets.workingFbo);
    gTargets.inWorkingArea = true;
}

void bindWindow() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gTargets.inWorkingArea = false;
}

bool drawingIntoWorkingArea() { return gTargets.inWorkingArea; }

void exchangeWithWorkingArea(int slot) {
    std::swap(demo().textureSlots[static_cast<size_t>(slot)], gTargets.workingTexture);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, gTargets.workingTexture, 0);
}

void readFromSlot(int slot) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, gTargets.readFbo);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           demo().textureSlots[static_cast<size_t>(slot)], 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

void readFromWindow() {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, gTargets.inWorkingArea ? gTargets.workingFbo : 0);
}

uint32_t workingAreaTexture() { return gTargets.workingTexture; }

void setWorkingAreaTexture(uint32_t texture) {
    gTargets.workingTexture = texture;
    glBindFramebuffer(GL_FRAMEBUFFER, gTargets.workingFbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    bindWindow();
}

}  // namespace vortel
