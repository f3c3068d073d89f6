#include "app/startup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>


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

}  // namespace vortel
