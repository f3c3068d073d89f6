#include "app/exports.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/contact_sheet.h"
#include "app/ffmpeg_pipe.h"
#include "app/json.h"
#include "app/offline.h"
#include "app/offline_frames.h"
#include "app/output_file.h"
#include "app/png_image.h"
#include "app/record.h"
#include "app/std_streams.h"
#include "audio/pcm.h"
#include "audio/wav_file.h"
#include "platform/signals.h"
#include "visuals/frame.h"

namespace vortel {

namespace {

// Renders one WAV file, with a progress line when stderr is a terminal.
bool renderWav(int32_t seed, std::string_view part, const std::string& path, bool force) {
    const bool tty = isatty(STDERR_FILENO) != 0;
    const char* name = path == "-" ? "stdout" : path.c_str();
    auto progress = [&](double done) {
        if (tty) std::fprintf(stderr, "\rvortel: rendering %s %3d%%", name, static_cast<int>(done * 100));
        return !quitSignalled();
    };
    std::vector<int16_t> pcm = renderSongOffline(seed, part, progress);
    if (tty) std::fputc('\n', stderr);
    if (quitSignalled()) {
        std::fprintf(stderr, "vortel: interrupted; %s not written\n", name);
        return false;
    }
    std::string why;
    auto out = OutputFile::create(path, force, &why);
    if (!out) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    if (!writeWav(out->stream(), pcm.data(), pcm.size(), kSampleRate)) {
        std::fprintf(stderr, "vortel: cannot write %s: %s\n", name, std::strerror(errno));
        return false;
    }
    // Interrupted while writing: `out` removes its temporary unless committed.
    if (quitSignalled()) {
        std::fprintf(stderr, "vortel: interrupted; %s not written\n", name);
        return false;
    }
    if (!out->commit(&why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
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
    auto out = OutputFile::create(path, force, &why);
    if (!out) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    if (std::fwrite(png.data(), 1, png.size(), out->stream()) != png.size()) {
        std::fprintf(stderr, "vortel: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    if (!out->commit(&why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    return true;
}

// Renders the frame at `time` offscreen and writes it as a PNG.
bool writeStill(int32_t seed, float time, const std::string& path, bool force, bool verbose) {
    std::string why;
    auto show = OfflineShow::open(seed, &why);
    if (!show) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    setGlErrorReporting(verbose);
    show->renderStill(time);
    return writePng(show->width(), show->height(), show->readRgb(), path, force);
}

// Records the show into opt.recordPath, with progress on a terminal.
bool writeRecording(const Options& opt, int32_t seed, const std::string& ffmpeg) {
    std::string why;
    auto out = OutputFile::create(opt.recordPath, opt.force, &why);
    if (!out) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    RecordSettings rs;
    rs.seed = seed;
    rs.fps = opt.fps;
    rs.lengthSeconds = opt.lengthSeconds ? *opt.lengthSeconds : -1.0f;
    rs.output = out->writePath();
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
        std::fprintf(stderr, "vortel: %s; %s not written\n", why.c_str(), opt.recordPath.c_str());
        return false;
    }
    if (opt.verbose)
        std::fprintf(stderr,
                     "vortel: %d frames in %.2f s (%.2fx real time): rendering %.2f s, reading back %.2f s, "
                     "waiting on the encoder %.2f s\n",
                     times.frames, times.totalSeconds, times.frames / static_cast<double>(opt.fps) / times.totalSeconds,
                     times.renderSeconds, times.readSeconds, times.encodeWaitSeconds);
    if (!out->commit(&why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return false;
    }
    return true;
}

}  // namespace

int runOffline(const Options& opt, int32_t seed) {
    namespace fs = std::filesystem;
    std::string why;
    std::vector<std::pair<std::string_view, std::string>> jobs;  // part ("" = all), file
    if (!opt.wavPath.empty()) jobs.emplace_back("", opt.wavPath);
    std::string ffmpeg;
    if (!opt.recordPath.empty()) {
        if (recordContainerFor(opt.recordPath).empty()) {
            std::fprintf(stderr, "vortel: --record: %s must end in .mp4 or .mkv\n", opt.recordPath.c_str());
            return kExitUsage;
        }
        ffmpeg = findFfmpeg();
        if (ffmpeg.empty()) {
            std::fprintf(stderr,
                         "vortel: --record needs the ffmpeg program, which is not installed or not on PATH "
                         "(Debian: apt-get install ffmpeg)\n");
            return kExitFailure;
        }
    }
    bool stemsDirExists = false;
    if (!opt.stemsDir.empty()) {
        std::error_code ec;
        fs::path dir(opt.stemsDir);
        stemsDirExists = fs::exists(dir, ec);
        if (stemsDirExists && !fs::is_directory(dir, ec)) {
            std::fprintf(stderr, "vortel: %s exists and is not a folder\n", opt.stemsDir.c_str());
            return kExitUsage;
        }
        for (std::string_view part : kStemParts)
            jobs.emplace_back(part, (dir / (std::string(part) + ".wav")).string());
    }
    // Check every target before rendering anything. Stems in a folder still
    // to be made are new files.
    std::vector<std::string> outputs;
    for (const std::string* single : {&opt.stillPath, &opt.sheetPath, &opt.recordPath}) {
        if (single->empty()) continue;
        if (*single == "-") {
            std::fprintf(stderr, "vortel: pictures and videos go to a file, not to stdout\n");
            return kExitUsage;
        }
        outputs.push_back(*single);
        if (!checkOutputTarget(*single, opt.force, &why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return kExitUsage;
        }
    }
    for (const auto& [part, path] : jobs) {
        outputs.push_back(path);
        if (!part.empty() && !stemsDirExists) continue;
        if (!checkOutputTarget(path, opt.force, &why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return kExitUsage;
        }
    }
    if (opt.inspect && opt.wavPath == "-") {
        std::fprintf(stderr, "vortel: --inspect and --wav - both write to stdout\n");
        return kExitUsage;
    }
    if (!checkDistinctOutputs(outputs, &why)) {
        std::fprintf(stderr, "vortel: %s\n", why.c_str());
        return kExitUsage;
    }
    if (!opt.stemsDir.empty()) {
        std::error_code ec;
        fs::create_directories(opt.stemsDir, ec);
        if (ec) {
            std::fprintf(stderr, "vortel: cannot create %s: %s\n", opt.stemsDir.c_str(), ec.message().c_str());
            return kExitFailure;
        }
    }
    if (opt.inspect) {
        std::string text = dumpJson(inspectShow(seed, opt.inspectAt));
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
        if (!flushStdout(&why)) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return kExitFailure;
        }
    }
    for (const auto& [part, path] : jobs) {
        if (!renderWav(seed, part, path, opt.force)) return kExitFailure;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", path.c_str());
    }
    if (!opt.stillPath.empty()) {
        if (!writeStill(seed, *opt.stillTime, opt.stillPath, opt.force, opt.verbose)) return kExitFailure;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", opt.stillPath.c_str());
    }
    if (!opt.sheetPath.empty()) {
        std::vector<uint8_t> sheet = renderContactSheet(seed, &why);
        if (sheet.empty()) {
            std::fprintf(stderr, "vortel: %s\n", why.c_str());
            return kExitFailure;
        }
        if (!writePng(kSheetWidth, kSheetHeight, sheet, opt.sheetPath, opt.force)) return kExitFailure;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", opt.sheetPath.c_str());
    }
    if (!opt.recordPath.empty()) {
        if (!writeRecording(opt, seed, ffmpeg)) return kExitFailure;
        if (opt.verbose) std::fprintf(stderr, "vortel: wrote %s\n", opt.recordPath.c_str());
    }
    return 0;
}

}  // namespace vortel
