#include "gfx/gl_helpers.h"

#include <cmath>

#include "core/demo_state.h"
#include "gfx/gl_api.h"

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

void bindTextureSlot(int slot, uint32_t wrap) {
    // A slot outside the table binds the default texture instead of reading
    // past the end of it.
    GLuint name = (slot >= 0 && slot < kTextureSlotCount) ? demo().textureSlots[slot] : 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void drawTextureQuad(int slot, uint32_t wrap) {
    bindTextureSlot(slot, wrap);
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

Mat4 cameraProjectionMatrix() { return perspectiveMatrix(90.0, 1.0, 0.01, 1000.0); }

Mat4 cameraViewMatrix() {
    const DemoState& s = demo();
    // Each eye coordinate is stored as a float before use, like the fields.
    auto along = [&](float from, float to) {
        return static_cast<double>(static_cast<float>(
            static_cast<double>(from) + static_cast<double>(s.cameraDolly) * (static_cast<double>(to) - from)));
    };
    Point3d eye{along(s.cameraFrom.x, s.cameraTarget.x), along(s.cameraFrom.y, s.cameraTarget.y),
                along(s.cameraFrom.z, s.cameraTarget.z)};
    Point3d target{s.cameraTarget.x, s.cameraTarget.y, s.cameraTarget.z};
    return lookAtMatrix(eye, target, Point3d{0, 1, 0});
}

void applyCamera() {
    Mat4 projection = cameraProjectionMatrix();
    Mat4 view = cameraViewMatrix();
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view.data());
}

void setShaderDefaults() {
    DemoState& s = demo();
    s.specularColour = {1.5f, 1.4f, 1.1f, 1.0f};
    s.specularParams = {32.0f, -1.0f, 0.5f, -1.0f};
    s.surfaceParams = {-2.0f, 0.5f, 0.01f, -0.005f};
    s.texCoordScale[0] = 0.25f;
    s.texCoordScale[1] = 0.25f;
}

float signedPower(int32_t n, float x, bool keepSign) {
    double sign = x > 0 ? 1.0 : -1.0;
    double a = std::fabs(static_cast<double>(x));
    double result = a;
    for (int32_t i = 1; i < n; ++i) result *= a;
    if (keepSign) result *= sign;
    return static_cast<float>(result);
}

}  // namespace vortel
