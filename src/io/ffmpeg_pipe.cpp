#include "io/ffmpeg_pipe.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "io/fd_writer.h"

extern char** environ;

namespace vortel {

namespace {

// `text` safe to print on a terminal: valid UTF-8 passes, other bytes and
// control characters (C0, DEL and C1, which can drive a terminal) are shown
// as \xNN, and a tab as a space.
std::string printableText(std::string_view text) {
    std::string out;
    auto quote = [&out](unsigned char c) {
        static const char kHex[] = "0123456789abcdef";
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    };
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\t') {
            out += ' ';
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7f) {
            quote(c);
            ++i;
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // The length of the UTF-8 sequence c starts, and its smallest value.
        const size_t n = c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
        uint32_t code = n == 2 ? c & 0x1f : n == 3 ? c & 0x0f : c & 0x07;
        bool valid = n > 0 && i + n <= text.size();
        for (size_t k = 1; valid && k < n; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            valid = (d & 0xc0) == 0x80;
            code = (code << 6) | (d & 0x3f);
        }
        const uint32_t least = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
        valid = valid && code >= least && code <= 0x10ffff && !(code >= 0xd800 && code <= 0xdfff) &&
                !(code >= 0x80 && code <= 0x9f);
        if (!valid) {
            quote(c);
            ++i;
            continue;
        }
        out.append(text.substr(i, n));
        i += n;
    }
    return out;
}

bool executable(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The output as ffmpeg must read it: a file, whatever the name looks like.
// An absolute path with the file: protocol leaves no room for an option
// ("-d/x.mkv") or another protocol ("pipe:/x.mkv", "http:/x.mkv").
std::string fileUrl(const std::string& path) {
    std::error_code ec;
    std::filesystem::path abs = std::filesystem::absolute(path, ec);
    return "file:" + (ec ? path : abs.lexically_normal().string());
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
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
    if (s.outputWidth > 0 && s.outputHeight > 0 && (s.outputWidth != s.width || s.outputHeight != s.height))
        a.insert(a.end(), {"-vf", "scale=" + std::to_string(s.outputWidth) + ":" + std::to_string(s.outputHeight) +
                                          ":flags=bilinear"});
    if (s.container == "mp4") {
        a.insert(a.end(), {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18", "-threads", "1", "-pix_fmt", "yuv420p",
                           "-c:a", "aac", "-b:a", "160k", "-movflags", "+faststart"});
    } else {
        // Lossless: FFV1 video and FLAC audio.
        a.insert(a.end(), {"-c:v", "ffv1", "-level", "3", "-slices", "4", "-threads", "2", "-pix_fmt", "bgr0", "-c:a", "flac"});
    }
    a.insert(a.end(), {"-f", s.container, fileUrl(s.output)});
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
    // Our ends never block: the writers wait in poll(), where a stop reaches
    // them.
    fcntl(videoPipe[1], F_SETFL, O_NONBLOCK);
    fcntl(audioPipe[1], F_SETFL, O_NONBLOCK);
    // ffmpeg's messages name our temporary and come before ours; they are
    // kept aside, and the last one goes into our message if it fails.
    const int messages = settings.passMessages ? -1 : memfd_create("vortel-ffmpeg-messages", MFD_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, videoPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, audioPipe[0], 3);
    if (messages >= 0) posix_spawn_file_actions_adddup2(&actions, messages, 2);
    // Its own process group, so that a stop kills whatever it started too;
    // and the signals we ignore or catch back at their defaults.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) sigaddset(&defaults, sig);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    std::vector<std::string> args = ffmpegArguments(settings);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(settings.program.c_str()));
    for (std::string& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);
    // A dead ffmpeg must show as a failed write, not kill us.
    signal(SIGPIPE, SIG_IGN);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, settings.program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    close(videoPipe[0]);
    close(audioPipe[0]);
    if (rc != 0) {
        close(videoPipe[1]);
        close(audioPipe[1]);
        if (messages >= 0) close(messages);
        *why = "cannot start " + settings.program + ": " + std::strerror(rc);
        return nullptr;
    }
    std::unique_ptr<FfmpegPipe> p(new FfmpegPipe());
    p->settings_ = settings;
    p->pid_ = pid;
    p->messagesFd_ = messages;
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
        if (!writeAll(c.fd, bytes.data(), bytes.size(), &cancelled_)) {
            std::lock_guard lock(mutex_);
            c.broken = true;
            c.queue.clear();
            changed_.notify_all();
            break;
        }
    }
    close(c.fd);
    c.fd = -1;
}

bool FfmpegPipe::push(Channel& c, std::vector<uint8_t> bytes, size_t maxQueued) {
    std::unique_lock lock(mutex_);
    // Waits in short steps: a stop must get through while ffmpeg reads
    // nothing.
    while (!c.broken && c.queue.size() >= maxQueued) {
        if (stopRequested()) return false;
        changed_.wait_for(lock, std::chrono::milliseconds(100));
    }
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
    bool stopped = false;
    const int status = waitForChild(pid_, &stopped);
    pid_ = -1;
    if (stopped || stopRequested()) {
        *why = "interrupted";
        return false;
    }
    const bool broken = video_.broken || audio_.broken;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && !broken) return true;
    *why = describeExit(status);
    return false;
}

std::string FfmpegPipe::describeExit(int status) const {
    std::string text;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        text = "ffmpeg ended (exit status 0) before it had read the whole " +
               std::string(video_.broken ? "video" : "soundtrack");
    else if (WIFEXITED(status))
        text = "ffmpeg failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    else if (WIFSIGNALED(status))
        text = "ffmpeg was stopped by signal " + std::to_string(WTERMSIG(status));
    else
        text = "ffmpeg stopped reading its input";
    const std::string said = lastMessage();
    return said.empty() ? text : text + ": " + said;
}

// The last line ffmpeg wrote on its stderr, with our temporary called by the
// name the user gave, cut to a readable length.
std::string FfmpegPipe::lastMessage() const {
    if (messagesFd_ < 0) return "";
    std::string all;
    char buf[4096];
    ssize_t n;
    off_t at = 0;
    while ((n = pread(messagesFd_, buf, sizeof buf, at)) > 0) {
        all.append(buf, static_cast<size_t>(n));
        at += n;
        if (all.size() > (1u << 20)) all.erase(0, all.size() - 4096);
    }
    while (!all.empty() && (all.back() == '\n' || all.back() == '\r' || all.back() == ' ')) all.pop_back();
    const size_t lineStart = all.find_last_of("\r\n");
    std::string line = lineStart == std::string::npos ? all : all.substr(lineStart + 1);
    if (!settings_.shownOutput.empty()) {
        const std::string url = fileUrl(settings_.output);
        replaceAll(line, url, settings_.shownOutput);
        replaceAll(line, url.substr(5), settings_.shownOutput);
        replaceAll(line, settings_.output, settings_.shownOutput);
    }
    constexpr size_t kMost = 160;
    if (line.size() > kMost) line = line.substr(0, kMost - 3) + "...";
    return printableText(line);
}

void FfmpegPipe::abort() {
    cancelled_ = true;
    if (pid_ > 0) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
    }
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
    if (messagesFd_ >= 0) close(messagesFd_);
}

}  // namespace vortel
