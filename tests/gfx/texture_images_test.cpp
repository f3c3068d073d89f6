// The seeded pattern and relief map against a model written from the
// description of the images (motifs in words, integer square roots), with
// its own copy of the generator's recurrence.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/rng.h"
#include "gfx/texture_images.h"

namespace vortel {
namespace {

struct ModelRng {
    uint32_t state;
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

int bitOf(int v, int b) { return (v >> b) & 1; }
int mod(int a, int m) { return ((a % m) + m) % m; }

// Grey value added by each motif, as the motifs are described.
int modelTerm(int motif, int x, int y) {
    switch (motif) {
        case 0: return 128 * ((x / 16) % 2 + (y / 16) % 2);     // 16-texel checker, levels 0/128/256
        case 1: return 0;                                      // noise only
        case 2: return 128 * ((x / 8) % 2 + (y / 8) % 2);       // 8-texel checker
        case 3: {                                              // bits 1, 2 and 4 of x and y
            auto stripes = [](int c) { return 2 * bitOf(c, 1) + 4 * bitOf(c, 2) + 16 * bitOf(c, 4); };
            return 16 * (stripes(x) + stripes(y));
        }
        case 4: return 8 * (mod(y - x, 8) + mod(x + y, 8));     // two diagonal ramps
        case 5: return 248 * ((x / 8) % 2 + (y / 8) % 2);       // brighter checker
        case 6: {                                              // dark line at 7 mod 16, bright at 15
            auto line = [](int c) { return c % 16 == 7 ? -192 : c % 16 == 15 ? 192 : 0; };
            return line(x) + line(y);
        }
        case 7: {                                              // grey 144, dark lines at 15 mod 16
            auto line = [](int c) { return c % 16 == 15 ? -120 : 8; };
            return 128 + line(x) + line(y);
        }
    }
    return 0;
}

// v * 0x010101 modulo 2^32, bytes from the least significant.
void modelPack(int v, uint8_t* out) {
    int64_t word = (static_cast<int64_t>(v) * 65793) % 4294967296LL;
    if (word < 0) word += 4294967296LL;
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>((word >> (8 * i)) & 0xFF);
}

std::vector<uint8_t> modelPattern(int32_t seed, int* motif) {
    ModelRng rng{static_cast<uint32_t>(seed)};
    *motif = rng.next() % 8;
    std::vector<uint8_t> image(kTextureBytes);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            int noise = rng.next() * 32 / 32767;
            modelPack(noise + modelTerm(*motif, x, y), &image[(y * 512 + x) * 4]);
        }
    return image;
}

int isqrt(int m) {
    int r = 0;
    while ((r + 1) * (r + 1) <= m) ++r;
    return r;
}

// Half the central difference rounded down, plus 127; nz = 127 + the integer
// square root of 16384 - a^2 - b^2 (the unit normal scaled by 128), 0 where
// the slopes are too steep for a unit normal.
std::vector<uint8_t> modelRelief(const std::vector<uint8_t>& pattern) {
    auto P = [&](int x, int y) { return static_cast<int>(pattern[(y * 512 + x) * 4]); };
    std::vector<uint8_t> relief(kTextureBytes);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            int gx = (x > 0 && x < 511) ? static_cast<int>(std::floor((P(x + 1, y) - P(x - 1, y)) / 2.0)) + 127 : 127;
            int gy = (y > 0 && y < 511) ? static_cast<int>(std::floor((P(x, y + 1) - P(x, y - 1)) / 2.0)) + 127 : 127;
            int m = 16384 - (gx - 127) * (gx - 127) - (gy - 127) * (gy - 127);
            uint8_t* t = &relief[(y * 512 + x) * 4];
            t[0] = static_cast<uint8_t>(gx & 0xFF);
            t[1] = static_cast<uint8_t>(gy & 0xFF);
            t[2] = static_cast<uint8_t>(m < 0 ? 0 : 127 + isqrt(m));
            t[3] = static_cast<uint8_t>(P(x, y));
        }
    return relief;
}

int32_t seedWithMotif(int motif) {
    for (int32_t seed = 1;; ++seed) {
        ModelRng rng{static_cast<uint32_t>(seed)};
        if (rng.next() % 8 == motif) return seed;
    }
}

// Index of the first differing texel, or -1.
long firstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) return static_cast<long>(i / 4);
    return a.size() == b.size() ? -1 : 0;
}

TextureImages imagesOf(int32_t seed) {
    Generator g;
    return makeTextureImages(seed, g);
}

