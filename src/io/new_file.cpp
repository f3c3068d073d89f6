#include "io/new_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vortel {

namespace {

// Names tried before giving up: a folder holding this many of one stem is
// not what anyone meant.
constexpr int kMaxAttempts = 10000;

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string numberedName(const std::string& stem, const std::string& ext, int n) {
    return n <= 1 ? stem + ext : stem + "-" + std::to_string(n) + ext;
}

bool writeNewFile(const std::string& folder, const std::string& stem, const std::string& ext,
                  const std::vector<uint8_t>& bytes, std::string* name, std::string* why) {
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (int n = 1; n <= kMaxAttempts; ++n) {
        const std::string path = prefix + numberedName(stem, ext, n);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            if (errno == EEXIST || errno == ELOOP) continue;  // taken (a file or a link): the next name
            if (errno == EINTR) {
                --n;
                continue;
            }
            if (why) *why = "cannot create " + path + ": " + std::strerror(errno);
            return false;
        }
        bool ok = writeAll(fd, bytes.data(), bytes.size());
        int err = ok ? 0 : errno;
        if (ok && ::fsync(fd) != 0 && errno != EINVAL) {
            ok = false;
            err = errno;
        }
        if (::close(fd) != 0 && ok) {
            ok = false;
            err = errno;
        }
        if (!ok) {
            ::unlink(path.c_str());  // ours: created above
            if (why) *why = "cannot write " + path + ": " + std::strerror(err);
            return false;
        }
        if (name) *name = path;
        return true;
    }
    if (why) *why = "cannot save " + prefix + stem + ext + ": " + std::to_string(kMaxAttempts) + " such names taken";
    return false;
}

}  // namespace vortel
