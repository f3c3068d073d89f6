#pragma once
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vortel {

// Every file the program writes (--wav, --stems, stills, recordings) goes
// through here, so that one set of rules holds for all of them:
//   "-"                    stdout (never a terminal);
//   a device or a FIFO     written in place, --force or not (/dev/null);
//   a symlink              followed: the file it points to is replaced, the
//                          link stays;
//   a regular file         replaced only with --force, and only once the new
//                          one is complete: the bytes go to a fresh temporary
//                          beside it, which a final rename puts in place;
//   anything else          refused (folders, sockets, missing folders).
// A temporary never outlives a failed or abandoned write. Writing to stdout,
// a device or a FIFO never blocks for long: a FIFO nobody reads is waited
// for, and a stalled reader waited on, only while stopRequested() says no.

// Checks one output target before any rendering: refuses an existing regular
// file (or a symlink to one) without `force`, a folder, a missing parent
// folder, etc. "-" means stdout and is always fine unless stdout is a
// terminal. Returns false with a one-line reason.
bool checkOutputTarget(const std::string& path, bool force, std::string* why);

class OutputFile {
public:
    // Opens `path` for writing: "-" is stdout; a device or FIFO is written in
    // place; otherwise a new uniquely-named temporary beside the
    // (link-resolved) target, created exclusively (O_EXCL|O_NOFOLLOW), which
    // commit() renames onto it. A FIFO nobody has open for reading is waited
    // for, and `waiting` called once when that wait starts. Returns null with
    // a reason ("interrupted" when stopped while waiting).
    static std::unique_ptr<OutputFile> create(const std::string& path, bool force, std::string* why,
                                              const std::function<void()>& waiting = {});
    ~OutputFile();  // removes the temporary unless committed

    std::FILE* stream();  // buffered writing
    int fd() const;
    // The path data goes to (the temporary, or the device), for a subprocess
    // such as ffmpeg that writes the file itself; "-" for stdout, which a
    // subprocess inherits.
    const std::string& writePath() const;
    // The file the data ends up in once committed ("-" for stdout).
    const std::string& targetPath() const { return target_; }

    // Whether writing stopped because stopRequested() said so.
    bool interrupted() const;

    // Flushes, checks every error (fflush/fsync/fclose) and renames the
    // temporary into place. Returns false with a reason; the temporary is
    // then gone and the target untouched.
    bool commit(std::string* why);

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

private:
    enum class Kind { Stdout, InPlace, Replace };
    struct Sink;  // where a stdout, device or FIFO stream's bytes go
    OutputFile() = default;
    bool openSinkStream(int fd, bool ownsFd, std::string* why);
    bool fail(const std::string& what, int err, std::string* why);
    void discard();

    Kind kind_ = Kind::Replace;
    std::FILE* file_ = nullptr;
    int fd_ = -1;
    std::string shown_;    // the path as the user gave it, for messages
    std::string target_;   // the link-resolved file that commit() replaces
    std::string write_;    // the temporary (Replace) or the device (InPlace)
    bool done_ = false;
    std::unique_ptr<Sink> sink_;
};

// Refuses (exit-2 style reason) when two of the given output paths name the
// same file: the same spelling, different spellings of one path ("./a.wav"
// and "a.wav"), a symlink and its target, or two hard links. Two "-" both
// mean stdout.
bool checkDistinctOutputs(const std::vector<std::string>& paths, std::string* why);

// The file `path` finally names once symlinks in its last component are
// followed (the path itself when it is not a link, or on a loop).
std::string followLinks(const std::string& path);

}  // namespace vortel
