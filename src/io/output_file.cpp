#include "io/output_file.h"

#include "io/fd_writer.h"
#include "io/temp_name.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vortel {

namespace {

namespace fs = std::filesystem;

std::string reason(int err) { return describeError(err); }

// The folder a file lives in, "." for a bare name.
std::string folderOf(const std::string& path) {
    std::string dir = fs::path(path).parent_path().string();
    return dir.empty() ? "." : dir;
}

bool isDeviceOrFifo(const struct stat& st) { return S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode); }

// A new file can be made in `dir`: it exists, is a folder and lets us in.
bool folderTakesNewFiles(const std::string& dir, const std::string& shown, std::string* why) {
    struct stat st;
    if (::stat(dir.c_str(), &st) != 0) {
        *why = errno == ENOENT ? "cannot write " + shown + ": folder " + dir + " does not exist"
                               : "cannot write " + shown + ": " + reason(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        *why = "cannot write " + shown + ": " + dir + " is not a folder";
        return false;
    }
    if (::access(dir.c_str(), W_OK | X_OK) != 0) {
        *why = "cannot write " + shown + ": " + reason(errno);
        return false;
    }
    return true;
}


}  // namespace

// A stream whose writes go through writeAll(), so that a stalled or vanished
// reader is a failure or a wait that a stop ends, never a hang or SIGPIPE.
struct OutputFile::Sink {
    int fd = -1;
    bool ownsFd = false;
    int error = 0;  // the first failed write's errno
};

bool OutputFile::openSinkStream(int fd, bool ownsFd, std::string* why) {
    sink_ = std::make_unique<Sink>();
    sink_->fd = fd;
    sink_->ownsFd = ownsFd;
    cookie_io_functions_t io{};
    // A failed write is kept here and the bytes dropped, never handed back
    // to the stream as -1: glibc's buffered writer can then overrun its own
    // buffer on the next large write. commit() reports the kept error.
    io.write = [](void* cookie, const char* buf, size_t size) -> ssize_t {
        auto* sink = static_cast<Sink*>(cookie);
        if (!sink->error && !writeAll(sink->fd, buf, size)) sink->error = errno ? errno : EIO;
        return static_cast<ssize_t>(size);
    };
    io.close = [](void* cookie) -> int {
        auto* sink = static_cast<Sink*>(cookie);
        int rc = 0;
        if (sink->ownsFd && sink->fd >= 0) rc = ::close(sink->fd);
        sink->fd = -1;
        return rc;
    };
    file_ = ::fopencookie(sink_.get(), "w", io);
    if (!file_) {
        const int err = errno;
        if (ownsFd) ::close(fd);
        fd_ = -1;
        fail("cannot write", err, why);
        return false;
    }
    fd_ = fd;
    return true;
}

bool OutputFile::interrupted() const { return sink_ && sink_->error == EINTR && stopRequested(); }

std::string followLinks(const std::string& path) {
    std::string p = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        ssize_t n = ::readlink(p.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<size_t>(n) >= link.size()) return p;
        link.resize(static_cast<size_t>(n));
        fs::path next(link);
        p = next.is_absolute() ? link : (fs::path(p).parent_path() / next).string();
    }
    return path;
}

bool checkOutputTarget(const std::string& path, bool force, std::string* why) {
    std::string ignored;
    if (!why) why = &ignored;
    if (path.empty()) {
        *why = "an output needs a file name";
        return false;
    }
    if (path == "-") {
        if (::isatty(STDOUT_FILENO)) {
            *why = "will not write binary data to a terminal (redirect stdout, or name a file)";
            return false;
        }
        return true;
    }
    const std::string target = followLinks(path);
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            *why = path + " is a folder";
            return false;
        }
        if (isDeviceOrFifo(st)) return true;
        if (!S_ISREG(st.st_mode)) {
            *why = "cannot write " + path + ": neither a file nor a device";
            return false;
        }
        if (!force) {
            *why = path + " already exists (use --force to overwrite it)";
            return false;
        }
        return folderTakesNewFiles(folderOf(target), path, why);
    }
    if (errno != ENOENT && errno != ENOTDIR) {
        *why = "cannot write " + path + ": " + reason(errno);
        return false;
    }
    return folderTakesNewFiles(folderOf(target), path, why);
}

