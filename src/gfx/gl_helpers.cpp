#include "gfx/gl_helpers.h"

#include <cmath>

#include "gfx/gl_api.h"
#include "gfx/textures.h"

namespace vortel {

void resetRenderState() {
    glViewport(0, 0, kWorkingAreaSize, kWorkingAreaSize);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glColor3ub(255, 255, 255);
    glDisable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void bindTextureSlot(const GpuResources& gpu, int slot, uint32_t wrap) {
    // A slot outside the table binds the default texture instead of reading
    // past the end of it.
    GLuint name = (slot >= 0 && slot < kTextureSlotCount) ? gpu.textureSlots[static_cast<size_t>(slot)] : 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void readWorkingArea(bool bgra, uint8_t* out) {
    glReadPixels(0, 0, kWorkingAreaSize, kWorkingAreaSize, bgra ? GL_BGRA : GL_RGBA, GL_UNSIGNED_BYTE, out);
}

void uploadGlowImage(bool bgra, const uint8_t* image) {
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kGlowSize, kGlowSize, bgra ? GL_BGRA : GL_RGBA,
                    bgra ? GL_UNSIGNED_INT_8_8_8_8_REV : GL_UNSIGNED_BYTE, image);
}

void drawTextureQuad(const GpuResources& gpu, int slot, uint32_t wrap) {
    bindTextureSlot(gpu, slot, wrap);
    drawViewportQuad();
}

void drawViewportQuad() {
    glBegin(GL_QUADS);
    glTexCoord2s(0, 0);
    glVertex2s(-1, -1);
    glTexCoord2s(1, 0);
    glVertex2s(1, -1);
    glTexCoord2s(1, 1);
    glVertex2s(1, 1);
    glTexCoord2s(0, 1);
    glVertex2s(-1, 1);
    glEnd();
}

void applyCamera(const Vec3& from, const Vec3& target, float dolly) {
    Mat4 projection = cameraProjectionMatrix();
    Mat4 view = cameraViewMatrix(from, target, dolly);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view.data());
}

}  // namespace vortel
