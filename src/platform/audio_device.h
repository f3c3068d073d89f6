#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "audio/audio_stream.h"

namespace vortel {

// The system's sound output: an SDL audio device at the image's rate, mono,
// signed 16-bit, pulling samples from the wave image on SDL's audio thread.
class SdlAudioDevice final : public Player {
public:
    // Returns null with a reason when no audio device can be opened.
    static std::unique_ptr<SdlAudioDevice> open(int32_t sampleRate, std::string* error);
    ~SdlAudioDevice() override;

    bool start(PlaybackCursor& cursor) override;
    const std::string& driver() const { return driver_; }
    // Samples the device takes per callback, as SDL granted them.
    int bufferSamples() const { return bufferSamples_; }

private:
    SdlAudioDevice() = default;
    static void callback(void* user, uint8_t* stream, int len);
    uint32_t device_ = 0;
    PlaybackCursor* cursor_ = nullptr;
    std::string driver_;
    int bufferSamples_ = 0;
};

}  // namespace vortel
