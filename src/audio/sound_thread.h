#pragma once
// The soundtrack synthesised on a thread of its own: the live show's frames
// never wait for sound. The thread fills an AudioStream's image in order,
// from its first sample on, keeping `lead` seconds ahead of the player's
// position; after a seek far ahead it runs at full speed (a few hundred
// times real time) until it is there again. It runs below the priority of
// the frames, which need the processor more urgently.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "audio/audio_stream.h"

namespace vortel {

class SoundThread {
public:
    // Starts filling `stream` (initialised, its source set) at once. The
    // stream and its source must outlive the thread; only the thread
    // synthesises into it from now on.
    SoundThread(AudioStream& stream, float leadSeconds);
    ~SoundThread();  // stops and joins
    SoundThread(const SoundThread&) = delete;
    SoundThread& operator=(const SoundThread&) = delete;

    // The player's position moved (a seek): look again at once.
    void wake();

private:
    void run();

    AudioStream& stream_;
    const float lead_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool woken_ = false;
    std::thread thread_;
};

}  // namespace vortel
