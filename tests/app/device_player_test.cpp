#include <gtest/gtest.h>

#include <cstring>

#include <SDL2/SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "app/device_player.h"
#include "audio/audio_stream.h"
#include "core/rng.h"
#include "core/song_layout.h"
#include "platform/audio_device.h"
#include "platform/clock.h"
#include "song/song_player.h"
#include "song/song_setup.h"

namespace vortel {
namespace {

// Plays the start of a song through SDL's disk driver, which writes what
// reaches the device to a file in real time, while the main thread keeps
// rendering ahead: the file must hold exactly the rendered samples.
TEST(DevicePlayer, WhatReachesTheDeviceIsTheSong) {
    // Named for this process: other builds' suites may run the same test now.
    auto raw = std::filesystem::temp_directory_path() / ("vortel_disk_audio_" + std::to_string(getpid()) + ".raw");
    std::filesystem::remove(raw);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    SongLayout layout;
    layout.seed = 4321;
    Generator rng;
    setupSong(layout, rng);
    auto song = std::make_unique<SongPlayer>(layout.seed, layout.bpm, rng);
    AudioStream stream(&systemTicks);
    stream.init(*song);
    std::string why;
    auto device = SdlAudioDevice::open(stream.sampleRate, &why);
    ASSERT_TRUE(device) << why;
    EXPECT_EQ(device->driver(), "disk");
    const int bufferSamples = device->bufferSamples();
    DevicePlayer player(*device);
    EXPECT_TRUE(stream.play(&player));
    const uint32_t t0 = SDL_GetTicks();
    while (SDL_GetTicks() - t0 < 700) {
        stream.render(0);
        SDL_Delay(5);
    }
    device.reset();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    unsetenv("SDL_DISKAUDIOFILE");
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    std::ifstream in(raw, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t played = bytes.size() / 2;
    EXPECT_GT(played, 22050u / 4);  // a good part of the 0.7 s reached the device
    ASSERT_LE(played, static_cast<size_t>(stream.samplesWritten));
    // The driver may write one buffer of silence before playback starts
    // (the device runs paused until then); what follows is the song, exactly.
    std::vector<int16_t> heard(played);
    std::memcpy(heard.data(), bytes.data(), played * 2);
    auto leadingZeros = [](const int16_t* p, size_t n) {
        return static_cast<size_t>(std::find_if(p, p + n, [](int16_t v) { return v != 0; }) - p);
    };
    const size_t heardZeros = leadingZeros(heard.data(), played);
    const size_t songZeros = leadingZeros(stream.samples, played);
    ASSERT_LT(heardZeros, played) << "only silence reached the device";
    ASSERT_GE(heardZeros, songZeros);
    const size_t lead = heardZeros - songZeros;
    EXPECT_LE(lead, static_cast<size_t>(bufferSamples));
    EXPECT_EQ(std::memcmp(heard.data() + lead, stream.samples, (played - lead) * 2), 0);
    EXPECT_EQ(stream.cursor.underruns.load(), 0);
    std::filesystem::remove(raw);
}

}  // namespace
}  // namespace vortel
