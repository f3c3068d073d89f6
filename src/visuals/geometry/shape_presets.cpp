#include "visuals/geometry/shape_presets.h"

#include <cstddef>

namespace vortel {

const std::array<std::array<int32_t, 8>, kShapePresetCount> ShapePresetTable{{
    {5, 5, 5, 5, 4, 4, 4, 4},
    {3, 2, 3, 2, 2, 2, 2, 2},
    {1, 5, 5, 1, 2, 4, 4, 2},
    {12, 2, 3, 12, 12, 3, 3, 12},
    {3, 7, 7, 2, 12, 2, 2, 12},
    {2, 5, 12, 4, 2, 10, 1, 1},
    {3, 2, 3, 2, 2, 2, 2, 2},
    {1, 1, 1, 1, 2, 10, 1, 1},
    {8, 8, 8, 8, 3, 14, 14, 3},
    // The scenes draw the preset as rand() % 10, so a tenth family exists of
    // its own rather than doubling the odds of an existing one (rows 1 and 6
    // already share a shape). Its frequencies and exponents stay inside the
    // ranges of the rows above, so its radius keeps within 1 .. 1 + 4 x morph
    // like theirs: four lobes round the axis (m2 = m3 = 4 in longitude, soft
    // squares), three bulging bands along it (m0 = 3, m1 = 3).
    {3, 3, 4, 4, 2, 6, 2, 6},
}};

const std::array<int32_t, 8>& shapePresetRow(int32_t preset) {
    if (preset < 0) preset = 0;
    if (preset >= kShapePresetCount) preset = kShapePresetCount - 1;
    return ShapePresetTable[static_cast<size_t>(preset)];
}

}  // namespace vortel
