#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/audio_device.h"

namespace vortel {
namespace {

// The device plays exactly what its pull callback hands it, in order: SDL's
// disk driver writes what reaches the device to a file in real time.
TEST(SdlAudioDevice, PlaysWhatThePullCallbackGives) {
    auto raw = std::filesystem::temp_directory_path() / ("vortel_disk_pull_" + std::to_string(getpid()) + ".raw");
    std::filesystem::remove(raw);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    std::string why;
    auto device = SdlAudioDevice::open(22050, &why);
    ASSERT_TRUE(device) << why;
    EXPECT_EQ(device->driver(), "disk");
    const int bufferSamples = device->bufferSamples();
    EXPECT_GT(bufferSamples, 0);
    // A ramp that never yields 0, so that the device's own silence shows.
    std::atomic<int64_t> pulled{0};
    std::atomic<int> calls{0};
    std::atomic<bool> badCount{false};
    EXPECT_TRUE(device->start([&](int16_t* out, int count) {
        if (count != bufferSamples) badCount = true;
        const int64_t first = pulled.load();
        for (int i = 0; i < count; ++i) out[i] = static_cast<int16_t>((first + i) % 20000 + 1);
        pulled = first + count;
        ++calls;
    }));
    const uint32_t t0 = SDL_GetTicks();
    while (SDL_GetTicks() - t0 < 400) SDL_Delay(5);
    device.reset();  // no callback after this
    const int callsAtEnd = calls.load();
    SDL_Delay(50);
    EXPECT_EQ(calls.load(), callsAtEnd);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    unsetenv("SDL_DISKAUDIOFILE");
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    EXPECT_FALSE(badCount.load());
    std::ifstream in(raw, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(raw);
    const size_t played = bytes.size() / 2;
    ASSERT_GT(played, 22050u / 8);
    std::vector<int16_t> heard(played);
    std::memcpy(heard.data(), bytes.data(), played * 2);
    size_t lead = 0;
    while (lead < played && heard[lead] == 0) ++lead;
    EXPECT_LE(lead, static_cast<size_t>(bufferSamples));  // at most one buffer before the start
    ASSERT_LE(played - lead, static_cast<size_t>(pulled.load()));
    for (size_t i = lead; i < played; ++i) ASSERT_EQ(heard[i], static_cast<int16_t>((i - lead) % 20000 + 1)) << i;
}

}  // namespace
}  // namespace vortel
