#include "app/screenshot.h"

#include <cstdio>

#include "gfx/read_back.h"
#include "io/new_file.h"
#include "io/png_image.h"

namespace vortel {

std::string screenshotStem(int32_t seed, float songTime) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "vortel-%d-%.3f", seed, static_cast<double>(songTime));
    return buf;
}

std::vector<uint8_t> readBackBufferRgb(int width, int height) { return backBufferRgb(width, height); }

bool saveScreenshot(const std::string& folder, const std::string& stem, int width, int height, std::string* name,
                    std::string* why) {
    std::vector<uint8_t> png;
    if (!encodePng(width, height, readBackBufferRgb(width, height), &png, why)) return false;
    return writeNewFile(folder, stem, ".png", png, name, why);
}

}  // namespace vortel
