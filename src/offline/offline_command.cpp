#include "offline/offline_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "offline/show_layout.h"
#include "offline/contact_sheet.h"
#include "io/ffmpeg_pipe.h"
#include "io/json.h"
#include "offline/inspect.h"
#include "offline/show_summary.h"
#include "io/text_file.h"
#include "offline/song_render.h"
#include "offline/offline_show.h"
#include "io/output_file.h"
#include "io/png_image.h"
#include "offline/recording.h"
#include "io/std_streams.h"
#include "audio/pcm.h"
#include "audio/wav_file.h"
#include "platform/signals.h"
#include "visuals/frame/frame.h"

namespace vortel {

namespace {

bool carryOn() { return !quitSignalled(); }

// Says why `name` was not written: the user's stop, or `why`.
void reportFailure(const std::string& name, const std::string& why) {
    if (quitSignalled()) std::fprintf(stderr, "vortel: interrupted; %s not written\n", name.c_str());
    else std::fprintf(stderr, "vortel: %s\n", why.c_str());
}

// Opens an output, telling the user when a FIFO has nobody reading it yet.
std::unique_ptr<OutputFile> openOutput(const std::string& path, bool force, std::string* why) {
    return OutputFile::create(path, force, why, [&path] {
        std::fprintf(stderr, "vortel: waiting for a reader of %s (Ctrl-C stops)\n", path.c_str());
    });
}

// Removes the folders makeFolders() made, deepest first, each only if empty.
void removeMadeFolders(std::vector<std::filesystem::path>& made) {
    std::error_code ec;
    for (auto it = made.rbegin(); it != made.rend(); ++it) std::filesystem::remove(*it, ec);
    made.clear();
}

// Folders made for the outputs; whichever are still empty at the end (no
// output was written into them) go again.
struct MadeFolders {
    std::vector<std::filesystem::path> paths;
    ~MadeFolders() { removeMadeFolders(paths); }
};

// Renders one WAV file into its output, with a progress line when stderr
// is a terminal, and returns it written but not yet in place (commit() does
// that); null once the failure is reported.
std::unique_ptr<OutputFile> renderWavOutput(const SongLayout& layout, std::string_view part, const std::string& path, bool force) {
    const bool tty = isatty(STDERR_FILENO) != 0;
    const char* name = path == "-" ? "stdout" : path.c_str();
    auto progress = [&](double done) {
        if (tty) std::fprintf(stderr, "\rvortel: rendering %s %3d%%", name, static_cast<int>(done * 100));
        return !quitSignalled();
    };
    std::vector<int16_t> pcm = renderSongOffline(layout, part, progress);
    if (tty) std::fputc('\n', stderr);
    if (quitSignalled()) {
        std::fprintf(stderr, "vortel: interrupted; %s not written\n", name);
        return nullptr;
    }
    std::string why;
    auto out = openOutput(path, force, &why);
    if (!out) {
        reportFailure(name, why);
        return nullptr;
    }
    // A failed write leaves the stream's error flag set, which commit()
    // reports with its cause.
    const bool written = writeWav(out->stream(), pcm.data(), pcm.size(), kSampleRate);
    // Interrupted while writing: `out` removes its temporary unless committed.
    if (quitSignalled()) {
        reportFailure(name, "");
        return nullptr;
    }
    if (!written && !std::ferror(out->stream())) {
        std::fprintf(stderr, "vortel: cannot write %s: %s\n", name, std::strerror(errno));
        return nullptr;
    }
    return out;
}

bool commitOutput(OutputFile& out, const std::string& name) {
    std::string why;
    if (out.commit(&why)) return true;
    reportFailure(name, why);
    return false;
}

// The song, or the stems: all of them or none. Each stem is written beside
// its target, and they are put in place together once all are complete.
bool renderWavs(const SongLayout& layout, const std::vector<WavOutput>& wavs, bool force, bool verbose) {
    std::vector<std::unique_ptr<OutputFile>> stems;
    for (const WavOutput& wav : wavs) {
        auto out = renderWavOutput(layout, wav.part, wav.path, force);
        if (!out) return false;  // the stems written so far are dropped
        if (!wav.part.empty()) {
            stems.push_back(std::move(out));
            continue;
        }
        if (!commitOutput(*out, wav.path == "-" ? "stdout" : wav.path)) return false;
        if (verbose) std::fprintf(stderr, "vortel: wrote %s\n", wav.path.c_str());
    }
    // Renames only from here on: a stop now still leaves every stem whole.
    for (auto& out : stems) {
        if (!commitOutput(*out, out->targetPath())) return false;
        if (verbose) std::fprintf(stderr, "vortel: wrote %s\n", out->targetPath().c_str());
    }
    return true;
}

// Makes `dir` and any missing folders above it, noting the ones it made
// (the deepest last).
bool makeFolders(const std::string& dir, std::vector<std::filesystem::path>* made, std::string* why) {
    namespace fs = std::filesystem;
    std::vector<fs::path> missing;
    std::error_code ec;
    for (fs::path p = fs::path(dir).lexically_normal(); !p.empty() && !fs::exists(fs::symlink_status(p, ec));
         p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!fs::create_directory(*it, ec) && ec) {
            *why = "cannot create " + dir + ": " + ec.message();
            removeMadeFolders(*made);
            return false;
        }
        made->push_back(*it);
    }
    if (!fs::is_directory(dir, ec)) {
        *why = "cannot create " + dir + ": not a folder";
        removeMadeFolders(*made);
        return false;
    }
    return true;
}

// Encodes RGB rows as a PNG and writes it to `path`.
bool writePng(int width, int height, const std::vector<uint8_t>& rgb, const std::string& path, bool force) {
    std::string why;
    std::vector<uint8_t> png;
    if (!encodePng(width, height, rgb, &png, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    auto out = openOutput(path, force, &why);
    if (!out) {
        reportFailure(path, why);
        return false;
    }
    // A short write leaves the stream's error flag set; commit() reports it
    // with its cause.
    std::fwrite(png.data(), 1, png.size(), out->stream());
    if (quitSignalled()) {
        reportFailure(path, "");
        return false;
    }
    if (!out->commit(&why)) {
        reportFailure(path, why);
        return false;
    }
    return true;
}

// Renders the frame at `time` offscreen and writes it as a PNG.
bool writeStill(const SongLayout& layout, float time, const std::string& path, bool force, bool verbose,
                Renderer renderer) {
    std::string why;
    auto show = OfflineShow::open(layout, &why, renderer);
    if (!show) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    show->show().reportGlErrors = verbose;
    if (!show->renderStill(time, carryOn)) {
        reportFailure(path, "interrupted");
        return false;
    }
    return writePng(show->width(), show->height(), show->readRgb(), path, force);
}

// Records the show into opt.recordPath, with progress on a terminal.
bool writeRecording(const OfflineRequest& opt, const SongLayout& layout, const std::string& ffmpeg) {
    std::string why;
    auto out = openOutput(opt.recordPath, opt.force, &why);
    if (!out) {
        reportFailure(opt.recordPath, why);
        return false;
    }
    RecordSettings rs;
    rs.layout = layout;
    rs.fps = opt.fps;
    rs.lengthSeconds = opt.lengthSeconds ? *opt.lengthSeconds : -1.0f;
    rs.output = out->writePath();
    rs.shownOutput = opt.recordPath;
    rs.verbose = opt.verbose;
    rs.renderer = opt.renderer;
    rs.container = recordContainerFor(opt.recordPath);
    // ffmpeg writes the file by its name; ours stays open only to hold it.
    const bool tty = isatty(STDERR_FILENO) != 0;
    const auto started = std::chrono::steady_clock::now();
    auto progress = [&](int done, int total) {
        if (tty && (done % 15 == 0 || done == total)) {
            const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            const double speed = wall > 0 ? done / static_cast<double>(opt.fps) / wall : 0;
            const double left = speed > 0 ? (total - done) / static_cast<double>(opt.fps) / speed : 0;
            std::fprintf(stderr, "\rvortel: recording %s: frame %d of %d, %.2fx real time, %.0f s left   ",
                         opt.recordPath.c_str(), done, total, speed, left);
        }
        return !quitSignalled();
    };
    RecordTimes times;
    const bool ok = recordShow(rs, ffmpeg, progress, &times, &why);
    if (tty) std::fputc('\n', stderr);
    if (!ok) {
        std::fprintf(stderr, "vortel: %s; %s not written\n", quitSignalled() ? "interrupted" : why.c_str(),
                     opt.recordPath.c_str());
        return false;
    }
    // ffmpeg said it succeeded: a file it left empty says otherwise.
    struct stat st {};
    if (out->writePath() != "-" && ::stat(out->writePath().c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        st.st_size == 0) {
        std::fprintf(stderr, "vortel: ffmpeg exited with status 0 but wrote nothing; %s not written\n",
                     opt.recordPath.c_str());
        return false;
    }
    if (opt.verbose)
        std::fprintf(stderr,
                     "vortel: %d frames in %.2f s (%.2fx real time): rendering %.2f s, reading back %.2f s, "
                     "waiting on the encoder %.2f s\n",
                     times.frames, times.totalSeconds, times.frames / static_cast<double>(opt.fps) / times.totalSeconds,
                     times.renderSeconds, times.readSeconds, times.encodeWaitSeconds);
    if (!out->commit(&why)) {
        reportFailure(opt.recordPath, why);
        return false;
    }
    return true;
}

}  // namespace

OfflineStatus runOffline(const OutputPlan& plan, int32_t seed) {
    const OfflineRequest& opt = plan.request;
    std::string why;
    if (plan.status != OfflineStatus::Done) {
        std::fprintf(stderr, "vortel: %s\n", plan.error.c_str());
        return plan.status;
    }
    // Times are checked against this seed's show before anything is made.
    const SongLayout layout = showLayout(seed);
    if (!checkShowTimes(opt, showEnd(layout.songLength), &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return OfflineStatus::UsageError;
    }
    // Nothing else shows a seed the clock chose; without it the output could
    // not be made again.
    if (opt.seedFromClock) {
        if (opt.seedText.empty())
            std::fprintf(stderr, "vortel: no seed given; using seed %d from the clock\n", static_cast<int>(seed));
        else
            std::fprintf(stderr, "vortel: '%s' is not a seed; using seed %d from the clock\n", opt.seedText.c_str(),
                         static_cast<int>(seed));
    }
    // The stems' folder is made before anything is written, so that one that
    // cannot be made is refused like any other output; it goes again when no
    // stem is written into it.
    MadeFolders madeFolders;
    if (plan.makeStemsDir && !makeFolders(opt.stemsDir, &madeFolders.paths, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return OfflineStatus::UsageError;
    }
    if (opt.inspect) {
        std::string text = dumpJson(inspectShow(layout, opt.inspectAt)) + "\n";
        if (!writeStdout(text, &why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return OfflineStatus::Failed;
        }
    }
    if (!opt.summaryPath.empty()) {
        if (!writeTextFile(opt.summaryPath, dumpJson(showSummary(layout)) + "\n", opt.force, &why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return OfflineStatus::Failed;
        }
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", opt.summaryPath.c_str());
    }
    if (!renderWavs(layout, plan.wavs, opt.force, opt.verbose)) return OfflineStatus::Failed;
    if (!opt.stillPath.empty()) {
        if (!writeStill(layout, *opt.stillTime, opt.stillPath, opt.force, opt.verbose, opt.renderer)) return OfflineStatus::Failed;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", opt.stillPath.c_str());
    }
    if (!opt.sheetPath.empty()) {
        std::vector<uint8_t> sheet = renderContactSheet(layout, &why, carryOn, opt.renderer);
        if (sheet.empty()) {
            reportFailure(opt.sheetPath, why);
            return OfflineStatus::Failed;
        }
        if (!writePng(kSheetWidth, kSheetHeight, sheet, opt.sheetPath, opt.force)) return OfflineStatus::Failed;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", opt.sheetPath.c_str());
    }
    if (!opt.recordPath.empty()) {
        if (!writeRecording(opt, layout, plan.ffmpeg)) return OfflineStatus::Failed;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", opt.recordPath.c_str());
    }
    return OfflineStatus::Done;
}

}  // namespace vortel
