#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/wav_file.h"

namespace vortel {
namespace {

// Everything writeWav streams, as one string.
std::string wavBytes(const int16_t* pcm, size_t count, bool* ok) {
    char* buf = nullptr;
    size_t size = 0;
    std::FILE* f = open_memstream(&buf, &size);
    *ok = writeWav(f, pcm, count, 22050);
    std::fclose(f);
    std::string bytes(buf, size);
    std::free(buf);
    return bytes;
}

TEST(WavFile, HeaderDeclaresExactlyTheSamplesWritten) {
    const int16_t pcm[] = {0, 1, -1, 32767, -32767, 256};
    bool ok = false;
    std::string bytes = wavBytes(pcm, 6, &ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(bytes.size(), 44u + 12u);
    auto u32 = [&](size_t o) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[o]) | static_cast<uint8_t>(bytes[o + 1]) << 8 |
                                     static_cast<uint8_t>(bytes[o + 2]) << 16 |
                                     static_cast<uint32_t>(static_cast<uint8_t>(bytes[o + 3])) << 24);
    };
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(4), 36u + 12u);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(24), 22050u);
    EXPECT_EQ(u32(40), 12u);
    // little-endian samples: 1 -> 01 00, -1 -> ff ff, 256 -> 00 01
    EXPECT_EQ(static_cast<uint8_t>(bytes[46]), 1);
    EXPECT_EQ(static_cast<uint8_t>(bytes[49]), 0xff);
    EXPECT_EQ(static_cast<uint8_t>(bytes[54]), 0);
    EXPECT_EQ(static_cast<uint8_t>(bytes[55]), 1);
}

TEST(WavFile, RefusesMoreSamplesThanAHeaderCanDeclare) {
    const int16_t pcm[] = {1};
    bool ok = true;
    EXPECT_TRUE(wavBytes(pcm, kMaxWavSamples + 1, &ok).empty());
    EXPECT_FALSE(ok);
}

}  // namespace
}  // namespace vortel
