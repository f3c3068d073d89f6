#pragma once
// The offline command's first step: what is to be written where, with every
// target checked before anything is rendered. Planning renders nothing and
// writes nothing; it only looks at the file system (and for ffmpeg on PATH).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/renderer.h"

namespace vortel {

// What the command line asks of the offline command.
struct OfflineRequest {
    bool inspect = false;            // the show as JSON on stdout
    std::optional<float> inspectAt;  // with inspect: also the frame at this song time
    std::string wavPath;             // the song as WAV ("-": stdout)
    std::string stemsDir;            // one WAV per part in this folder
    std::optional<float> stillTime;  // the frame at this song time ...
    std::string stillPath;           // ... as PNG
    std::string sheetPath;           // the contact sheet as PNG
    std::string summaryPath;         // the show in brief as JSON ("-": stdout)
    std::string recordPath;          // the show as video (.mp4 or .mkv)
    int fps = 60;                    // frames per second of the recording
    std::optional<float> lengthSeconds;  // record only this much
    bool force = false;              // outputs may overwrite files
    bool verbose = false;
    Renderer renderer = Renderer::Arb;  // which programs draw the pictures (--renderer)
    bool seedFromClock = false;      // no seed was given, or it could not be read ...
    std::string seedText;            // ... and this was given instead (empty: none)
};

// How the offline command ended: the caller turns it into an exit code.
enum class OfflineStatus { Done, UsageError, Failed };

// One WAV file to render: the whole song (part empty) or one part's stem.
struct WavOutput {
    std::string_view part;
    std::string path;
};

// The checked plan: the request, the WAV files in the order they are
// written (the mix first, then the stems in kStemParts order), the ffmpeg
// program for a recording, and whether the stems' folder is still to be
// made. When status is not Done, `error` says why in one line and nothing
// may be run.
struct OutputPlan {
    OfflineStatus status = OfflineStatus::Done;
    std::string error;
    OfflineRequest request;
    std::vector<WavOutput> wavs;
    std::string ffmpeg;
    bool makeStemsDir = false;
};

// Where the planner looks for ffmpeg; tests substitute their own.
using EncoderFinder = std::string (*)();

// Checks `request` in this order: the recording's extension, then ffmpeg
// (a failure, not a usage error, when missing), the stems' folder, each
// picture and video target (never stdout), each WAV target (stems in a
// folder still to be made are new files), stdout asked for twice, and two
// outputs naming one file.
OutputPlan planOutputs(const OfflineRequest& request, EncoderFinder findEncoder);
OutputPlan planOutputs(const OfflineRequest& request);

// Where a show whose song lasts `songLength` seconds ends: the live show's
// last frame comes one second after the music.
float showEnd(float songLength);

// Checks the request's song times against a show that ends at `end`
// seconds: --still's and --at's times may be 0 up to the end, a recording's --length
// above 0 up to the end. False with a one-line reason that gives the show's
// length (a usage error).
bool checkShowTimes(const OfflineRequest& request, float end, std::string* why);

}  // namespace vortel
