#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/wav_file.h"

namespace vortel {
namespace {

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(WavFile, HeaderDeclaresExactlyTheSamplesWritten) {
    auto dir = std::filesystem::temp_directory_path() / "vortel_wav_test";
    std::filesystem::create_directories(dir);
    auto path = dir / "a.wav";
    const int16_t pcm[] = {0, 1, -1, 32767, -32767, 256};
    std::string err;
    ASSERT_TRUE(writeWavFile(path.string(), pcm, 6, 22050, &err)) << err;
    std::string bytes = slurp(path);
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
    EXPECT_FALSE(std::filesystem::exists(dir / "a.wav.part"));
    std::filesystem::remove_all(dir);
}

TEST(WavFile, UnwritablePlaceFailsWithAReasonAndLeavesNothing) {
    std::string err;
    const int16_t pcm[] = {1};
    EXPECT_FALSE(writeWavFile("/nonexistent-folder/x.wav", pcm, 1, 22050, &err));
    EXPECT_NE(err.find("/nonexistent-folder/x.wav"), std::string::npos);
}

}  // namespace
}  // namespace vortel
