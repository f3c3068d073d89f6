#include "io/std_streams.h"

#include "io/fd_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vortel {

void guardStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        int stand = ::open("/dev/null", (fd == 2 ? O_WRONLY : O_RDONLY) | O_NOCTTY);
        if (stand >= 0 && stand != fd) {
            ::dup2(stand, fd);
            ::close(stand);
        }
    }
}

namespace {
int g_stdoutError = 0;  // the first failure seen, which later flushes no longer tell

bool failed(int err, std::string* why) {
    if (!g_stdoutError) g_stdoutError = err ? err : EIO;
    if (why) *why = std::string("cannot write to stdout: ") + describeError(g_stdoutError);
    return false;
}
}  // namespace

bool writeStdout(const std::string& text, std::string* why) {
    if (!flushStdout(why)) return false;
    if (writeAll(STDOUT_FILENO, text.data(), text.size())) return true;
    if (errno == EINTR && stopRequested()) {
        if (why) *why = "interrupted";
        return false;
    }
    return failed(errno, why);
}

bool flushStdout(std::string* why) {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return failed(errno, why);
    return true;
}

bool finishStdout(std::string* why) {
    if (!flushStdout(why)) return false;
    if (std::fclose(stdout) != 0) return failed(errno, why);
    return true;
}

}  // namespace vortel
