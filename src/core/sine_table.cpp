#include "core/sine_table.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace vortel {

namespace {

std::array<float, kSineTableSize> makeSineTable() {
    // The float nearest 2*pi/65536 (bit pattern 0x38C90FDB).
    uint32_t bits = 0x38C90FDBu;
    float k;
    std::memcpy(&k, &bits, sizeof k);
    std::array<float, kSineTableSize> table{};
    for (int i = kSineTableSize - 1; i >= 0; --i)
        table[static_cast<size_t>(i)] = static_cast<float>(std::sin(static_cast<double>(i) * static_cast<double>(k)));
    return table;
}

const std::array<float, kSineTableSize> kTable = makeSineTable();

inline int32_t truncToInt(double v) { return static_cast<int32_t>(static_cast<int64_t>(v)); }

}  // namespace

const std::array<float, kSineTableSize>& sineTable() { return kTable; }

float tableSin(float x) {
    int32_t i = truncToInt(static_cast<double>(x) * kUnitsPerRadian);
    return kTable[static_cast<uint32_t>(i) & 0xFFFFu];
}

float tableCos(float x) {
    int32_t i = truncToInt(static_cast<double>(x) * kUnitsPerRadian + 16384.0);
    return kTable[static_cast<uint32_t>(i) & 0xFFFFu];
}

float tableAt(double units) {
    return kTable[static_cast<uint32_t>(static_cast<int32_t>(static_cast<int64_t>(units))) & 0xFFFFu];
}

}  // namespace vortel
