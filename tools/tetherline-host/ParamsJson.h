// The declared parameters and their interface state as JSON, for the tool.
#pragma once

#include <nlohmann/json.hpp>

#include "model/Params.h"

namespace tltool {

// One declared parameter: index, id, match name, name, type, flags and the values of
// its kind.
nlohmann::json DescribeParam(int index, const tlhost::HostParam& param);

}  // namespace tltool
