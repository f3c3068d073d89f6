#include "gfx/texture_images.h"

#include <zlib.h>

#include <cmath>
#include <cstdio>

#include "core/rng.h"

namespace vortel {

int32_t motifTerm(int32_t motif, int32_t x, int32_t y) {
    switch (motif) {
        case 0: return 128 * (((x >> 4) & 1) + ((y >> 4) & 1));  // 16-texel checker
        case 1: return 0;                                          // plain noise
        case 2: return 16 * ((x & 8) + (y & 8));                   // 8-texel checker
        case 3: return 16 * ((x & 22) + (y & 22));                 // irregular stripes
        case 4: return 8 * (((y - x) & 7) + ((x + y) & 7));        // diagonal ramps
        case 5: return 31 * ((x & 8) + (y & 8));                   // bright checker
        case 6: return 24 * ((x & 8) - ((x + 1) & 8) - ((y + 1) & 8) + (y & 8));  // lines
        case 7: return 8 * (((x + 1) & 15) - (x & 15) + ((y + 1) & 15) - (y & 15)) + 128;  // grid
        default: return 0;
    }
}

void packGreyTexel(int32_t v, uint8_t* rgba) {
    uint32_t word = static_cast<uint32_t>(v) * 0x010101u;
    rgba[0] = static_cast<uint8_t>(word);
    rgba[1] = static_cast<uint8_t>(word >> 8);
    rgba[2] = static_cast<uint8_t>(word >> 16);
    rgba[3] = static_cast<uint8_t>(word >> 24);
}

int32_t fillSeededPattern(uint8_t* pattern, Generator& rng) {
    int32_t motif = rng.rand() % kMotifCount;
    uint8_t* texel = pattern;
    for (int32_t y = 0; y < kTextureSize; ++y)
        for (int32_t x = 0; x < kTextureSize; ++x, texel += 4) {
            int32_t noise = (rng.rand() * 32) / kRandMax;  // 0..32
            packGreyTexel(noise + motifTerm(motif, x, y), texel);
        }
    return motif;
}

void fillReliefMap(const uint8_t* pattern, uint8_t* relief) {
    auto height = [pattern](int32_t x, int32_t y) -> int32_t { return pattern[(y * kTextureSize + x) * 4]; };
    constexpr int32_t last = kTextureSize - 1;
    for (int32_t y = 0; y < kTextureSize; ++y)
        for (int32_t x = 0; x < kTextureSize; ++x) {
            // Half the central difference, centred on 127; the border has no slope.
            int32_t gx = (x >= 1 && x < last) ? ((height(x + 1, y) - height(x - 1, y)) >> 1) + 127 : 127;
            int32_t gy = (y >= 1 && y < last) ? ((height(x, y + 1) - height(x, y - 1)) >> 1) + 127 : 127;
            double e = static_cast<double>(static_cast<float>(gx - 127) * 0.0078125f);
            double f = static_cast<double>(static_cast<float>(gy - 127) * 0.0078125f);
            double rest = 1.0 - e * e - f * f;
            int32_t nz = rest < 0 ? 0 : static_cast<int32_t>(std::sqrt(rest) * 128.0 + 127.0);
            uint8_t* texel = relief + (y * kTextureSize + x) * 4;
            // gx is -1 where the slope is steepest downwards (255 to 0); the byte keeps
            // its low eight bits, as the texel format stores it.
            texel[0] = static_cast<uint8_t>(gx);
            texel[1] = static_cast<uint8_t>(gy);
            texel[2] = static_cast<uint8_t>(nz);
            texel[3] = static_cast<uint8_t>(height(x, y));
        }
}

TextureImages makeTextureImages(int32_t seed, Generator& rng) {
    TextureImages images;
    images.pattern.resize(kTextureBytes);
    images.relief.resize(kTextureBytes);
    rng.srand(static_cast<uint32_t>(seed));
    images.motif = fillSeededPattern(images.pattern.data(), rng);
    fillReliefMap(images.pattern.data(), images.relief.data());
    return images;
}

std::string crc32Hex(const uint8_t* data, size_t n) {
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes the length as a 32-bit count: feed large buffers in pieces.
    while (n > 0) {
        uInt piece = n > 0x40000000u ? 0x40000000u : static_cast<uInt>(n);
        crc = crc32(crc, data, piece);
        data += piece;
        n -= piece;
    }
    char text[9];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(crc & 0xFFFFFFFFul));
    return text;
}

TextureSummary textureSummary(int32_t seed) {
    Generator rng;
    TextureImages images = makeTextureImages(seed, rng);
    return {images.motif, crc32Hex(images.pattern.data(), images.pattern.size()),
            crc32Hex(images.relief.data(), images.relief.size())};
}

}  // namespace vortel