std::unique_ptr<OutputFile> OutputFile::create(const std::string& path, bool force, std::string* why,
                                               const std::function<void()>& waiting) {
    std::string ignored;
    if (!why) why = &ignored;
    if (!checkOutputTarget(path, force, why)) return nullptr;
    std::unique_ptr<OutputFile> out(new OutputFile());
    out->shown_ = path;
    if (path == "-") {
        out->kind_ = Kind::Stdout;
        out->target_ = out->write_ = "-";
        // Whatever stdout's own buffer holds goes first.
        std::fflush(stdout);
        if (!out->openSinkStream(STDOUT_FILENO, false, why)) return nullptr;
        return out;
    }
    out->target_ = followLinks(path);
    struct stat st;
    const bool exists = ::stat(out->target_.c_str(), &st) == 0;
    int fd = -1;
    if (exists && isDeviceOrFifo(st)) {
        // Devices and FIFOs are written in place: replacing /dev/null with a
        // file, or a FIFO someone reads, is never what the user meant.
        out->kind_ = Kind::InPlace;
        out->write_ = out->target_;
        fd = S_ISFIFO(st.st_mode) ? openFifoForWriting(out->write_, waiting)
                                  : ::open(out->write_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            *why = errno == EINTR && stopRequested() ? "interrupted" : "cannot write " + path + ": " + reason(errno);
            return nullptr;
        }
        if (!out->openSinkStream(fd, true, why)) return nullptr;
        return out;
    } else {
        // A fresh name beside the target, so the rename stays on one file
        // system. O_EXCL|O_NOFOLLOW: never reuse, never follow, an existing
        // name. Short, so that a target name of any legal length works.
        out->kind_ = Kind::Replace;
        const std::string dir = folderOf(out->target_);
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            std::string temp = dir + "/.vortel-" + uniqueTempSuffix();
            fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd >= 0) out->write_ = temp;
            else if (errno != EEXIST) break;
        }
        if (fd < 0) {
            *why = "cannot create a file beside " + path + ": " + reason(errno);
            return nullptr;
        }
        // A replaced file keeps its permissions.
        if (exists) (void)::fchmod(fd, st.st_mode & 07777);
    }
    // Through the same writer as stdout and devices, so that the first
    // failed write's cause (a full disk, the file-size limit) is kept for
    // the message instead of being lost with the stream's error flag.
    if (!out->openSinkStream(fd, true, why)) return nullptr;
    return out;
}

OutputFile::~OutputFile() {
    if (!done_) discard();
}

std::FILE* OutputFile::stream() { return file_; }

int OutputFile::fd() const { return fd_; }

const std::string& OutputFile::writePath() const { return write_; }

void OutputFile::discard() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    fd_ = -1;
    if (kind_ == Kind::Replace && !write_.empty()) ::unlink(write_.c_str());
    done_ = true;
}

bool OutputFile::fail(const std::string& what, int err, std::string* why) {
    discard();
    // A write through the sink failed earlier: its errno is the cause.
    if ((!err || err == EIO) && sink_ && sink_->error) err = sink_->error;
    // errno 0: a write failed earlier and nothing kept its cause.
    const std::string cause = err ? reason(err) : "a write failed";
    if (why && err == EINTR && stopRequested()) *why = "interrupted";
    else if (why) *why = kind_ == Kind::Stdout ? what + " to stdout: " + cause : what + " " + shown_ + ": " + cause;
    return false;
}

bool OutputFile::commit(std::string* why) {
    if (done_) {
        if (why) *why = "cannot write " + shown_ + ": already finished";
        return false;
    }
    // A write error seen earlier leaves the stream's error flag set.
    errno = 0;
    if (std::fflush(file_) != 0 || std::ferror(file_) || (sink_ && sink_->error)) return fail("cannot write", errno, why);
    if (kind_ == Kind::Stdout) {
        std::FILE* f = file_;
        file_ = nullptr;
        fd_ = -1;
        done_ = true;
        return std::fclose(f) == 0 || fail("cannot write", errno, why);
    }
    // Only a regular file's data needs to be on the disk before the rename
    // makes it the target; devices and FIFOs often refuse fsync.
    if (kind_ == Kind::Replace && ::fsync(fd_) != 0) return fail("cannot write", errno, why);
    std::FILE* f = file_;
    file_ = nullptr;
    fd_ = -1;
    if (std::fclose(f) != 0) return fail("cannot write", errno, why);
    if (kind_ == Kind::Replace) {
        if (::rename(write_.c_str(), target_.c_str()) != 0) return fail("cannot rename into place", errno, why);
        // Make the rename itself durable; a folder that refuses only costs
        // durability, not the file.
        int dirFd = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            (void)::fsync(dirFd);
            ::close(dirFd);
        }
    }
    done_ = true;
    return true;
}

bool checkDistinctOutputs(const std::vector<std::string>& paths, std::string* why) {
    struct Identity {
        bool isStdout = false;
        bool exists = false;
        dev_t dev = 0;
        ino_t ino = 0;
        std::string canonical;
    };
    std::vector<Identity> ids;
    for (const std::string& p : paths) {
        Identity id;
        if (p == "-") {
            id.isStdout = true;
        } else {
            std::string t = followLinks(p);
            struct stat st;
            if (::stat(t.c_str(), &st) == 0) {
                id.exists = true;
                id.dev = st.st_dev;
                id.ino = st.st_ino;
            }
            std::error_code ec;
            fs::path abs = fs::absolute(t, ec);
            fs::path c = fs::weakly_canonical(abs, ec);
            id.canonical = (ec ? abs.lexically_normal() : c).string();
        }
        ids.push_back(id);
    }
    for (size_t i = 0; i < ids.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            const Identity& a = ids[j];
            const Identity& b = ids[i];
            bool same = a.isStdout || b.isStdout
                            ? a.isStdout && b.isStdout
                            : (a.exists && b.exists && a.dev == b.dev && a.ino == b.ino) || a.canonical == b.canonical;
            if (!same) continue;
            if (why) {
                *why = a.isStdout ? "two outputs write to stdout ('-' given twice)"
                                  : "'" + paths[j] + "' and '" + paths[i] + "' name the same file";
            }
            return false;
        }
    }
    return true;
}

}  // namespace vortel
