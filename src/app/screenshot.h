#pragma once
// S in the live show: the picture on screen as a PNG beside the viewer.
#include <cstdint>
#include <string>
#include <vector>

namespace vortel {

// "vortel-SEED-SECONDS" with the song time to three decimals.
std::string screenshotStem(int32_t seed, float songTime);

// The back buffer's width x height pixels as RGB rows, top row first.
std::vector<uint8_t> readBackBufferRgb(int width, int height);

// Saves the back buffer (the frame just drawn) as `stem`.png in `folder`
// ("" = the current folder), or stem-2.png, -3, ... when that is taken; never
// over an existing file. Sets *name to the file written, or *why.
bool saveScreenshot(const std::string& folder, const std::string& stem, int width, int height, std::string* name,
                    std::string* why);

}  // namespace vortel
