#pragma once
// Files that must never replace anything: a name is taken only if nothing
// has it yet (O_CREAT | O_EXCL, so two writers can never share one), with
// "-2", "-3", ... added before the extension until a free one is found.
#include <cstdint>
#include <string>
#include <vector>

namespace vortel {

// The name of attempt `n` (1, 2, ...): "stem.ext", then "stem-2.ext", ...
std::string numberedName(const std::string& stem, const std::string& ext, int n);

// Writes `bytes` into a new file named from `stem` and `ext` (".png") in
// `folder` (empty: the current folder), flushed to the disk. Sets *name to
// the name taken (folder included). A write that fails (a full disk, a
// folder that cannot be written) removes what it created, leaves every
// other file alone and returns false with a one-line reason.
bool writeNewFile(const std::string& folder, const std::string& stem, const std::string& ext,
                  const std::vector<uint8_t>& bytes, std::string* name, std::string* why);

}  // namespace vortel
