#include "io/ffmpeg_pipe.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

extern char** environ;

namespace vortel {

namespace {

bool executable(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string findFfmpeg() {
    if (const char* own = std::getenv("VORTEL_FFMPEG"); own && *own) return executable(own) ? own : "";
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string candidate = (dir.empty() ? "." : dir) + "/ffmpeg";
        if (executable(candidate)) return candidate;
        start = end + 1;
    }
    return "";
}

std::vector<std::string> ffmpegArguments(const EncoderSettings& s) {
    std::vector<std::string> a = {
        "-hide_banner", "-loglevel", "error", "-y",
        // Video: raw BGRA frames on standard input.
        // Raw inputs need no probing; ffmpeg would otherwise wait for seconds
        // of audio before it reads the next frame.
        "-probesize", "32", "-analyzeduration", "0", "-thread_queue_size", "64",
        "-f", "rawvideo", "-pix_fmt", "bgra", "-s", std::to_string(s.width) + "x" + std::to_string(s.height),
        "-framerate", std::to_string(s.fps), "-i", "pipe:0",
        // Audio: 16-bit mono samples on descriptor 3.
        "-probesize", "32", "-analyzeduration", "0", "-thread_queue_size", "64",
        "-f", "s16le", "-ar", std::to_string(s.sampleRate), "-ac", "1", "-i", "pipe:3",
        "-map", "0:v", "-map", "1:a",
        // The same input gives the same file: no build strings, no dates.
        "-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact"};
    if (s.container == "mp4") {
        a.insert(a.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-threads", "1", "-pix_fmt", "yuv420p",
                           "-c:a", "aac", "-b:a", "160k", "-movflags", "+faststart"});
    } else {
        // Lossless: FFV1 video and FLAC audio.
        a.insert(a.end(), {"-c:v", "ffv1", "-level", "3", "-slices", "4", "-threads", "2", "-pix_fmt", "bgr0", "-c:a", "flac"});
    }
    a.insert(a.end(), {"-f", s.container, s.output});
    return a;
}

std::unique_ptr<FfmpegPipe> FfmpegPipe::start(const EncoderSettings& settings, std::string* why) {
    int videoPipe[2], audioPipe[2];
    if (pipe2(videoPipe, O_CLOEXEC) != 0) {
        *why = std::string("cannot make a pipe: ") + std::strerror(errno);
        return nullptr;
    }
    if (pipe2(audioPipe, O_CLOEXEC) != 0) {
        *why = std::string("cannot make a pipe: ") + std::strerror(errno);
        close(videoPipe[0]);
        close(videoPipe[1]);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, videoPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, audioPipe[0], 3);
    std::vector<std::string> args = ffmpegArguments(settings);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(settings.program.c_str()));
    for (std::string& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);
    // A dead ffmpeg must show as a failed write, not kill us.
    signal(SIGPIPE, SIG_IGN);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, settings.program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(videoPipe[0]);
    close(audioPipe[0]);
    if (rc != 0) {
        close(videoPipe[1]);
        close(audioPipe[1]);
        *why = "cannot start " + settings.program + ": " + std::strerror(rc);
        return nullptr;
    }
    std::unique_ptr<FfmpegPipe> p(new FfmpegPipe());
    p->pid_ = pid;
    p->video_.fd = videoPipe[1];
    p->audio_.fd = audioPipe[1];
    p->video_.thread = std::thread([raw = p.get()] { raw->run(raw->video_); });
    p->audio_.thread = std::thread([raw = p.get()] { raw->run(raw->audio_); });
    return p;
}

void FfmpegPipe::run(Channel& c) {
    for (;;) {
        std::vector<uint8_t> bytes;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return !c.queue.empty() || c.closing; });
            if (c.queue.empty()) break;
            bytes = std::move(c.queue.front());
            c.queue.pop_front();
            changed_.notify_all();
        }
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = write(c.fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                std::lock_guard lock(mutex_);
                c.broken = true;
                c.queue.clear();
                changed_.notify_all();
                break;
            }
            done += static_cast<size_t>(n);
        }
        if (c.broken) break;
    }
    close(c.fd);
    c.fd = -1;
}

bool FfmpegPipe::push(Channel& c, std::vector<uint8_t> bytes, size_t maxQueued) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return c.broken || c.queue.size() < maxQueued; });
    if (c.broken) return false;
    c.queue.push_back(std::move(bytes));
    changed_.notify_all();
    return true;
}

bool FfmpegPipe::writeFrame(std::vector<uint8_t> bgra) { return push(video_, std::move(bgra), 3); }

bool FfmpegPipe::writeAudio(const int16_t* samples, size_t count) {
    std::vector<uint8_t> bytes(count * 2);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t v = static_cast<uint16_t>(samples[i]);
        bytes[2 * i] = static_cast<uint8_t>(v);
        bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    return push(audio_, std::move(bytes), SIZE_MAX);
}

void FfmpegPipe::closeChannel(Channel& c) {
    {
        std::lock_guard lock(mutex_);
        c.closing = true;
        changed_.notify_all();
    }
    if (c.thread.joinable()) c.thread.join();
}

void FfmpegPipe::endAudio() {
    // No waiting here: the writer may still be handing ffmpeg the last
    // samples while ffmpeg waits for frames.
    std::lock_guard lock(mutex_);
    audio_.closing = true;
    changed_.notify_all();
}

bool FfmpegPipe::finish(std::string* why) {
    closeChannel(video_);
    closeChannel(audio_);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && !video_.broken && !audio_.broken) return true;
    if (WIFEXITED(status))
        *why = "ffmpeg failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    else if (WIFSIGNALED(status))
        *why = "ffmpeg was stopped by signal " + std::to_string(WTERMSIG(status));
    else
        *why = "ffmpeg stopped reading its input";
    return false;
}

void FfmpegPipe::abort() {
    if (pid_ > 0) kill(pid_, SIGKILL);
    {
        std::lock_guard lock(mutex_);
        video_.queue.clear();
        audio_.queue.clear();
    }
    closeChannel(video_);
    closeChannel(audio_);
    if (pid_ > 0) {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
}

FfmpegPipe::~FfmpegPipe() {
    if (pid_ > 0 || video_.thread.joinable() || audio_.thread.joinable()) abort();
}

}  // namespace vortel
