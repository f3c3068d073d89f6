#include "app/overlay_panels.h"

#include <algorithm>
#include <cstdio>

#include "app/overlay_text.h"

namespace vortel {

void OverlayPanels::draw(const SongLayout& layout, float songTime, bool paused, const std::vector<ActionRecord>& actions, int width,
                         int height) {
    infoText_.clear();
    if (!info_ && !guide_) return;
    infoText_ = info_ ? infoLines(layout, songTime, paused, actions) : std::vector<std::string>{};
    if (!fontTried_) {
        fontTried_ = true;
        std::string why;
        text_ = TextRenderer::open(fontPath_, &why);
        if (!text_) std::fprintf(stderr, "vortel: %s; the show goes on without text on screen\n", why.c_str());
    }
    if (!text_) return;
    // Legible from 800 x 600 up to a full screen: the text grows with the window.
    const int size = std::max(14, height / 40);
    const int margin = size / 2 + 4;
    if (info_ && (infoText_ != infoShownText_ || size != infoSize_)) {
        RgbaImage panel = text_->renderPanel(infoText_, size);
        infoImage_.upload(panel.pixels.data(), panel.width, panel.height);
        infoShownText_ = infoText_;
        infoSize_ = size;
    }
    const std::vector<std::string> guide = guide_ ? guideLines() : std::vector<std::string>{};
    if (guide_ && (guide != guideShownText_ || size != guideSize_)) {
        RgbaImage panel = text_->renderPanel(guide, size);
        guideImage_.upload(panel.pixels.data(), panel.width, panel.height);
        guideShownText_ = guide;
        guideSize_ = size;
    }
    if (info_) infoImage_.draw(margin, margin, width, height);
    if (guide_) {
        int x = width - guideImage_.width() - margin, y = margin;
        // Side by side when there is room, else the guide below the information.
        if (info_ && x < margin + infoImage_.width() + margin) y = margin + infoImage_.height() + margin;
        guideImage_.draw(std::max(margin, x), y, width, height);
    }
}

}  // namespace vortel
