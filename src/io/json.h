#pragma once
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace vortel {

// JSON as the program prints it: keys keep their insertion order, and real
// numbers are held as 32-bit floats so that each prints with the fewest
// digits (at most 9) that read back to the same float.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

}  // namespace vortel

namespace vortel {

// Serialises like Json::dump(indent) but prints every real number with 9
// significant digits ("%.9g"), which always reads back to the same 32-bit
// float whatever the reader rounds to.
std::string dumpJson(const Json& value, int indent = 2);

}  // namespace vortel
