#pragma once
#include <cstdint>
#include <optional>
#include <string>


namespace vortel {

// Reads a seed the way a C++ stream extracts an int: leading white space
// skipped, an optional sign, digits up to the first character that cannot
// continue the number. Empty, non-numeric or out-of-range text gives nothing,
// and the caller falls back to the tick count.
std::optional<int32_t> parseSeed(const std::string& text);

std::string windowTitle(int32_t seed);   // "KELMA: VORTEL <seed>"
std::string replayLine(int32_t seed);    // "vortelWindow.exe <seed>"
inline constexpr const char* kReplayFileName = "vortelWindow_lastrun.bat";

// Writes the replay line (no line break) to the replay file in the current
// folder. Returns false with a reason when the file cannot be written.
bool writeReplayFile(int32_t seed, std::string* error);

}  // namespace vortel
