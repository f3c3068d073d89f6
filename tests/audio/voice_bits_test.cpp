#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "audio/voice_bits.h"

namespace vortel {
namespace {

// The walk visits exactly the set bits, lowest first, against a plain scan
// of all 64 positions, for masks from sparse to full; changing the source
// mask inside the walk (as the mixer does) does not change what is visited.
TEST(VoiceBits, VisitsTheSetBitsInVoiceOrder) {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto draw = [&] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::vector<uint64_t> masks = {0, 1, uint64_t(1) << 63, ~uint64_t(0)};
    for (int k = 0; k < 500; ++k) masks.push_back(draw() & draw() & (k % 2 ? draw() : ~uint64_t(0)));
    for (uint64_t mask : masks) {
        std::vector<int> expected, seen;
        for (int i = 0; i < 64; ++i)
            if (mask >> i & 1) expected.push_back(i);
        uint64_t live = mask;
        for (int i : voiceBits(live)) {
            seen.push_back(i);
            live = 0;  // the walk goes on over its own copy
        }
        EXPECT_EQ(seen, expected) << std::hex << mask;
    }
}

}  // namespace
}  // namespace vortel
