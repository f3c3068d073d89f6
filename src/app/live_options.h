#pragma once
// The live show's own options: --start, --playlist, --shuffle, and those
// of drawing into another program's window, --window-id, --root and --sound
// (their records are in the option table, options.cpp).
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

// An X11 window id as X tools and screensavers write it: "0x" and hex
// digits, or decimal; never 0. Nothing with a one-line reason naming `what`
// otherwise.
std::optional<uint64_t> parseWindowId(const std::string& text, const char* what, std::string* why);

// What is wrong with the live options given together with the rest of the
// command line ("" when nothing).
std::string checkLiveOptions(const Options& options);

}  // namespace vortel
