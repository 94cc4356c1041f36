// The shape items the host adds to a shape layer's contents (AEGP_AddStream): each kind
// comes with the host's skeleton of properties and a display name numbered among its
// siblings ("Path 1", "Path 2", ...).
#pragma once

#include <memory>
#include <string>

#include "model/Stream.h"

namespace tlhost {

// Whether a shape item of `match_name` can be added to `group`: a kind the host knows,
// added to a shape layer's contents ("ADBE Root Vectors Group") or a shape group's
// ("ADBE Vectors Group"), which are indexed groups.
bool CanAddShapeItem(const StreamNode& group, const std::string& match_name);

// A new shape item of `match_name` with the host's skeleton, named for its place at the end
// of `group` (the kind's base name and one more than the number of its kind there).
// Null for a kind the host does not know.
std::unique_ptr<StreamNode> NewShapeItem(const StreamNode& group, const std::string& match_name);

}  // namespace tlhost
