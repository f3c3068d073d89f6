#include "offline/gallery_command.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <utility>

#include "io/replace_file.h"
#include "platform/signals.h"

namespace vortel {

namespace fs = std::filesystem;

namespace {

// A descriptor closed when it goes.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_;
};

void leftOut(const fs::path& what, const std::string& why) {
    std::fprintf(stderr, "vortel: %s left out: %s\n", what.string().c_str(), why.c_str());
}

// What a name is, in words, when it is not what was wanted.
std::string kindOf(mode_t mode) {
    if (S_ISREG(mode)) return "a file, not a folder";
    if (S_ISLNK(mode)) return "a symbolic link";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "neither a file nor a folder";
}

// The folder `name` in the folder `at`, never through a link: -1 with errno.
int openFolderAt(int at, const std::string& name) {
    return ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Why `name` in `at` did not open (errno `err`): what it is when that is not
// what was asked for, else the system's reason.
std::string whyNotOpened(int at, const std::string& name, int err, bool wantFolder) {
    struct stat st;
    if (::fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        (S_ISLNK(st.st_mode) || (wantFolder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode))))
        return kindOf(st.st_mode);
    return std::strerror(err);
}

bool isRegularFileAt(int at, std::string_view name) {
    struct stat st;
    return ::fstatat(at, std::string(name).c_str(), &st, 0) == 0 && S_ISREG(st.st_mode);
}

enum class SummaryRead { Read, Missing, Refused };

// Reads the summary in the seed folder `folderFd` into *text: a regular file
// only, never through a link, never a FIFO or a device (which could block,
// or never end), and at most kMaxGallerySummaryBytes. The size is checked on
// the open file, and the read stops one byte past the limit, so that a file
// growing meanwhile is refused all the same.
SummaryRead readSummary(int folderFd, std::string* text, std::string* why) {
    const std::string name(kGallerySummary);
    struct stat st;
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return SummaryRead::Missing;  // not written yet
        *why = std::strerror(errno);
        return SummaryRead::Refused;
    }
    if (!S_ISREG(st.st_mode)) {
        *why = kindOf(st.st_mode);
        return SummaryRead::Refused;
    }
    // O_NONBLOCK: should it have become a FIFO since, the open does not wait.
    const Fd fd(::openat(folderFd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!fd) {
        if (errno == ENOENT) return SummaryRead::Missing;
        *why = whyNotOpened(folderFd, name, errno, false);
        return SummaryRead::Refused;
    }
    if (::fstat(fd.get(), &st) != 0) {
        *why = std::strerror(errno);
        return SummaryRead::Refused;
    }
    if (!S_ISREG(st.st_mode)) {
        *why = kindOf(st.st_mode);
        return SummaryRead::Refused;
    }
    const std::string tooBig = "over the " + std::to_string(kMaxGallerySummaryBytes) + " bytes a summary may have";
    if (st.st_size > kMaxGallerySummaryBytes) {
        *why = std::to_string(st.st_size) + " bytes, " + tooBig;
        return SummaryRead::Refused;
    }
    const size_t cap = static_cast<size_t>(kMaxGallerySummaryBytes) + 1;
    text->resize(static_cast<size_t>(st.st_size) + 1);  // room to see the end in one read
    size_t got = 0;
    for (;;) {
        if (got == text->size()) {
            if (got >= cap) break;
            text->resize(std::min(cap, 2 * got));
        }
        const ssize_t n = ::read(fd.get(), text->data() + got, text->size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *why = std::strerror(errno);
            return SummaryRead::Refused;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    if (got > static_cast<size_t>(kMaxGallerySummaryBytes)) {
        *why = tooBig;
        return SummaryRead::Refused;
    }
    text->resize(got);
    return SummaryRead::Read;
}

// The seed folder `folder` of the seeds folder `seedsFd` as an entry; false
// when it is no seed folder, has no summary yet, or is left out (and said so).
bool readEntry(int seedsFd, const std::string& folder, const fs::path& seedsShown, GalleryEntry* e) {
    const fs::path shown = seedsShown / folder;
    struct stat st;
    if (::fstatat(seedsFd, folder.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;  // gone meanwhile
    if (S_ISLNK(st.st_mode)) {
        // Its page would be written wherever it points.
        leftOut(shown, kindOf(st.st_mode));
        return false;
    }
    if (!S_ISDIR(st.st_mode)) return false;  // a stray file among the seeds
    const Fd folderFd(openFolderAt(seedsFd, folder));
    if (!folderFd) {
        leftOut(shown, whyNotOpened(seedsFd, folder, errno, true));
        return false;
    }
    const fs::path summary = shown / kGallerySummary;
    std::string text, why;
    switch (readSummary(folderFd.get(), &text, &why)) {
    case SummaryRead::Missing: return false;
    case SummaryRead::Refused: leftOut(summary, why); return false;
    case SummaryRead::Read: break;
    }
    e->folder = folder;
    const Json j = Json::parse(text, nullptr, false);
    if (j.is_discarded()) why = "not JSON";
    if (!why.empty() || !galleryEntryFromSummary(j, e, &why)) {
        leftOut(summary, why);
        return false;
    }
    e->hasThumb = isRegularFileAt(folderFd.get(), kGalleryThumb);
    e->hasSheet = isRegularFileAt(folderFd.get(), kGallerySheet);
    e->hasPreview = isRegularFileAt(folderFd.get(), kGalleryPreview);
    return true;
}

std::vector<GalleryEntry> readGalleryAt(int seedsFd, const fs::path& seedsShown) {
    std::vector<std::string> folders;
    const int listFd = ::fcntl(seedsFd, F_DUPFD_CLOEXEC, 0);
    if (DIR* list = listFd >= 0 ? ::fdopendir(listFd) : nullptr) {
        ::rewinddir(list);
        while (const dirent* d = ::readdir(list)) {
            const std::string name = d->d_name;
            if (name != "." && name != "..") folders.push_back(name);
        }
        ::closedir(list);
    } else {
        const int err = errno;
        if (listFd >= 0) ::close(listFd);
        std::fprintf(stderr, "vortel: cannot read %s: %s\n", seedsShown.string().c_str(), std::strerror(err));
    }
    std::vector<GalleryEntry> entries;
    for (const std::string& folder : folders) {
        try {
            GalleryEntry e;
            if (readEntry(seedsFd, folder, seedsShown, &e)) entries.push_back(std::move(e));
        } catch (const std::bad_alloc&) {
            leftOut(seedsShown / folder, "out of memory");
        }
    }
    std::sort(entries.begin(), entries.end(), [](const GalleryEntry& a, const GalleryEntry& b) {
        return a.seed != b.seed ? a.seed < b.seed : a.folder < b.folder;
    });
    return entries;
}

OfflineStatus buildPages(const std::string& dir, bool verbose) {
    const Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));  // DIR itself as the user named it
    if (!dirFd) {
        if (errno == ENOENT || errno == ENOTDIR) {
            std::fprintf(stderr, "vortel: --gallery-page: %s is not a folder\n", dir.c_str());
            return OfflineStatus::UsageError;
        }
        std::fprintf(stderr, "vortel: --gallery-page: cannot open %s: %s\n", dir.c_str(), std::strerror(errno));
        return OfflineStatus::Failed;
    }
    const fs::path seedsShown = fs::path(dir) / "seeds";
    std::vector<GalleryEntry> entries;
    const Fd seedsFd(openFolderAt(dirFd.get(), "seeds"));
    if (seedsFd) {
        entries = readGalleryAt(seedsFd.get(), seedsShown);
    } else {
        const int err = errno;
        struct stat st;
        const bool exists = ::fstatat(dirFd.get(), "seeds", &st, AT_SYMLINK_NOFOLLOW) == 0;
        if (exists && S_ISLNK(st.st_mode)) {
            // Its seeds' pages would be written wherever it points.
            std::fprintf(stderr, "vortel: --gallery-page: %s is a symbolic link; the pages are written only inside %s\n",
                         seedsShown.string().c_str(), dir.c_str());
            return OfflineStatus::Failed;
        }
        if (exists) leftOut(seedsShown, whyNotOpened(dirFd.get(), "seeds", err, true));
        // No seeds folder yet: an empty gallery.
    }
    std::string why;
    const fs::path index = fs::path(dir) / kGalleryPage;
    // Ctrl-C, SIGTERM or SIGHUP end the run between two pages: each page is
    // whole, old or new, and the index is not rebuilt.
    auto stopped = [&index] {
        if (!quitSignalled()) return false;
        std::fprintf(stderr, "vortel: interrupted; %s not rebuilt\n", index.string().c_str());
        return true;
    };
    if (stopped()) return OfflineStatus::Failed;
    // A seed whose page cannot be written (its index.html a folder, say)
    // has no card; the others still get theirs, and the run says it failed.
    std::vector<GalleryEntry> shown;
    bool pageFailed = false;
    std::error_code ec;
    const bool hasPlayer = fs::is_regular_file(fs::path(dir) / kGalleryPlayer, ec);
    for (GalleryEntry& e : entries) {
        if (stopped()) return OfflineStatus::Failed;
        e.hasPlayer = hasPlayer;
        const fs::path page = seedsShown / e.folder / kGalleryPage;
        const Fd folderFd(openFolderAt(seedsFd.get(), e.folder));
        if (!folderFd) why = "cannot write " + page.string() + ": " + whyNotOpened(seedsFd.get(), e.folder, errno, true);
        if (!folderFd ||
            !replaceFileAt(folderFd.get(), std::string(kGalleryPage), gallerySeedHtml(e), page.string(), &why)) {
            leftOut(seedsShown / e.folder, why);
            pageFailed = true;
            continue;
        }
        shown.push_back(std::move(e));
    }
    if (!replaceFileAt(dirFd.get(), std::string(kGalleryPage), galleryIndexHtml(shown), index.string(), &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return OfflineStatus::Failed;
    }
    if (verbose) std::fprintf(stderr, "vortel: wrote %s with %zu seeds\n", index.string().c_str(), shown.size());
    return pageFailed ? OfflineStatus::Failed : OfflineStatus::Done;
}

}  // namespace

std::vector<GalleryEntry> readGallery(const std::string& dir) {
    const Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd) return {};
    const Fd seedsFd(openFolderAt(dirFd.get(), "seeds"));
    if (!seedsFd) return {};
    return readGalleryAt(seedsFd.get(), fs::path(dir) / "seeds");
}

OfflineStatus buildGalleryPages(const std::string& dir, bool verbose) {
    try {
        return buildPages(dir, verbose);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "vortel: --gallery-page %s: out of memory\n", dir.c_str());
        return OfflineStatus::Failed;
    }
}

}  // namespace vortel
