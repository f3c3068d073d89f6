#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/song_layout.h"
#include "gfx/renderer.h"

namespace vortel {

// A seed at a glance: the frame in the middle of each of the show's 16 spans
// as thumbnails in a 4 x 4 grid, span 0 at the top left, reading order.
constexpr int kSheetColumns = 4;
constexpr int kSheetRows = 4;
constexpr int kThumbWidth = 200;   // a quarter of the window
constexpr int kThumbHeight = 150;
constexpr int kSheetGutter = 4;    // dark lines between and around the thumbnails
constexpr int kSheetWidth = kSheetColumns * kThumbWidth + (kSheetColumns + 1) * kSheetGutter;
constexpr int kSheetHeight = kSheetRows * kThumbHeight + (kSheetRows + 1) * kSheetGutter;

// Shrinks an RGB image (top row first) to w x h by averaging whole blocks;
// the source size must be a multiple of the target's.
std::vector<uint8_t> shrinkRgb(const std::vector<uint8_t>& rgb, int width, int height, int w, int h);

// Renders the sheet for `seed` offscreen: kSheetWidth x kSheetHeight RGB,
// top row first. Empty with a reason when no context can be had, or
// ("interrupted") when `carryOn`, asked before every frame, said no.
std::vector<uint8_t> renderContactSheet(const SongLayout& layout, std::string* why, const std::function<bool()>& carryOn = {},
                                        Renderer renderer = Renderer::Arb);

}  // namespace vortel
