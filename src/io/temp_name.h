#pragma once
#include <string>

namespace vortel {

// Six characters for a temporary's name (".vortel-XXXXXX"), different on
// every call and in every process; a clash with an existing name only costs
// another try.
std::string uniqueTempSuffix();

}  // namespace vortel
