#pragma once
// The harmonic shapes' families. A row holds four frequencies (m0..m3) and
// four exponents (m4..m7) of the radius terms (harmonic_shape.h); the scenes
// pick a row by drawing 0..9 from the shared generator.
#include <array>
#include <cstdint>

namespace vortel {

constexpr int kShapePresetCount = 10;

// Rows 0..8 are the show's classic shapes; row 9 is "the quatrefoil": four
// soft lobes round the axis and three bands along it (see shape_presets.cpp).
extern const std::array<std::array<int32_t, 8>, kShapePresetCount> ShapePresetTable;

// The row for `preset`, clamped into the table (the scenes only ever draw
// 0..9, so the clamp only guards stray values).
const std::array<int32_t, 8>& shapePresetRow(int32_t preset);

}  // namespace vortel
