#include "core/sine_table.h"

#include <cmath>
#include <cstring>

namespace vortel {

void fillSineTable(DemoState& state) {
    // The float nearest 2*pi/65536 (bit pattern 0x38C90FDB).
    uint32_t bits = 0x38C90FDBu;
    float k;
    std::memcpy(&k, &bits, sizeof k);
    for (int i = kSineTableSize - 1; i >= 0; --i)
        state.sineTable[i] = static_cast<float>(std::sin(static_cast<double>(i) * static_cast<double>(k)));
}

namespace {
inline int32_t truncToInt(double v) { return static_cast<int32_t>(static_cast<int64_t>(v)); }
}  // namespace

float tableSin(float x) {
    int32_t i = truncToInt(static_cast<double>(x) * kUnitsPerRadian);
    return demo().sineTable[static_cast<uint32_t>(i) & 0xFFFFu];
}

float tableCos(float x) {
    int32_t i = truncToInt(static_cast<double>(x) * kUnitsPerRadian + 16384.0);
    return demo().sineTable[static_cast<uint32_t>(i) & 0xFFFFu];
}

}  // namespace vortel

namespace vortel {

float tableAt(double units) {
    return demo().sineTable[static_cast<uint32_t>(static_cast<int32_t>(static_cast<int64_t>(units))) & 0xFFFFu];
}

}  // namespace vortel
