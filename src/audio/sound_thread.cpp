#include "audio/sound_thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>

namespace vortel {

namespace {

// Each turn synthesises this much and then looks at the player again.
constexpr float kChunkSeconds = 0.1f;
// How often a thread that is far enough ahead looks again.
constexpr auto kIdle = std::chrono::milliseconds(20);

// Below the frames' priority (Linux takes a thread's nice value on its own).
void lowerPriority() {
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, tid, 10);
}

}  // namespace

SoundThread::SoundThread(AudioStream& stream, float leadSeconds)
    : stream_(stream), lead_(leadSeconds), thread_([this] { run(); }) {}

SoundThread::~SoundThread() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void SoundThread::wake() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
}

void SoundThread::run() {
    lowerPriority();
    const int64_t capacity = static_cast<int64_t>(stream_.lengthSeconds) * stream_.sampleRate;
    const int64_t lead = static_cast<int64_t>(static_cast<double>(lead_) * stream_.sampleRate);
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (stop_) return;
            const int64_t written = stream_.published.load(std::memory_order_acquire);
            const int64_t played = stream_.cursor.played.load(std::memory_order_relaxed);
            if (written >= capacity || written >= played + lead) {
                // Far enough ahead (or done): wait for the player or a seek.
                wake_.wait_for(lock, kIdle, [this] { return stop_ || woken_; });
                woken_ = false;
                continue;
            }
        }
        stream_.render(kChunkSeconds);
    }
}

}  // namespace vortel
