#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vortel {

// Fills `out` with the next `count` samples. Called on the device's own
// thread, and never again once start() has been undone by the device's end.
using AudioPull = std::function<void(int16_t* out, int count)>;

// The system's sound output: an SDL audio device at the given rate, mono,
// signed 16-bit, pulling its samples through a callback on SDL's audio thread.
class SdlAudioDevice final {
public:
    // Returns null with a reason when no audio device can be opened.
    static std::unique_ptr<SdlAudioDevice> open(int32_t sampleRate, std::string* error);
    ~SdlAudioDevice();

    // Sets the callback and starts the device. Until then it plays silence.
    bool start(AudioPull pull);
    // Stops and restarts the callbacks: paused, the device plays silence and
    // pulls nothing.
    void setPaused(bool paused);
    // Runs `fn` while no callback runs (the device's lock held), to move what
    // the callback reads from.
    void whileLocked(const std::function<void()>& fn);
    const std::string& driver() const { return driver_; }
    // Samples the device takes per callback, as SDL granted them.
    int bufferSamples() const { return bufferSamples_; }

private:
    SdlAudioDevice() = default;
    static void callback(void* user, uint8_t* stream, int len);
    uint32_t device_ = 0;
    AudioPull pull_;
    std::string driver_;
    int bufferSamples_ = 0;
};

}  // namespace vortel
