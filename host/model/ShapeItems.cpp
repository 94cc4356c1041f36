#include "model/ShapeItems.h"

#include <cstring>

namespace tlhost {

namespace {

// The kinds that can be added, with their base display names.
struct ShapeKindRow {
    const char* match_name;
    const char* base_name;
};
constexpr ShapeKindRow kShapeKinds[] = {
    {"ADBE Vector Group", "Group"},
    {"ADBE Vector Shape - Group", "Path"},
    {"ADBE Vector Graphic - Fill", "Fill"},
    {"ADBE Vector Graphic - Stroke", "Stroke"},
    {"ADBE Vector Filter - Trim", "Trim Paths"},
};

// The skeleton: the children of each group the host builds, in order. A child whose match
// name has rows of its own is a group and gets those as its children.
struct SkeletonRow {
    const char* parent;
    const char* match_name;
    const char* name;
    Grouping grouping;  // Leaf for properties
    StreamValue value;  // a property's value when it is made
};
const StreamValue kNone{};
// The host's choices for values the new items start with: a red fill, a white stroke two
// pixels wide, an empty open path, an identity transform and a trim that keeps it all.
const SkeletonRow kSkeleton[] = {
    {"ADBE Vector Group", "ADBE Vector Blend Mode", "Blend Mode", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Group", "ADBE Vectors Group", "Contents", Grouping::Indexed, kNone},
    {"ADBE Vector Group", "ADBE Vector Transform Group", "Transform", Grouping::Named, kNone},
    {"ADBE Vector Transform Group", "ADBE Vector Anchor", "Anchor Point", Grouping::Leaf,
     StreamValue::TwoD(0, 0)},
    {"ADBE Vector Transform Group", "ADBE Vector Position", "Position", Grouping::Leaf,
     StreamValue::TwoD(0, 0)},
    {"ADBE Vector Transform Group", "ADBE Vector Scale", "Scale", Grouping::Leaf,
     StreamValue::TwoD(100, 100)},
    {"ADBE Vector Transform Group", "ADBE Vector Skew", "Skew", Grouping::Leaf,
     StreamValue::OneD(0)},
    {"ADBE Vector Transform Group", "ADBE Vector Skew Axis", "Skew Axis", Grouping::Leaf,
     StreamValue::OneD(0)},
    {"ADBE Vector Transform Group", "ADBE Vector Rotation", "Rotation", Grouping::Leaf,
     StreamValue::OneD(0)},
    {"ADBE Vector Transform Group", "ADBE Vector Group Opacity", "Opacity", Grouping::Leaf,
     StreamValue::OneD(100)},
    {"ADBE Vector Shape - Group", "ADBE Vector Shape Direction", "Shape Direction", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Shape - Group", "ADBE Vector Shape", "Path", Grouping::Leaf, kNone},
    {"ADBE Vector Graphic - Fill", "ADBE Vector Blend Mode", "Blend Mode", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Graphic - Fill", "ADBE Vector Composite Order", "Composite", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Graphic - Fill", "ADBE Vector Fill Rule", "Fill Rule", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Graphic - Fill", "ADBE Vector Fill Color", "Color", Grouping::Leaf,
     StreamValue::Color(1, 0, 0, 1)},
    {"ADBE Vector Graphic - Fill", "ADBE Vector Fill Opacity", "Opacity", Grouping::Leaf,
     StreamValue::OneD(100)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Blend Mode", "Blend Mode", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Composite Order", "Composite", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Stroke Color", "Color", Grouping::Leaf,
     StreamValue::Color(1, 1, 1, 1)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Stroke Opacity", "Opacity", Grouping::Leaf,
     StreamValue::OneD(100)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Stroke Width", "Stroke Width", Grouping::Leaf,
     StreamValue::OneD(2)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Stroke Line Cap", "Line Cap", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Stroke Line Join", "Line Join", Grouping::Leaf,
     StreamValue::OneD(1)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Stroke Miter Limit", "Miter Limit",
     Grouping::Leaf, StreamValue::OneD(4)},
    {"ADBE Vector Graphic - Stroke", "ADBE Vector Stroke Dashes", "Dashes", Grouping::Indexed,
     kNone},
    {"ADBE Vector Filter - Trim", "ADBE Vector Trim Start", "Start", Grouping::Leaf,
     StreamValue::OneD(0)},
    {"ADBE Vector Filter - Trim", "ADBE Vector Trim End", "End", Grouping::Leaf,
     StreamValue::OneD(100)},
    {"ADBE Vector Filter - Trim", "ADBE Vector Trim Offset", "Offset", Grouping::Leaf,
     StreamValue::OneD(0)},
    {"ADBE Vector Filter - Trim", "ADBE Vector Trim Type", "Trim Multiple Shapes", Grouping::Leaf,
     StreamValue::OneD(1)},
};

const ShapeKindRow* FindKind(const std::string& match_name) {
    for (const ShapeKindRow& row : kShapeKinds) {
        if (match_name == row.match_name) return &row;
    }
    return nullptr;
}

StreamValue EmptyPath() {
    StreamValue path;
    path.kind = ValueKind::Path;
    return path;
}

// Fills a new group with the children the skeleton gives it, depth first.
void AddSkeleton(StreamNode& group) {
    for (const SkeletonRow& row : kSkeleton) {
        if (group.match_name() != row.parent) continue;
        if (row.grouping != Grouping::Leaf) {
            StreamNode& child = group.AddChild(
                std::make_unique<StreamNode>(row.match_name, row.name, row.grouping));
            AddSkeleton(child);
            continue;
        }
        const bool is_path = std::strcmp(row.match_name, "ADBE Vector Shape") == 0;
        const StreamValue value = is_path ? EmptyPath() : row.value;
        StreamNode& leaf = group.AddChild(
            std::make_unique<StreamNode>(row.match_name, row.name, Grouping::Leaf, value.kind));
        leaf.set_value(value);
    }
}

}  // namespace

bool CanAddShapeItem(const StreamNode& group, const std::string& match_name) {
    const bool contents = group.match_name() == "ADBE Root Vectors Group" ||
                          group.match_name() == "ADBE Vectors Group";
    return contents && group.grouping() == Grouping::Indexed && FindKind(match_name) != nullptr;
}

std::unique_ptr<StreamNode> NewShapeItem(const StreamNode& group, const std::string& match_name) {
    const ShapeKindRow* kind = FindKind(match_name);
    if (!kind) return nullptr;
    std::size_t same = 0;
    for (const auto& child : group.children()) same += child->match_name() == match_name;
    auto item = std::make_unique<StreamNode>(
        match_name, std::string(kind->base_name) + " " + std::to_string(same + 1), Grouping::Named);
    AddSkeleton(*item);
    return item;
}

}  // namespace tlhost
