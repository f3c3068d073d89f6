#include "io/text_file.h"

#include <cerrno>
#include <cstring>

#include "io/output_file.h"

namespace vortel {

bool writeTextFile(const std::string& path, const std::string& text, bool force, std::string* why) {
    auto out = OutputFile::create(path, force, why);
    if (!out) return false;
    if (std::fwrite(text.data(), 1, text.size(), out->stream()) != text.size()) {
        *why = "cannot write " + path + ": " + std::strerror(errno);
        return false;  // `out` removes its temporary
    }
    return out->commit(why);
}

}  // namespace vortel
