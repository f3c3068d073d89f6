#include "platform/text_image.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <algorithm>

namespace vortel {

namespace {

constexpr int kOpenSize = 16;  // the size the font opens at; renderPanel sets its own

// Puts one line's glyphs (RGBA, straight alpha) over the panel at (x, y).
void composite(RgbaImage& panel, const SDL_Surface* line, int x, int y) {
    for (int row = 0; row < line->h; ++row) {
        const int py = y + row;
        if (py < 0 || py >= panel.height) continue;
        const auto* src = static_cast<const uint8_t*>(line->pixels) + static_cast<size_t>(row) * line->pitch;
        for (int col = 0; col < line->w; ++col) {
            const int px = x + col;
            if (px < 0 || px >= panel.width) continue;
            const uint8_t* s = src + col * 4;
            uint8_t* d = &panel.pixels[(static_cast<size_t>(py) * panel.width + px) * 4];
            const int sa = s[3];
            if (sa == 0) continue;
            // Over a black backing: colour = glyph colour x glyph alpha / result alpha.
            const int da = d[3];
            const int outA = sa + da * (255 - sa) / 255;
            for (int c = 0; c < 3; ++c) {
                const int premul = s[c] * sa / 255 + d[c] * da / 255 * (255 - sa) / 255;
                d[c] = static_cast<uint8_t>(std::min(255, outA > 0 ? premul * 255 / outA : 0));
            }
            d[3] = static_cast<uint8_t>(outA);
        }
    }
}

}  // namespace

std::unique_ptr<TextRenderer> TextRenderer::open(const std::string& path, std::string* why) {
    if (!TTF_WasInit() && TTF_Init() != 0) {
        if (why) *why = std::string("no font library: ") + TTF_GetError();
        return nullptr;
    }
    TTF_Font* font = TTF_OpenFont(path.c_str(), kOpenSize);
    if (!font) {
        if (why) *why = "cannot open the font " + path + ": " + TTF_GetError();
        return nullptr;
    }
    std::unique_ptr<TextRenderer> r(new TextRenderer());
    r->font_ = font;
    r->size_ = kOpenSize;
    return r;
}

TextRenderer::~TextRenderer() {
    if (font_) TTF_CloseFont(static_cast<TTF_Font*>(font_));
}

RgbaImage TextRenderer::renderPanel(const std::vector<std::string>& lines, int pixelSize, int headingLines,
                                    uint8_t backing) {
    auto* font = static_cast<TTF_Font*>(font_);
    pixelSize = std::clamp(pixelSize, 6, 200);
    if (pixelSize != size_ && TTF_SetFontSize(font, pixelSize) == 0) size_ = pixelSize;
    const int skip = TTF_FontLineSkip(font);
    const int margin = std::max(2, skip / 2);

    // Each line as RGBA bytes, so the compositing below reads one layout.
    std::vector<SDL_Surface*> rendered(lines.size(), nullptr);
    int widest = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        const bool heading = static_cast<int>(i) < headingLines;
        const SDL_Color colour = heading ? SDL_Color{255, 205, 90, 255} : SDL_Color{236, 236, 236, 255};
        SDL_Surface* s = TTF_RenderUTF8_Blended(font, lines[i].c_str(), colour);
        if (!s) continue;
        SDL_Surface* rgba = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGBA32, 0);
        SDL_FreeSurface(s);
        if (!rgba) continue;
        rendered[i] = rgba;
        widest = std::max(widest, rgba->w);
    }
    RgbaImage panel;
    panel.width = widest + 2 * margin;
    panel.height = static_cast<int>(lines.size()) * skip + 2 * margin;
    panel.pixels.assign(static_cast<size_t>(panel.width) * panel.height * 4, 0);
    for (size_t i = 3; i < panel.pixels.size(); i += 4) panel.pixels[i] = backing;
    for (size_t i = 0; i < rendered.size(); ++i) {
        if (!rendered[i]) continue;
        if (SDL_LockSurface(rendered[i]) == 0) {
            composite(panel, rendered[i], margin, margin + static_cast<int>(i) * skip);
            SDL_UnlockSurface(rendered[i]);
        }
        SDL_FreeSurface(rendered[i]);
    }
    return panel;
}

}  // namespace vortel
