#pragma once
// Text for the screen: lines set in a TrueType font (SDL2_ttf) on a dark,
// translucent panel, handed over as an RGBA image for the graphics layer to
// draw. Nothing here touches GL.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vortel {

// RGBA bytes, rows top first, not premultiplied.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

// Where Debian's fonts-dejavu-core puts its monospaced face.
inline constexpr const char* kDefaultFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

class TextRenderer {
public:
    // Opens the font file at `path`. Null with a one-line reason when the
    // font (or the font library) cannot be had.
    static std::unique_ptr<TextRenderer> open(const std::string& path, std::string* why);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // The lines (UTF-8) at `pixelSize` in light grey, the first `headingLines`
    // of them in amber, on a panel of black at alpha `backing` with a margin
    // of half a line around. Empty lines leave a gap.
    RgbaImage renderPanel(const std::vector<std::string>& lines, int pixelSize, int headingLines = 1,
                          uint8_t backing = 176);

private:
    TextRenderer() = default;
    void* font_ = nullptr;  // TTF_Font
    int size_ = 0;
};

}  // namespace vortel
