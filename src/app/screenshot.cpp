#include "app/screenshot.h"

#include <cstdio>
#include <cstring>

#include "gfx/gl_api.h"
#include "io/new_file.h"
#include "io/png_image.h"

namespace vortel {

std::string screenshotStem(int32_t seed, float songTime) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "vortel-%d-%.3f", seed, static_cast<double>(songTime));
    return buf;
}

std::vector<uint8_t> readBackBufferRgb(int width, int height) {
    const size_t row = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> bottomUp(row * height), topDown(row * height);
    GLint alignment = 4, readBuffer = GL_BACK;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glReadBuffer(static_cast<GLenum>(readBuffer));
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    for (int y = 0; y < height; ++y) std::memcpy(&topDown[y * row], &bottomUp[(height - 1 - y) * row], row);
    return topDown;
}

bool saveScreenshot(const std::string& folder, const std::string& stem, int width, int height, std::string* name,
                    std::string* why) {
    std::vector<uint8_t> png;
    if (!encodePng(width, height, readBackBufferRgb(width, height), &png, why)) return false;
    return writeNewFile(folder, stem, ".png", png, name, why);
}

}  // namespace vortel
