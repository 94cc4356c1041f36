#include "io/FileFormat.h"

#include "model/Time.h"

namespace tlhost::io {

namespace {

struct ItemRow {
    ItemKind kind;
    const char* name;
};
constexpr ItemRow kItemTypes[] = {
    {ItemKind::Composition, "composition"},
    {ItemKind::Folder, "folder"},
    {ItemKind::Footage, "footage"},
};

struct LayerRow {
    LayerKind kind;
    const char* name;
};
constexpr LayerRow kLayerTypes[] = {
    {LayerKind::Shape, "shape"},     {LayerKind::Null, "null"},       {LayerKind::Solid, "solid"},
    {LayerKind::Precomp, "precomp"}, {LayerKind::Footage, "footage"}, {LayerKind::Text, "text"},
    {LayerKind::Camera, "camera"},   {LayerKind::Light, "light"},
};

struct GroupingRow {
    Grouping grouping;
    const char* name;
};
constexpr GroupingRow kGroupings[] = {
    {Grouping::Named, "named"},
    {Grouping::Indexed, "indexed"},
};

constexpr ValueKind kValueKinds[] = {
    ValueKind::NoData, ValueKind::OneD,    ValueKind::TwoD, ValueKind::ThreeD,
    ValueKind::Color,  ValueKind::LayerId, ValueKind::Path, ValueKind::Arb,
};

template <typename Row, std::size_t N, typename Key>
const char* NameOf(const Row (&rows)[N], Key Row::*key, Key value) {
    for (const auto& row : rows) {
        if (row.*key == value) return row.name;
    }
    return rows[0].name;
}

template <typename Row, std::size_t N, typename Key>
std::optional<Key> FromName(const Row (&rows)[N], Key Row::*key, const std::string& name) {
    for (const auto& row : rows) {
        if (name == row.name) return row.*key;
    }
    return std::nullopt;
}

}  // namespace

const LayerFlagName kLayerFlagNames[] = {
    {AEGP_LayerFlag_VIDEO_ACTIVE, "video_active"},
    {AEGP_LayerFlag_AUDIO_ACTIVE, "audio_active"},
    {AEGP_LayerFlag_EFFECTS_ACTIVE, "effects_active"},
    {AEGP_LayerFlag_MOTION_BLUR, "motion_blur"},
    {AEGP_LayerFlag_FRAME_BLENDING, "frame_blending"},
    {AEGP_LayerFlag_LOCKED, "locked"},
    {AEGP_LayerFlag_SHY, "shy"},
    {AEGP_LayerFlag_COLLAPSE, "collapse"},
    {AEGP_LayerFlag_AUTO_ORIENT_ROTATION, "auto_orient_rotation"},
    {AEGP_LayerFlag_ADJUSTMENT_LAYER, "adjustment_layer"},
    {AEGP_LayerFlag_TIME_REMAPPING, "time_remapping"},
    {AEGP_LayerFlag_LAYER_IS_3D, "layer_is_3d"},
    {AEGP_LayerFlag_LOOK_AT_CAMERA, "look_at_camera"},
    {AEGP_LayerFlag_LOOK_AT_POI, "look_at_poi"},
    {AEGP_LayerFlag_SOLO, "solo"},
    {AEGP_LayerFlag_MARKERS_LOCKED, "markers_locked"},
    {AEGP_LayerFlag_NULL_LAYER, "null_layer"},
    {AEGP_LayerFlag_HIDE_LOCKED_MASKS, "hide_locked_masks"},
    {AEGP_LayerFlag_GUIDE_LAYER, "guide_layer"},
    {AEGP_LayerFlag_ADVANCED_FRAME_BLENDING, "advanced_frame_blending"},
    {AEGP_LayerFlag_SUBLAYERS_RENDER_SEPARATELY, "sublayers_render_separately"},
    {AEGP_LayerFlag_ENVIRONMENT_LAYER, "environment_layer"},
};
const std::size_t kLayerFlagCount = sizeof(kLayerFlagNames) / sizeof(kLayerFlagNames[0]);

const char* ItemTypeName(ItemKind kind) {
    return NameOf(kItemTypes, &ItemRow::kind, kind);
}
std::optional<ItemKind> ItemTypeFromName(const std::string& name) {
    return FromName(kItemTypes, &ItemRow::kind, name);
}
const char* LayerTypeName(LayerKind kind) {
    return NameOf(kLayerTypes, &LayerRow::kind, kind);
}
std::optional<LayerKind> LayerTypeFromName(const std::string& name) {
    return FromName(kLayerTypes, &LayerRow::kind, name);
}
const char* GroupingName(Grouping grouping) {
    return NameOf(kGroupings, &GroupingRow::grouping, grouping);
}
std::optional<Grouping> GroupingFromName(const std::string& name) {
    return FromName(kGroupings, &GroupingRow::grouping, name);
}

std::optional<ValueKind> ValueKindFromName(const std::string& name) {
    for (ValueKind kind : kValueKinds) {
        if (name == ValueKindName(kind)) return kind;
    }
    return std::nullopt;
}

std::optional<AEGP_LayerFlags> LayerFlagFromName(const std::string& name) {
    for (std::size_t i = 0; i < kLayerFlagCount; ++i) {
        if (name == kLayerFlagNames[i].name) return kLayerFlagNames[i].flag;
    }
    return std::nullopt;
}

double Seconds(const A_Time& time) {
    return SecondsOf(time);
}

std::optional<A_Time> TimeFromSeconds(double seconds) {
    return tlhost::TimeFromSeconds(seconds);
}

}  // namespace tlhost::io
