#include "gfx/read_back.h"

#include <cstring>

#include "gfx/gl_api.h"

namespace vortel {

void readFromBackBufferPacked() {
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

bool packsTopRowFirst() {
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    // A core context has no such list (and records an error for asking):
    // its rows are turned over here.
    if (!extensions) {
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    return extensionListed(extensions, "GL_MESA_pack_invert");
}

namespace {

void turnOver(const uint8_t* bottomUp, size_t row, int h, uint8_t* out) {
    for (int y = 0; y < h; ++y)
        std::memcpy(out + static_cast<size_t>(y) * row, bottomUp + static_cast<size_t>(h - 1 - y) * row, row);
}

}  // namespace

void readPixelsTopRowFirst(int w, int h, uint32_t format, int bytesPerPixel, bool packInvert, uint8_t* out) {
    if (packInvert) {
        glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
        glReadPixels(0, 0, w, h, format, GL_UNSIGNED_BYTE, out);
        glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
        return;
    }
    const size_t row = static_cast<size_t>(w) * bytesPerPixel;
    std::vector<uint8_t> bottomUp(row * h);
    glReadPixels(0, 0, w, h, format, GL_UNSIGNED_BYTE, bottomUp.data());
    turnOver(bottomUp.data(), row, h, out);
}

std::vector<uint8_t> backBufferRgb(int w, int h) {
    const size_t row = static_cast<size_t>(w) * 3;
    std::vector<uint8_t> bottomUp(row * h), topDown(row * h);
    GLint alignment = 4, readBuffer = GL_BACK;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glReadBuffer(static_cast<GLenum>(readBuffer));
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    turnOver(bottomUp.data(), row, h, topDown.data());
    return topDown;
}

}  // namespace vortel
