#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "core/song_layout.h"
#include "gfx/renderer.h"

namespace vortel {

// How a recording is made. The video runs as long as the live show: to the
// first frame at or after one second past the song, or `lengthSeconds`.
struct RecordSettings {
    SongLayout layout;  // the seed's (show_layout.h)
    int fps = 60;
    float lengthSeconds = -1;  // < 0: the whole show
    std::string output;        // the file ffmpeg writes
    std::string shownOutput;   // how messages name it
    std::string container;     // "mp4" or "matroska"
    bool verbose = false;      // ffmpeg's own messages on our stderr
    Renderer renderer = Renderer::Arb;
};

// Called after each frame with frames done and frames in all; returning
// false stops the recording.
using RecordProgress = std::function<bool(int done, int total)>;

// The container for a file name's extension ("mp4", "matroska"), or empty
// when the extension names none of the formats a recording can be.
std::string recordContainerFor(const std::string& path);

// Frames a recording of a show `songLength` seconds long holds at `fps`:
// k = 0, 1, ... up to the first frame whose time k / fps reaches
// songLength + 1 s, as the live show's last frame does; or the frames with
// time below `lengthSeconds` when that is not negative.
int recordFrameCount(float songLength, int fps, float lengthSeconds);

// Renders the show offscreen frame by frame (time k / fps exactly) with its
// soundtrack synthesised in step, as the live show interleaves them, and
// encodes both with ffmpeg into settings.output. Returns false with a
// reason: "interrupted" when stopRequested() or `progress` stopped it, and
// a length past the show's end is refused. Time spent: rendering, reading
// back, waiting on the encoder.
struct RecordTimes {
    double renderSeconds = 0, readSeconds = 0, encodeWaitSeconds = 0, totalSeconds = 0;
    int frames = 0;
};
bool recordShow(const RecordSettings& settings, const std::string& ffmpeg, const RecordProgress& progress,
                RecordTimes* times, std::string* why);

}  // namespace vortel
