#include "gfx/overlay_image.h"

#include "gfx/gl_api.h"
#include "gfx/glsl_api.h"

namespace vortel {

OverlayImage::~OverlayImage() {
    if (texture_) glDeleteTextures(1, &texture_);
    deleteGlslOverlay(glsl_);
}

void OverlayImage::upload(const uint8_t* rgba, int width, int height) {
    width_ = width;
    height_ = height;
    if (width <= 0 || height <= 0) return;
    const auto activeTexture = renderer_ == Renderer::Glsl ? glActiveTexture : glActiveTextureARB;
    GLint active = GL_TEXTURE0_ARB;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    activeTexture(GL_TEXTURE0_ARB);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    if (!texture_) glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // One texel to one pixel: nearest keeps the glyphs crisp.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    activeTexture(static_cast<GLenum>(active));
}

void OverlayImage::draw(int x, int y, int windowWidth, int windowHeight) const {
    if (!texture_ || width_ <= 0 || height_ <= 0 || windowWidth <= 0 || windowHeight <= 0) return;
    if (renderer_ == Renderer::Glsl) {
        drawGlslOverlay(glsl_, texture_, x, y, width_, height_, windowWidth, windowHeight);
        return;
    }
    GLint active = GL_TEXTURE0_ARB;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    // Everything this changes comes back below: enables (programs included),
    // blending, viewport, colour, texture bindings and environment.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT |
                 GL_DEPTH_BUFFER_BIT | GL_TRANSFORM_BIT);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, windowWidth, windowHeight, 0, -1, 1);  // window pixels, y down
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glDisable(GL_VERTEX_PROGRAM_ARB);
    glDisable(GL_FRAGMENT_PROGRAM_ARB);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glViewport(0, 0, windowWidth, windowHeight);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4ub(255, 255, 255, 255);
    const float x0 = static_cast<float>(x), y0 = static_cast<float>(y);
    const float x1 = x0 + static_cast<float>(width_), y1 = y0 + static_cast<float>(height_);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y0);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y0);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y1);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y1);
    glEnd();

    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    glActiveTextureARB(static_cast<GLenum>(active));
}

}  // namespace vortel
