#include "audio/audio_stream.h"

#include <algorithm>
#include <cstring>

#include "core/elapsed_time.h"
#include "audio/pcm.h"

namespace vortel {

AudioStream::AudioStream(Clock clock) : clock_(clock) {}

void AudioStream::init(SampleSource& source) {
    lengthSeconds = 240;
    sampleRate = kSampleRate;
    dataBytes = 10584002;  // one sample more than is ever rendered
    totalBytes = kWavHeaderBytes + dataBytes;
    samplesWritten = 0;
    renderAhead = 0;
    lastRenderTick = 0;
    header = makeWavHeader(dataBytes, sampleRate);
    // Cleared, so that nothing but silence or rendered audio can ever play.
    image = std::make_unique<uint8_t[]>(static_cast<size_t>(totalBytes));
    std::memcpy(image.get(), header.data(), header.size());
    samples = reinterpret_cast<int16_t*>(image.get() + kWavHeaderBytes);
    published.store(0, std::memory_order_relaxed);
    cursor.samples = samples;
    cursor.length = static_cast<int64_t>(lengthSeconds) * sampleRate;
    cursor.written = &published;
    cursor.position = 0;

    source_ = &source;
    render(5);
}

bool AudioStream::play(Player* player) {
    bool playing = player && player->start(cursor);
    lastRenderTick = clock_();
    return playing;
}

void AudioStream::render(float seconds) {
    bool budgetMode = seconds == 0;
    const uint32_t now = clock_();
    const uint32_t previous = lastRenderTick;
    lastRenderTick = now;
    float factor = 1;
    if (samplesWritten > 0) {
        float elapsed = elapsedSeconds(previous, now);
        renderAhead = static_cast<float>(static_cast<double>(renderAhead) - elapsed);
        if (renderAhead < 5) {
            factor = static_cast<float>(1.0 + (5.0 - renderAhead) * 4.0);
            if (renderAhead < 0) factor = 21;
        }
    }
    lastFactor_ = factor;
    const int32_t capacity = lengthSeconds * sampleRate;
    const int32_t first = samplesWritten;
    const float step = 1.0f / static_cast<float>(sampleRate);
    do {
        if (samplesWritten >= capacity) return;  // the image is full
        float t = sampleTime(samplesWritten, sampleRate);
        samples[samplesWritten] = toPcm16(source_->next(t));
        seconds = static_cast<float>(static_cast<double>(seconds) - step);
        if (samplesWritten < capacity) ++samplesWritten;
        published.store(samplesWritten, std::memory_order_release);
        if (budgetMode && elapsedMilliseconds(now, clock_()) > static_cast<double>(factor) * 20.0) budgetMode = false;
    } while (seconds > 0 || budgetMode);
    renderAhead = static_cast<float>(renderAhead +
                                     static_cast<double>(samplesWritten - first) / sampleRate);
}

void AudioStream::moveCursor(int64_t position, const std::function<void(const std::function<void()>&)>& guard) {
    const int64_t capacity = static_cast<int64_t>(lengthSeconds) * sampleRate;
    position = std::clamp<int64_t>(position, 0, capacity);
    auto move = [this, position] {
        cursor.position = position;
        cursor.played.store(position, std::memory_order_relaxed);
        if (published.load(std::memory_order_acquire) <= position) cursor.catchingUp.store(true);
    };
    if (guard) guard(move);
    else move();
}

bool AudioStream::caughtUp() {
    if (!cursor.catchingUp.load()) return true;
    if (published.load(std::memory_order_acquire) <= cursor.played.load(std::memory_order_relaxed)) return false;
    cursor.catchingUp.store(false);
    return true;
}

void AudioStream::seek(int64_t position, float leadSeconds,
                       const std::function<void(const std::function<void()>&)>& guard) {
    const int64_t capacity = static_cast<int64_t>(lengthSeconds) * sampleRate;
    position = std::clamp<int64_t>(position, 0, capacity);
    const int64_t want = std::min<int64_t>(capacity, position + static_cast<int64_t>(leadSeconds * sampleRate));
    while (samplesWritten < want) render(static_cast<float>(static_cast<double>(want - samplesWritten) / sampleRate));
    renderAhead = static_cast<float>(static_cast<double>(samplesWritten - position) / sampleRate);
    lastRenderTick = clock_();
    auto move = [this, position] {
        cursor.position = position;
        cursor.played.store(position, std::memory_order_relaxed);
    };
    if (guard) guard(move);
    else move();
}

}  // namespace vortel
