#include "platform/audio_device.h"

#include <SDL2/SDL.h>

#include "platform/library_messages.h"

namespace vortel {

std::unique_ptr<SdlAudioDevice> SdlAudioDevice::open(int32_t sampleRate, std::string* error) {
    // ALSA's own error lines are kept out of the way; its last goes into
    // our reason, which --verbose shows.
    quietenLibraryMessages();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error) *error = std::string("no audio: ") + SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<SdlAudioDevice> d(new SdlAudioDevice());
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;  // about 46 ms per callback
    want.callback = &SdlAudioDevice::callback;
    want.userdata = d.get();
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants, so the
    // callback always deals in the image's own format.
    d->device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (d->device_ == 0) {
        if (error) {
            *error = std::string("no audio device: ") + SDL_GetError();
            if (const std::string alsa = lastAlsaMessage(); !alsa.empty()) *error += " (ALSA: " + alsa + ")";
        }
        return nullptr;
    }
    d->bufferSamples_ = have.samples;
    const char* drv = SDL_GetCurrentAudioDriver();
    d->driver_ = drv ? drv : "";
    return d;
}

SdlAudioDevice::~SdlAudioDevice() {
    if (device_) SDL_CloseAudioDevice(device_);
}

bool SdlAudioDevice::start(AudioPull pull) {
    SDL_LockAudioDevice(device_);
    pull_ = std::move(pull);
    SDL_UnlockAudioDevice(device_);
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlAudioDevice::setPaused(bool paused) { SDL_PauseAudioDevice(device_, paused ? 1 : 0); }

void SdlAudioDevice::whileLocked(const std::function<void()>& fn) {
    SDL_LockAudioDevice(device_);
    fn();
    SDL_UnlockAudioDevice(device_);
}

void SdlAudioDevice::callback(void* user, uint8_t* stream, int len) {
    auto* self = static_cast<SdlAudioDevice*>(user);
    auto* out = reinterpret_cast<int16_t*>(stream);
    const int count = len / 2;
    if (!self->pull_) {
        SDL_memset(stream, 0, static_cast<size_t>(len));
        return;
    }
    self->pull_(out, count);
}

}  // namespace vortel
