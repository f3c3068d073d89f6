#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vortel {

// Encodes RGB pixels (3 bytes each, rows top first) as a PNG image in
// memory with libpng. Returns false with a reason when libpng fails.
bool encodePng(int width, int height, const std::vector<uint8_t>& rgbTopDown, std::vector<uint8_t>* png,
               std::string* why);

}  // namespace vortel
