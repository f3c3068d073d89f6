#include "offline/output_plan.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "io/ffmpeg_pipe.h"
#include "io/output_file.h"
#include "offline/recording.h"
#include "offline/song_render.h"

namespace vortel {

namespace {

OutputPlan refused(OutputPlan plan, OfflineStatus status, std::string why) {
    plan.status = status;
    plan.error = std::move(why);
    return plan;
}

}  // namespace

OutputPlan planOutputs(const OfflineRequest& req, EncoderFinder findEncoder) {
    namespace fs = std::filesystem;
    OutputPlan plan;
    plan.request = req;
    std::string why;
    if (!req.wavPath.empty()) plan.wavs.push_back({"", req.wavPath});
    if (!req.recordPath.empty()) {
        if (recordContainerFor(req.recordPath).empty())
            return refused(std::move(plan), OfflineStatus::UsageError,
                           "--record: " + req.recordPath + " must end in .mp4 or .mkv");
        plan.ffmpeg = findEncoder();
        if (plan.ffmpeg.empty())
            return refused(std::move(plan), OfflineStatus::Failed,
                           "--record needs the ffmpeg program, which is not installed or not on PATH "
                           "(Debian: apt-get install ffmpeg)");
    }
    bool stemsDirExists = false;
    if (!req.stemsDir.empty()) {
        std::error_code ec;
        fs::path dir(req.stemsDir);
        stemsDirExists = fs::exists(dir, ec);
        if (stemsDirExists && !fs::is_directory(dir, ec))
            return refused(std::move(plan), OfflineStatus::UsageError, req.stemsDir + " exists and is not a folder");
        for (std::string_view part : kStemParts) plan.wavs.push_back({part, (dir / (std::string(part) + ".wav")).string()});
        plan.makeStemsDir = true;
    }
    std::vector<std::string> outputs;
    for (const std::string* single : {&req.stillPath, &req.sheetPath, &req.recordPath}) {
        if (single->empty()) continue;
        if (*single == "-")
            return refused(std::move(plan), OfflineStatus::UsageError, "pictures and videos go to a file, not to stdout");
        outputs.push_back(*single);
        if (!checkOutputTarget(*single, req.force, &why)) return refused(std::move(plan), OfflineStatus::UsageError, why);
    }
    for (const WavOutput& wav : plan.wavs) {
        outputs.push_back(wav.path);
        if (!wav.part.empty() && !stemsDirExists) continue;
        if (!checkOutputTarget(wav.path, req.force, &why)) return refused(std::move(plan), OfflineStatus::UsageError, why);
    }
    if (!req.summaryPath.empty()) {
        outputs.push_back(req.summaryPath);
        if (!checkOutputTarget(req.summaryPath, req.force, &why))
            return refused(std::move(plan), OfflineStatus::UsageError, why);
    }
    if (req.inspect && req.wavPath == "-")
        return refused(std::move(plan), OfflineStatus::UsageError, "--inspect and --wav - both write to stdout");
    if (req.summaryPath == "-" && (req.inspect || req.wavPath == "-"))
        return refused(std::move(plan), OfflineStatus::UsageError,
                       std::string("--summary - and ") + (req.inspect ? "--inspect" : "--wav -") + " both write to stdout");
    if (!checkDistinctOutputs(outputs, &why)) return refused(std::move(plan), OfflineStatus::UsageError, why);
    return plan;
}

OutputPlan planOutputs(const OfflineRequest& request) { return planOutputs(request, &findFfmpeg); }

float showEnd(float songLength) { return songLength + 1.0f; }

bool checkShowTimes(const OfflineRequest& req, float end, std::string* why) {
    // The length shown is cut, not rounded, to whole milliseconds, so that
    // the figure given is itself always accepted.
    auto describe = [end](const char* option, float value, const char* problem) {
        char text[200];
        std::snprintf(text, sizeof text, "option %s: %g s %s; this seed's show lasts %.3f s (the song and 1 s)",
                      option, static_cast<double>(value), problem, std::floor(static_cast<double>(end) * 1000) / 1000);
        return std::string(text);
    };
    if (req.stillTime && !req.stillPath.empty() && *req.stillTime > end) {
        *why = describe("--still", *req.stillTime, "is after the show's end");
        return false;
    }
    if (req.inspect && req.inspectAt && *req.inspectAt > end) {
        *why = describe("--at", *req.inspectAt, "is after the show's end");
        return false;
    }
    if (req.lengthSeconds && !req.recordPath.empty() && *req.lengthSeconds > end) {
        *why = describe("--length", *req.lengthSeconds, "is longer than the show");
        return false;
    }
    return true;
}

}  // namespace vortel
