#pragma once
// The one zlib function the show's sources use (the texture images'
// checksums), for the web build, which has no zlib: CRC-32 as zlib computes
// it (reflected polynomial 0xEDB88320), continued from `crc`.
#include <cstddef>
#include <cstdint>

using uLong = unsigned long;
using uInt = unsigned int;
using Bytef = unsigned char;
#ifndef Z_NULL
#define Z_NULL 0
#endif

inline uLong crc32(uLong crc, const Bytef* buf, uInt len) {
    if (!buf) return 0;
    uint32_t c = ~static_cast<uint32_t>(crc);
    for (uInt i = 0; i < len; ++i) {
        c ^= buf[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}
