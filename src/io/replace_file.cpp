#include "io/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "io/temp_name.h"

namespace vortel {

namespace {

bool writeAllTo(int fd, std::string_view text) {
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool replaceFileAt(int dirFd, const std::string& name, std::string_view text, const std::string& shown,
                   std::string* why) {
    std::string ignored;
    if (!why) why = &ignored;
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        *why = "cannot write " + shown + ": not a file name";
        return false;
    }
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = ".vortel-" + uniqueTempSuffix();
        fd = ::openat(dirFd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR) break;
    }
    if (fd < 0) {
        *why = "cannot create a file beside " + shown + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const char* what, int err) {
        if (fd >= 0) ::close(fd);
        ::unlinkat(dirFd, temp.c_str(), 0);
        *why = std::string(what) + " " + shown + ": " + std::strerror(err);
        return false;
    };
    // A replaced file keeps its permissions; a link's target has no say.
    struct stat old;
    if (::fstatat(dirFd, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(fd, old.st_mode & 0777);
    if (!writeAllTo(fd, text)) return fail("cannot write", errno);
    if (::fsync(fd) != 0 && errno != EINVAL) return fail("cannot write", errno);  // EINVAL: nothing to sync
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail("cannot write", errno);
    // rename() replaces a link at `name` itself, never what it points to.
    if (::renameat(dirFd, temp.c_str(), dirFd, name.c_str()) != 0) return fail("cannot rename into place", errno);
    // Make the rename durable; a folder that refuses only costs durability.
    (void)::fsync(dirFd);
    return true;
}

bool replaceFile(const std::string& path, std::string_view text, std::string* why) {
    std::string ignored;
    if (!why) why = &ignored;
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        *why = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    const bool ok = replaceFileAt(dirFd, name, text, path, why);
    ::close(dirFd);
    return ok;
}

}  // namespace vortel
