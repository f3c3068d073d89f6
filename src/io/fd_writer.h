#pragma once
// Writing to descriptors that may block for ever: a FIFO nobody opens, a pipe
// whose reader stalls, an encoder that stops reading. Every wait here lasts
// at most a tenth of a second at a time and then asks the stop check, so
// that Ctrl-C or SIGTERM always gets through.
#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

namespace vortel {

// The program's answer to "has the user asked us to stop?"; until set, never.
void setStopCheck(bool (*check)());
bool stopRequested();

// Writes all `size` bytes to `fd` (blocking or not; a pipe, a FIFO, a device
// or a file). Returns false with errno set: EINTR once stopRequested() or
// `cancelled` says so, EPIPE when the reader has closed its end, else the
// write's own error.
bool writeAll(int fd, const void* data, size_t size, const std::atomic<bool>* cancelled = nullptr);

// Reads exactly `size` bytes from `fd` (a pipe, a file), waiting at most a
// tenth of a second at a time between stop checks. Returns false with errno
// set: EINTR once stopRequested() says so, EIO when the writer closed its end
// before all of it came, else the read's own error.
bool readAll(int fd, void* data, size_t size);

// Opens the FIFO `path` for writing without ever blocking in open(): while
// nobody has it open for reading it tries again every few hundredths of a
// second, calling `waiting` once before the first wait. The descriptor is
// non-blocking (writeAll copes). -1 with errno set (EINTR once stopped).
int openFifoForWriting(const std::string& path, const std::function<void()>& waiting);

// Waits for the child `pid` to end, killing its process group with SIGKILL
// once stopRequested() says so (and reaping it all the same). Returns the
// wait status; `stopped` tells whether it was killed for the stop.
int waitForChild(pid_t pid, bool* stopped);

// A message for errno `err` in this program's words (EPIPE names the pipe's
// reader, as it is the one that went away).
std::string describeError(int err);

}  // namespace vortel
