#pragma once
// The ffmpeg program as a video encoder: raw frames go in on its standard
// input, raw 16-bit mono audio on a second pipe (its descriptor 3), and it
// writes the finished file itself. Two writer threads feed the pipes, so
// the renderer never waits on audio and ffmpeg never waits on us for data
// we already have.
#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vortel {

// The ffmpeg to run: $VORTEL_FFMPEG when set, else "ffmpeg" found on PATH.
// Empty when there is none.
std::string findFfmpeg();

struct EncoderSettings {
    std::string program;   // path of ffmpeg
    std::string output;    // file ffmpeg writes (handed over as an absolute file: URL)
    std::string shownOutput;  // how our messages name that file
    bool passMessages = false;  // ffmpeg's own messages straight to our stderr
    std::string container; // "mp4" or "matroska"
    int width = 800, height = 600;  // the frames handed over
    int outputWidth = 0, outputHeight = 0;  // the video's, when ffmpeg is to scale them (0: as handed over)
    int fps = 60;
    int sampleRate = 22050;
};

// The command line for `s`, without the program itself.
std::vector<std::string> ffmpegArguments(const EncoderSettings& s);

class FfmpegPipe {
public:
    // Starts ffmpeg. Null with a reason when it cannot be started.
    static std::unique_ptr<FfmpegPipe> start(const EncoderSettings& settings, std::string* why);
    ~FfmpegPipe();  // kills ffmpeg if it is still running

    // Queues one frame of width x height BGRA pixels, top row first. Waits
    // while a few frames are still queued. False once ffmpeg has stopped
    // reading.
    bool writeFrame(std::vector<uint8_t> bgra);
    // Queues samples; never waits.
    bool writeAudio(const int16_t* samples, size_t count);
    // Closes the audio pipe once everything has been written: ffmpeg sees
    // the soundtrack's end while frames still come.
    void endAudio();
    // Closes both pipes and waits for ffmpeg. False with a reason when it
    // failed or was stopped ("interrupted").
    bool finish(std::string* why);
    // Stops ffmpeg at once (an interrupted or failed recording).
    void abort();

private:
    struct Channel {
        int fd = -1;
        std::deque<std::vector<uint8_t>> queue;
        bool closing = false;
        bool broken = false;
        std::thread thread;
    };
    FfmpegPipe() = default;
    void run(Channel& c);
    bool push(Channel& c, std::vector<uint8_t> bytes, size_t maxQueued);
    void closeChannel(Channel& c);

    std::string describeExit(int status) const;
    std::string lastMessage() const;

    EncoderSettings settings_;
    pid_t pid_ = -1;
    int messagesFd_ = -1;  // ffmpeg's stderr, kept for our message
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    Channel video_, audio_;
};

}  // namespace vortel
