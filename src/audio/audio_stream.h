#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "audio/pcm.h"
#include "audio/playback.h"
#include "audio/sample_source.h"
#include "audio/wav_file.h"

namespace vortel {

// The soundtrack: one in-memory WAV image with room for 240 s of 16-bit mono
// samples at 22050 Hz, handed to the player once and filled ahead of it,
// frame by frame, under a wall-clock budget that grows as the lead shrinks.
class AudioStream {
public:
    using Clock = uint32_t (*)();  // milliseconds, may wrap at 2^32

    explicit AudioStream(Clock clock);
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    // Builds the image and renders the first seconds (render(5)) from
    // `source`, which must outlive the stream.
    void init(SampleSource& source);
    // Starts the player (none: the show runs silently) and the budget clock.
    bool play(Player* player);
    // Synthesises further samples. seconds > 0: that much audio, whatever
    // the clock says. seconds == 0: as much as the frame's budget allows:
    // 20 ms of wall-clock time while 5 s or more are buffered, growing to
    // 420 ms when the player has caught up. Always at least one sample.
    void render(float seconds);

    // Moves the player's cursor to sample `position` (clamped to the image),
    // first synthesising what is missing up to `leadSeconds` beyond it (after
    // a jump far ahead, a burst at a few hundred times real time). The
    // cursor is moved inside `guard`, which a running player uses to hold
    // still meanwhile; without one it is moved directly.
    void seek(int64_t position, float leadSeconds,
              const std::function<void(const std::function<void()>&)>& guard = {});

    // Moves the player's cursor to sample `position` (clamped to the image)
    // without synthesising anything: the writer (a SoundThread) follows.
    // Until it has caught up the silence is not counted as an underrun
    // (caughtUp() tells when it has). `guard` as for seek.
    void moveCursor(int64_t position, const std::function<void(const std::function<void()>&)>& guard = {});
    // Whether the sound at the cursor is written; clears the catching-up
    // mark once it is.
    bool caughtUp();

    // The last budget factor used (1..21): the budget is factor * 20 ms.
    float lastFactor() const { return lastFactor_; }

    int32_t lengthSeconds = 240;
    int32_t sampleRate = kSampleRate;
    int32_t samplesWritten = 0;
    float renderAhead = 0;      // seconds rendered beyond the estimated play position
    int32_t dataBytes = 0;      // size the data chunk declares
    int32_t totalBytes = 0;     // 44 + dataBytes
    std::array<uint8_t, kWavHeaderBytes> header{};
    std::unique_ptr<uint8_t[]> image;  // the WAV image the player reads
    int16_t* samples = nullptr;        // image + 44
    uint32_t lastRenderTick = 0;
    // Samples complete and visible to the player (release/acquire).
    std::atomic<int32_t> published{0};
    PlaybackCursor cursor;

private:
    Clock clock_;
    SampleSource* source_ = nullptr;
    float lastFactor_ = 1;
};

}  // namespace vortel
