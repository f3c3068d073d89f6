#pragma once
#include "app/live_player.h"
#include "audio/playback.h"
#include "platform/audio_device.h"

namespace vortel {

// The sound device as the soundtrack's player: once started, the device's
// thread pulls its samples from the wave image through the cursor. Started
// again on another cursor, it reads that one from its next callback on.
class DevicePlayer final : public LivePlayer {
public:
    explicit DevicePlayer(SdlAudioDevice& device) : device_(device) {}
    bool start(PlaybackCursor& cursor) override {
        return device_.start([&cursor](int16_t* out, int count) { fillFromImage(cursor, out, count); });
    }
    void setPaused(bool paused) override { device_.setPaused(paused); }
    void whileStopped(const std::function<void()>& fn) override { device_.whileLocked(fn); }

private:
    SdlAudioDevice& device_;
};

}  // namespace vortel
