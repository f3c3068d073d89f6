#pragma once
#include <atomic>
#include <cstdint>

namespace vortel {

// The reading side of the wave image: the player's position and what it may
// read. The writer publishes how many samples are complete with a release
// store; the player reads that count with an acquire load and never plays a
// sample at or past it. Where the writer has fallen behind, the player plays
// silence for the missing samples and counts the underrun, but keeps time:
// its position advances in real time regardless, as a tape would.
struct PlaybackCursor {
    const int16_t* samples = nullptr;        // the image's first sample
    int64_t length = 0;                      // samples in the image
    const std::atomic<int32_t>* written = nullptr;  // samples complete so far
    int64_t position = 0;                    // next sample to play
    std::atomic<int64_t> underrunSamples{0}; // silent samples played for lack of data
    std::atomic<int32_t> underruns{0};       // callbacks that hit the writer
    std::atomic<int64_t> played{0};          // position, readable from other threads
    // Set while the writer is known to be behind on purpose (the position
    // was just moved past what is written): the silence meanwhile is not
    // counted as an underrun.
    std::atomic<bool> catchingUp{false};
};

// Whatever plays the wave image in real time, reading it progressively
// through the cursor while the frame loop keeps writing further ahead.
class Player {
public:
    virtual ~Player() = default;
    // Starts playback at the cursor's position and keeps playing to the end
    // of the image without further calls. Returns false if nothing will play.
    virtual bool start(PlaybackCursor& cursor) = 0;
};

// Fills `out` with the next `count` samples. Past the end of the image it
// plays silence (not counted as underrun).
void fillFromImage(PlaybackCursor& cursor, int16_t* out, int count);

}  // namespace vortel
