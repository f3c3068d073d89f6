#pragma once
#include "audio/playback.h"
#include "platform/audio_device.h"

namespace vortel {

// The sound device as the soundtrack's player: once started, the device's
// thread pulls its samples from the wave image through the cursor.
class DevicePlayer final : public Player {
public:
    explicit DevicePlayer(SdlAudioDevice& device) : device_(device) {}
    bool start(PlaybackCursor& cursor) override {
        return device_.start([&cursor](int16_t* out, int count) { fillFromImage(cursor, out, count); });
    }

private:
    SdlAudioDevice& device_;
};

}  // namespace vortel
