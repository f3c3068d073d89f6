#pragma once
#include <string>

namespace vortel {

// Writes `text` to `path` through OutputFile: the file appears only once it
// is complete, and an existing one is replaced only with `force`. Returns
// false with a one-line reason.
bool writeTextFile(const std::string& path, const std::string& text, bool force, std::string* why);

}  // namespace vortel
