#pragma once
#include <array>
#include <cstdint>
#include <cstdio>

namespace vortel {

constexpr int kWavHeaderBytes = 44;

// The canonical 44-byte RIFF header of 16-bit mono PCM: "RIFF", dataBytes +
// 36, "WAVE", "fmt ", 16, 1 (PCM), 1 channel, the rate, rate * 2 bytes per
// second, block align 2, 16 bits, "data", dataBytes. Little-endian.
std::array<uint8_t, kWavHeaderBytes> makeWavHeader(int32_t dataBytes, int32_t sampleRate);

// The most 16-bit samples one WAV file can declare.
constexpr size_t kMaxWavSamples = (0x7FFFFFFFu - 36u) / 2u;

// Streams a whole 16-bit mono WAV to `out`: the header, which declares
// exactly `count` samples, then the samples little-endian whatever the
// machine. Nothing is written before the length is known, so the bytes may
// go to a pipe. Returns false when `count` is too large or a write fails
// (the stream's error flag and errno tell why); where the bytes end up is
// the caller's business.
bool writeWav(std::FILE* out, const int16_t* samples, size_t count, int32_t sampleRate);

}  // namespace vortel
