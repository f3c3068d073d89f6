#include "offline/contact_sheet.h"

#include <cstring>

#include "offline/offline_show.h"

namespace vortel {

std::vector<uint8_t> shrinkRgb(const std::vector<uint8_t>& rgb, int width, int height, int w, int h) {
    const int fx = width / w, fy = height / h;
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < fy; ++dy)
                    for (int dx = 0; dx < fx; ++dx)
                        sum += rgb[(static_cast<size_t>(y * fy + dy) * width + x * fx + dx) * 3 + c];
                out[(static_cast<size_t>(y) * w + x) * 3 + c] = static_cast<uint8_t>((sum + fx * fy / 2) / (fx * fy));
            }
    return out;
}

std::vector<uint8_t> renderContactSheet(const SongLayout& layout, std::string* why,
                                        const std::function<bool()>& carryOn) {
    auto show = OfflineShow::open(layout, why);
    if (!show) return {};
    const double span = 32.0 * layout.stepLength;
    std::vector<uint8_t> sheet(static_cast<size_t>(kSheetWidth) * kSheetHeight * 3, 24);
    for (int i = 0; i < kSheetColumns * kSheetRows; ++i) {
        if (!show->renderStill(static_cast<float>((i + 0.5) * span), carryOn)) {
            *why = "interrupted";
            return {};
        }
        const std::vector<uint8_t> thumb =
            shrinkRgb(show->readRgb(), show->width(), show->height(), kThumbWidth, kThumbHeight);
        const int x0 = kSheetGutter + (i % kSheetColumns) * (kThumbWidth + kSheetGutter);
        const int y0 = kSheetGutter + (i / kSheetColumns) * (kThumbHeight + kSheetGutter);
        for (int y = 0; y < kThumbHeight; ++y)
            std::memcpy(&sheet[(static_cast<size_t>(y0 + y) * kSheetWidth + x0) * 3],
                        &thumb[static_cast<size_t>(y) * kThumbWidth * 3], static_cast<size_t>(kThumbWidth) * 3);
    }
    return sheet;
}

}  // namespace vortel