TEST(TextureImages, EveryMotifMatchesTheModelByteForByte) {
    for (int motif = 0; motif < 8; ++motif) {
        // Negative seeds too: the seed is a signed number.
        for (int32_t seed : {seedWithMotif(motif), -seedWithMotif(motif)}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed);
            int modelMotif = 0;
            std::vector<uint8_t> pattern = modelPattern(seed, &modelMotif);
            TextureImages images = imagesOf(seed);
            EXPECT_EQ(images.motif, modelMotif);
            long diff = firstDifference(images.pattern, pattern);
            EXPECT_EQ(diff, -1) << "pattern differs at texel (" << diff % 512 << ", " << diff / 512 << ")";
            diff = firstDifference(images.relief, modelRelief(pattern));
            EXPECT_EQ(diff, -1) << "relief differs at texel (" << diff % 512 << ", " << diff / 512 << ")";
        }
    }
}

TEST(TextureImages, GreyValuesOutsideAByteCarryAcrossTheChannels) {
    struct Case {
        int v;
        uint8_t r, g, b, a;
    };
    // Worked by hand: 256 * 0x010101 = 0x01010100; -1 * 0x010101 = 0xFFFEFEFF;
    // -112 * 0x010101 = 0xFF8F8F90 (the darkest crossing of the grid motif).
    for (Case c : {Case{0, 0, 0, 0, 0}, Case{200, 200, 200, 200, 0}, Case{256, 0, 1, 1, 1},
                   Case{-1, 255, 254, 254, 255}, Case{-112, 144, 143, 143, 255}, Case{544, 32, 34, 34, 2}}) {
        uint8_t texel[4];
        packGreyTexel(c.v, texel);
        EXPECT_EQ(texel[0], c.r) << c.v;
        EXPECT_EQ(texel[1], c.g) << c.v;
        EXPECT_EQ(texel[2], c.b) << c.v;
        EXPECT_EQ(texel[3], c.a) << c.v;
    }
}

TEST(TextureImages, PlainNoiseIsDarkAndItsReliefNearlyFlat) {
    TextureImages images = imagesOf(seedWithMotif(1));
    ASSERT_EQ(images.motif, 1);
    int maxGrey = 0, minNz = 255, maxSlope = 0;
    for (size_t i = 0; i < kTextureBytes; i += 4) {
        EXPECT_EQ(images.pattern[i], images.pattern[i + 1]);
        EXPECT_EQ(images.pattern[i + 3], 0);
        maxGrey = std::max<int>(maxGrey, images.pattern[i]);
        minNz = std::min<int>(minNz, images.relief[i + 2]);
        maxSlope = std::max({maxSlope, std::abs(images.relief[i] - 127), std::abs(images.relief[i + 1] - 127)});
    }
    EXPECT_LE(maxGrey, 32);
    EXPECT_GE(maxGrey, 31);  // 262144 draws reach the top of the range
    EXPECT_LE(maxSlope, 16);
    EXPECT_GE(minNz, 127 + 125);  // isqrt(16384 - 2 * 16^2) = isqrt(15872) = 125
}

// A pattern whose byte R at (x, y) is height(x, y); the other bytes are junk
// the relief must ignore.
std::vector<uint8_t> heightPattern(int (*height)(int, int)) {
    std::vector<uint8_t> p(kTextureBytes);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            uint8_t* t = &p[(y * 512 + x) * 4];
            t[0] = static_cast<uint8_t>(height(x, y));
            t[1] = 99;
            t[2] = 7;
            t[3] = 200;
        }
    return p;
}

const uint8_t* texelAt(const std::vector<uint8_t>& image, int x, int y) { return &image[(y * 512 + x) * 4]; }

