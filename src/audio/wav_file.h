#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace vortel {

constexpr int kWavHeaderBytes = 44;

// The canonical 44-byte RIFF header of 16-bit mono PCM: "RIFF", dataBytes +
// 36, "WAVE", "fmt ", 16, 1 (PCM), 1 channel, the rate, rate * 2 bytes per
// second, block align 2, 16 bits, "data", dataBytes. Little-endian.
std::array<uint8_t, kWavHeaderBytes> makeWavHeader(int32_t dataBytes, int32_t sampleRate);

// Writes a complete 16-bit mono WAV file whose header declares exactly
// `count` samples. The file appears under `path` only once it is complete
// (written beside it, then renamed). Returns false with a reason on error.
bool writeWavFile(const std::string& path, const int16_t* samples, size_t count,
                  int32_t sampleRate, std::string* error);

}  // namespace vortel
