#include "audio/wav_file.h"

#include <cerrno>
#include <cstdio>
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

bool writeWavFile(const std::string& path, const int16_t* samples, size_t count,
                  int32_t sampleRate, std::string* error) {
    auto fail = [&](const std::string& what) {
        if (error) *error = what + " " + path + ": " + std::strerror(errno);
        return false;
    };
    if (count > (0x7FFFFFFFu - 36u) / 2u) {
        if (error) *error = "too many samples for a WAV file: " + path;
        return false;
    }
    const std::string temp = path + ".part";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return fail("cannot create");
    auto header = makeWavHeader(static_cast<int32_t>(count * 2), sampleRate);
    bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
    // Samples are written little-endian whatever the machine.
    std::vector<uint8_t> block;
    const size_t kBlock = 1 << 16;
    for (size_t i = 0; ok && i < count; i += kBlock) {
        size_t n = std::min(kBlock, count - i);
        block.resize(n * 2);
        for (size_t k = 0; k < n; ++k) put16(&block[2 * k], static_cast<uint16_t>(samples[i + k]));
        ok = std::fwrite(block.data(), 1, block.size(), f) == block.size();
    }
    if (std::fclose(f) != 0) ok = false;
    if (!ok) {
        int saved = errno;
        std::remove(temp.c_str());
        errno = saved;
        return fail("cannot write");
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        int saved = errno;
        std::remove(temp.c_str());
        errno = saved;
        return fail("cannot rename into place");
    }
    return true;
}

}  // namespace vortel
