#include "app/startup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "core/rng.h"

namespace vortel {

std::optional<int32_t> parseSeed(const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::istringstream in(text);
    int32_t value = 0;
    if (!(in >> value)) return std::nullopt;
    return value;
}

std::string windowTitle(int32_t seed) { return "KELMA: VORTEL " + std::to_string(seed); }

std::string replayLine(int32_t seed) { return "vortelWindow.exe " + std::to_string(seed); }

bool writeReplayFile(int32_t seed, std::string* error) {
    std::FILE* f = std::fopen(kReplayFileName, "w+");
    if (!f) {
        if (error) *error = std::string("cannot write ") + kReplayFileName + ": " + std::strerror(errno);
        return false;
    }
    std::string line = replayLine(seed);
    size_t written = std::fwrite(line.data(), 1, line.size(), f);
    bool ok = written == line.size();
    int saved = errno;
    if (std::fclose(f) != 0) ok = false;
    if (!ok && error) *error = std::string("cannot write ") + kReplayFileName + ": " + std::strerror(saved);
    return ok;
}

void setupSong(DemoState& state) {
    srand(static_cast<uint32_t>(state.seed));
    int r = rand();
    // 30/32767 as a float: the tempo spans 120..150 beats per minute.
    const float kTempoStep = 0.0009155553f;
    double bpm = 120.0 + static_cast<double>(r) * static_cast<double>(kTempoStep);
    state.bpm = static_cast<float>(bpm);
    state.stepLength = static_cast<float>(60.0 / bpm * 0.25);  // one sixteenth note
    state.sectionCount = 4;
    state.spanCount.fill(0);
    int spans = 0;
    for (int i = 0; i < state.sectionCount; ++i) {
        state.spanCount[i] = 4;
        spans += state.spanCount[i];
    }
    state.songLength = static_cast<float>(static_cast<double>(spans) * state.stepLength * 32.0);
}

}  // namespace vortel
