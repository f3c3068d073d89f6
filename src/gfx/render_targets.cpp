#include "gfx/render_targets.h"

#include <utility>

#include "gfx/gl_api.h"
#include "gfx/gl_helpers.h"
#include "gfx/textures.h"

namespace vortel {

namespace {

void setSampling(GLuint texture, uint32_t wrap) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// An empty texture in the slots' layout (B, G, R, A bytes; R, G, B, A for
// the GLSL renderer, as OpenGL ES has it).
GLuint makeTexture(int size, Renderer renderer) {
    GLuint t = 0;
    glGenTextures(1, &t);
    setSampling(t, GL_REPEAT);
    if (renderer == Renderer::Glsl)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    else
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

GLenum depthFormat(GLint bits, Renderer renderer) {
    // OpenGL ES has no 32-bit integer depth.
    if (bits >= 32 && renderer == Renderer::Arb) return GL_DEPTH_COMPONENT32;
    if (bits >= 24) return GL_DEPTH_COMPONENT24;
    return GL_DEPTH_COMPONENT16;
}

}  // namespace

bool createRenderTargets(GpuResources& gpu, std::string* why) {
    gpu.targets = RenderTargets{};
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint depthBits = 24;
    if (gpu.renderer == Renderer::Arb) glGetIntegerv(GL_DEPTH_BITS, &depthBits);  // not a core query
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);

    RenderTargets t;
    t.workingTexture = makeTexture(kWorkingAreaSize, gpu.renderer);
    glGenRenderbuffers(1, &t.depth);
    glBindRenderbuffer(GL_RENDERBUFFER, t.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, depthFormat(depthBits, gpu.renderer), kWorkingAreaSize, kWorkingAreaSize);
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
    gpu.targets = t;
    return true;
}

void deleteRenderTargets(GpuResources& gpu) {
    RenderTargets& t = gpu.targets;
    if (glApiLoaded() && t.workingFbo != 0) {
        if (t.inWorkingArea) glBindFramebuffer(GL_FRAMEBUFFER, 0);
        const GLuint fbos[2] = {t.workingFbo, t.readFbo};
        glDeleteFramebuffers(2, fbos);
        glDeleteRenderbuffers(1, &t.depth);
        glDeleteTextures(1, &t.workingTexture);
    }
    t = RenderTargets{};
}

void bindWorkingArea(GpuResources& gpu) {
    glBindFramebuffer(GL_FRAMEBUFFER, gpu.targets.workingFbo);
    gpu.targets.inWorkingArea = true;
}

void bindWindow(GpuResources& gpu) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    gpu.targets.inWorkingArea = false;
}

bool drawingIntoWorkingArea(const GpuResources& gpu) { return gpu.targets.inWorkingArea; }

void exchangeWithWorkingArea(GpuResources& gpu, int slot) {
    std::swap(gpu.textureSlots[static_cast<size_t>(slot)], gpu.targets.workingTexture);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, gpu.targets.workingTexture, 0);
}

void attachWorkingArea(GpuResources& gpu) {
    glBindFramebuffer(GL_FRAMEBUFFER, gpu.targets.workingFbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, gpu.targets.workingTexture, 0);
    bindWindow(gpu);
}

void readFromSlot(const GpuResources& gpu, int slot) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, gpu.targets.readFbo);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           gpu.textureSlots[static_cast<size_t>(slot)], 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

void readFromWindow(const GpuResources& gpu) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, gpu.targets.inWorkingArea ? gpu.targets.workingFbo : 0);
}

}  // namespace vortel
