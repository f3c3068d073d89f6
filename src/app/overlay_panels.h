#pragma once
// The text panels the live show lays over its picture: the information
// panel (I) and the key guide (H, F1), set in the show's font once shown
// and drawn again only when their text or size changes. Without the font
// the show goes on without them, saying so once.
#include <memory>
#include <string>
#include <vector>

#include "core/song_layout.h"
#include "gfx/overlay_image.h"
#include "platform/text_image.h"
#include "visuals/timeline/frame_log.h"

namespace vortel {

class OverlayPanels {
public:
    explicit OverlayPanels(std::string fontPath, Renderer renderer = Renderer::Arb)
        : fontPath_(std::move(fontPath)), infoImage_(renderer), guideImage_(renderer) {}

    bool infoShown() const { return info_; }
    bool guideShown() const { return guide_; }
    void toggleInfo() { info_ = !info_; }
    void toggleGuide() { guide_ = !guide_; }

    // Lays the shown panels over a window of `width` x `height`: the
    // information as of this frame (its actions from `actions`).
    void draw(const SongLayout& layout, float songTime, bool paused, const std::vector<ActionRecord>& actions, int width, int height);

    // The information panel's lines as last laid out (empty when not shown).
    const std::vector<std::string>& infoText() const { return infoText_; }

private:
    std::string fontPath_;
    bool info_ = false;
    bool guide_ = false;
    std::unique_ptr<TextRenderer> text_;
    bool fontTried_ = false;
    std::vector<std::string> infoText_, infoShownText_, guideShownText_;
    int infoSize_ = 0, guideSize_ = 0;
    OverlayImage infoImage_, guideImage_;
};

}  // namespace vortel