TEST(TextureImages, ReliefOfSimpleSurfaces) {
    std::vector<uint8_t> relief(kTextureBytes);

    // Flat: no slope, normal straight up (sqrt(16384) + 127 = 255).
    std::vector<uint8_t> flat = heightPattern([](int, int) { return 90; });
    fillReliefMap(flat.data(), relief.data());
    for (int i : {0, 1000, 262143}) {
        const uint8_t* t = &relief[i * 4];
        EXPECT_EQ(t[0], 127);
        EXPECT_EQ(t[1], 127);
        EXPECT_EQ(t[2], 255);
        EXPECT_EQ(t[3], 90);
    }

    // Ramp of 3 per texel in x (wrapping at 256): slope 3, normal z =
    // trunc(sqrt(16384 - 9) + 127) = 254. The outermost columns stay flat.
    std::vector<uint8_t> ramp = heightPattern([](int x, int) { return (3 * x) % 256; });
    fillReliefMap(ramp.data(), relief.data());
    const uint8_t* t = texelAt(relief, 10, 200);
    EXPECT_EQ(t[0], 130);
    EXPECT_EQ(t[1], 127);
    EXPECT_EQ(t[2], 254);
    EXPECT_EQ(t[3], 30);
    EXPECT_EQ(texelAt(relief, 0, 200)[0], 127);
    EXPECT_EQ(texelAt(relief, 511, 200)[0], 127);
    EXPECT_EQ(texelAt(relief, 85, 5)[0], 2);  // across the wrap: (2 - 252) / 2 = -125

    // Odd negative differences round down: -3 / 2 -> -2.
    std::vector<uint8_t> step = heightPattern([](int, int y) { return y < 300 ? 10 : 7; });
    fillReliefMap(step.data(), relief.data());
    EXPECT_EQ(texelAt(relief, 40, 299)[1], 125);
    EXPECT_EQ(texelAt(relief, 40, 300)[1], 125);
    EXPECT_EQ(texelAt(relief, 40, 301)[1], 127);
    // Rows 0 and 511 have no slope in y.
    std::vector<uint8_t> rows = heightPattern([](int, int y) { return y * 7 % 256; });
    fillReliefMap(rows.data(), relief.data());
    EXPECT_EQ(texelAt(relief, 3, 0)[1], 127);
    EXPECT_EQ(texelAt(relief, 3, 511)[1], 127);
    EXPECT_EQ(texelAt(relief, 3, 1)[1], 134);

    // The steepest fall (255 to 0 over two texels) gives gx = -1, kept as
    // the byte 255; with no slope in y the normal lies flat: nz = 127.
    std::vector<uint8_t> cliff = heightPattern([](int x, int) { return x <= 200 ? 255 : 0; });
    fillReliefMap(cliff.data(), relief.data());
    t = texelAt(relief, 201, 50);
    EXPECT_EQ(t[0], 255);
    EXPECT_EQ(t[1], 127);
    EXPECT_EQ(t[2], 127);
    EXPECT_EQ(t[3], 0);

    // Steepest rise in x alone: gx = 254, nz = 127 + isqrt(16384 - 127^2) = 142;
    // in x and y at once there is no unit normal: nz = 0.
    std::vector<uint8_t> corner = heightPattern([](int x, int y) { return x > 200 && y > 200 ? 255 : 0; });
    fillReliefMap(corner.data(), relief.data());
    t = texelAt(relief, 201, 300);
    EXPECT_EQ(t[0], 254);
    EXPECT_EQ(t[1], 127);
    EXPECT_EQ(t[2], 142);
    t = texelAt(relief, 201, 201);
    EXPECT_EQ(t[0], 254);
    EXPECT_EQ(t[1], 254);
    EXPECT_EQ(t[2], 0);
    EXPECT_EQ(t[3], 255);
}

TEST(TextureImages, SeedDecidesTheImagesAndTheGeneratorEndsAfterThePattern) {
    const int32_t seed = 4242;
    TextureSummary a = textureSummary(seed);
    Generator g{99};  // re-seeded: where it stood does not matter
    makeTextureImages(seed, g);
    uint32_t after = g.state;
    ModelRng rng{static_cast<uint32_t>(seed)};
    for (int i = 0; i < 1 + 512 * 512; ++i) rng.next();
    EXPECT_EQ(after, rng.state);  // one motif draw, one draw per texel, none for the relief

    TextureSummary again = textureSummary(seed);
    EXPECT_EQ(a.motif, again.motif);
    EXPECT_EQ(a.patternCrc32, again.patternCrc32);
    EXPECT_EQ(a.reliefCrc32, again.reliefCrc32);

    TextureSummary other = textureSummary(seed + 1);
    EXPECT_NE(a.patternCrc32, other.patternCrc32);
    EXPECT_NE(a.reliefCrc32, other.reliefCrc32);

    int motif = 0;
    std::vector<uint8_t> pattern = modelPattern(seed, &motif);
    EXPECT_EQ(a.motif, motif);
    EXPECT_EQ(a.patternCrc32, crc32Hex(pattern.data(), pattern.size()));
    std::vector<uint8_t> relief = modelRelief(pattern);
    EXPECT_EQ(a.reliefCrc32, crc32Hex(relief.data(), relief.size()));
}

TEST(TextureImages, Crc32HexIsZlibsChecksumInEightLowercaseDigits) {
    const char* check = "123456789";  // the standard CRC-32 check value
    EXPECT_EQ(crc32Hex(reinterpret_cast<const uint8_t*>(check), std::strlen(check)), "cbf43926");
    EXPECT_EQ(crc32Hex(nullptr, 0), "00000000");
    const uint8_t a = 'a';
    EXPECT_EQ(crc32Hex(&a, 1), "e8b7be43");
}

}  // namespace
}  // namespace vortel
