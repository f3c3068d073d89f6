#pragma once
// The images behind the texture slots, computed on the CPU from the seed
// (no GL): a grey pattern with one of eight motifs, and the relief map
// derived from it. generateTextures (textures.h) uploads them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/rng.h"

namespace vortel {

constexpr int kTextureSize = 512;                                 // texels per side
constexpr size_t kTextureBytes = size_t{kTextureSize} * kTextureSize * 4;  // RGBA bytes
constexpr int kMotifCount = 8;

// Texel (x, y) of an image is the four bytes R, G, B, A at (y * 512 + x) * 4;
// row 0 is uploaded first and shows at t = 0.
struct TextureImages {
    int32_t motif = 0;             // 0..7, the pattern's motif
    std::vector<uint8_t> pattern;  // the seeded pattern, kTextureBytes
    std::vector<uint8_t> relief;   // R, G = slope in x, y; B = normal z; A = height
};

// The motif's contribution to the grey value v of texel (x, y), before noise.
int32_t motifTerm(int32_t motif, int32_t x, int32_t y);

// The texel word of grey value v: v * 0x010101 modulo 2^32, split into the
// bytes R, G, B, A from the least significant up. Values outside 0..255
// carry or borrow across the bytes (v = 256 gives 0, 1, 1, 1).
void packGreyTexel(int32_t v, uint8_t* rgba);

// Fills `pattern` (kTextureBytes) from `rng`, which the caller has seeded:
// one draw for the motif, then one draw per texel in index order. Returns
// the motif.
int32_t fillSeededPattern(uint8_t* pattern, Generator& rng);

// Fills `relief` (kTextureBytes) from byte R of `pattern`.
void fillReliefMap(const uint8_t* pattern, uint8_t* relief);

// rng.srand(seed), then the pattern and its relief map. Leaves `rng` after
// the pattern's last draw.
TextureImages makeTextureImages(int32_t seed, Generator& rng);

// zlib's CRC-32 of n bytes as 8 lowercase hexadecimal digits.
std::string crc32Hex(const uint8_t* data, size_t n);

// What identifies a seed's textures: the motif and the CRC-32 of the
// pattern and of the relief image (512 x 512 x 4 bytes each, texel order,
// bytes R, G, B, A).
struct TextureSummary {
    int32_t motif = 0;
    std::string patternCrc32;
    std::string reliefCrc32;
};

// Computes the images for `seed` (with a generator of its own) and
// summarises them.
TextureSummary textureSummary(int32_t seed);

}  // namespace vortel
