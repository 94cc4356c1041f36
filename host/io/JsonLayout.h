// Writes JSON for people to read and for diffs to stay small: an object or array
// that fits on the rest of its line is written on one line, anything longer is
// broken into one member per line. The same value always gives the same bytes.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace tlhost::io {

std::string LayOut(const nlohmann::ordered_json& value, std::size_t width = 100);

}  // namespace tlhost::io
