#pragma once
// The live show's own options: --start, --playlist and --shuffle.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vortel {

struct Options;

// Seeds separated by commas ("5,-3,42"), each read as the seed on the
// command line is (parseSeed: leading blanks, a sign, digits in the 32-bit
// range, anything after them ignored). Nothing with a one-line reason when
// an item is empty or not such a number.
std::optional<std::vector<int32_t>> parseSeedList(const std::string& text, std::string* why);

// Reads one of the live options at args[i] (`name`, with `value` when it
// was given as --name=value), advancing i past a separate value. Returns
// false when `name` is none of them; *error is set when it is one but is
// wrong (a missing or bad value, given twice).
bool takeLiveOption(const std::string& name, const std::optional<std::string>& value,
                    const std::vector<std::string>& args, size_t& i, Options& options, std::string* error);

// What is wrong with the live options given together with the rest of the
// command line ("" when nothing).
std::string checkLiveOptions(const Options& options);

}  // namespace vortel
