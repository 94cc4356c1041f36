// The names a project file uses for the host's enumerations, and the conversion
// of times between seconds (as the file holds them) and the host's rational time.
#pragma once

#include <optional>
#include <string>

#include "model/Project.h"

namespace tlhost::io {

struct LayerFlagName {
    AEGP_LayerFlags flag;
    const char* name;
};
// Every layer flag the host knows, in bit order.
extern const LayerFlagName kLayerFlagNames[];
extern const std::size_t kLayerFlagCount;

const char* ItemTypeName(ItemKind kind);
std::optional<ItemKind> ItemTypeFromName(const std::string& name);
const char* LayerTypeName(LayerKind kind);
std::optional<LayerKind> LayerTypeFromName(const std::string& name);
const char* GroupingName(Grouping grouping);
std::optional<Grouping> GroupingFromName(const std::string& name);  // groups only
std::optional<ValueKind> ValueKindFromName(const std::string& name);
std::optional<AEGP_LayerFlags> LayerFlagFromName(const std::string& name);

// Seconds as written for a host time.
double Seconds(const A_Time& time);
// The host time for seconds: the smallest of a set of usual time scales that
// gives back exactly the same seconds, else microseconds. Null when the time is
// out of the host's range.
std::optional<A_Time> TimeFromSeconds(double seconds);

}  // namespace tlhost::io
