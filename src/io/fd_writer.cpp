#include "io/fd_writer.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vortel {

namespace {

std::atomic<bool (*)()> g_stopCheck{nullptr};

constexpr int kWaitMs = 100;  // the longest a wait lasts before asking again

bool stopped(const std::atomic<bool>* cancelled) {
    return stopRequested() || (cancelled && cancelled->load(std::memory_order_acquire));
}

void napMs(int ms) {
    struct timespec ts {0, ms * 1000000L};
    ::nanosleep(&ts, nullptr);  // a signal ends it early, which is fine
}

}  // namespace

void setStopCheck(bool (*check)()) { g_stopCheck.store(check); }

bool stopRequested() {
    bool (*check)() = g_stopCheck.load();
    return check && check();
}

bool writeAll(int fd, const void* data, size_t size, const std::atomic<bool>* cancelled) {
    const auto* p = static_cast<const uint8_t*>(data);
    const int flags = ::fcntl(fd, F_GETFL);
    struct stat st {};
    const bool pipeLike = ::fstat(fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
    // A blocking pipe may be written without blocking only once poll() has
    // seen room, and then no more than PIPE_BUF bytes at a time.
    const bool chunked = pipeLike && flags >= 0 && !(flags & O_NONBLOCK);
    while (size > 0) {
        if (stopped(cancelled)) {
            errno = EINTR;
            return false;
        }
        if (pipeLike) {
            struct pollfd pfd {fd, POLLOUT, 0};
            const int n = ::poll(&pfd, 1, kWaitMs);
            if (n < 0 && errno != EINTR) return false;
            if (n <= 0) continue;
            // POLLERR alone: the reader is gone; the write below says so.
        }
        const size_t chunk = chunked ? std::min<size_t>(size, PIPE_BUF) : size;
        const ssize_t n = ::write(fd, p, chunk);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
                if (!pipeLike) napMs(10);
                continue;
            }
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, size_t size) {
    auto* p = static_cast<uint8_t*>(data);
    while (size > 0) {
        if (stopRequested()) {
            errno = EINTR;
            return false;
        }
        struct pollfd pfd {fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, kWaitMs);
        if (ready < 0 && errno != EINTR) return false;
        if (ready <= 0) continue;
        const ssize_t n = ::read(fd, p, size);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

int openFifoForWriting(const std::string& path, const std::function<void()>& waiting) {
    bool told = false;
    for (;;) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd >= 0) return fd;
        // ENXIO: a FIFO with no reader yet.
        if (errno != ENXIO && errno != EINTR) return -1;
        if (stopRequested()) {
            errno = EINTR;
            return -1;
        }
        if (!told && waiting) waiting();
        told = true;
        napMs(20);
    }
}

int waitForChild(pid_t pid, bool* stoppedForQuit) {
    if (stoppedForQuit) *stoppedForQuit = false;
    int status = 0;
    for (;;) {
        const pid_t r = ::waitpid(pid, &status, WNOHANG);
        if (r == pid) return status;
        if (r < 0 && errno != EINTR) return status;
        if (stopRequested()) {
            if (stoppedForQuit) *stoppedForQuit = true;
            ::kill(-pid, SIGKILL);
            ::kill(pid, SIGKILL);
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return status;
        }
        napMs(10);
    }
}

std::string describeError(int err) {
    if (err == EPIPE) return "the reader closed the pipe";
    return std::strerror(err);
}

}  // namespace vortel
