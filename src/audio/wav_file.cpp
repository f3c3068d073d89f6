#include "audio/wav_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace vortel {

namespace {

void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

std::array<uint8_t, kWavHeaderBytes> makeWavHeader(int32_t dataBytes, int32_t sampleRate) {
    std::array<uint8_t, kWavHeaderBytes> h{};
    std::memcpy(&h[0], "RIFF", 4);
    put32(&h[4], static_cast<uint32_t>(dataBytes) + 36u);
    std::memcpy(&h[8], "WAVE", 4);
    std::memcpy(&h[12], "fmt ", 4);
    put32(&h[16], 16);
    put16(&h[20], 1);  // PCM
    put16(&h[22], 1);  // mono
    put32(&h[24], static_cast<uint32_t>(sampleRate));
    put32(&h[28], static_cast<uint32_t>(sampleRate) * 2u);
    put16(&h[32], 2);
    put16(&h[34], 16);
    std::memcpy(&h[36], "data", 4);
    put32(&h[40], static_cast<uint32_t>(dataBytes));
    return h;
}

bool writeWav(std::FILE* out, const int16_t* samples, size_t count, int32_t sampleRate) {
    if (count > kMaxWavSamples) {
        errno = EFBIG;
        return false;
    }
    auto header = makeWavHeader(static_cast<int32_t>(count * 2), sampleRate);
    if (std::fwrite(header.data(), 1, header.size(), out) != header.size()) return false;
    std::vector<uint8_t> block;
    const size_t kBlock = 1 << 16;
    for (size_t i = 0; i < count; i += kBlock) {
        size_t n = std::min(kBlock, count - i);
        block.resize(n * 2);
        for (size_t k = 0; k < n; ++k) put16(&block[2 * k], static_cast<uint16_t>(samples[i + k]));
        if (std::fwrite(block.data(), 1, block.size(), out) != block.size()) return false;
    }
    return true;
}

}  // namespace vortel
