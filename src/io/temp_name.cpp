#include "io/temp_name.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>

namespace vortel {

std::string uniqueTempSuffix() {
    static std::atomic<uint64_t> counter{0};
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    uint64_t x = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    x ^= static_cast<uint64_t>(::getpid()) << 32;
    x += 0x9E3779B97F4A7C15ull * ++counter;
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    std::string s(6, 'a');
    for (char& c : s) {
        c = kChars[x % 62];
        x /= 62;
    }
    return s;
}

}  // namespace vortel
