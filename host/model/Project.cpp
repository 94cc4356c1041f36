#include "model/Project.h"

#include <algorithm>
#include <stdexcept>

namespace tlhost {

namespace {
struct KindType {
    LayerKind kind;
    AEGP_ObjectType type;
};
constexpr KindType kObjectTypes[] = {
    {LayerKind::Shape, AEGP_ObjectType_VECTOR},  {LayerKind::Null, AEGP_ObjectType_AV},
    {LayerKind::Solid, AEGP_ObjectType_AV},      {LayerKind::Precomp, AEGP_ObjectType_AV},
    {LayerKind::Footage, AEGP_ObjectType_AV},    {LayerKind::Text, AEGP_ObjectType_TEXT},
    {LayerKind::Camera, AEGP_ObjectType_CAMERA}, {LayerKind::Light, AEGP_ObjectType_LIGHT},
};
}  // namespace

AEGP_ObjectType ObjectTypeOf(LayerKind kind) {
    for (const auto& k : kObjectTypes) {
        if (k.kind == kind) return k.type;
    }
    return AEGP_ObjectType_NONE;
}

EffectInstance& Layer::AddEffect(std::string match_name, std::string name) {
    effects_.push_back(
        std::make_unique<EffectInstance>(*this, std::move(match_name), std::move(name)));
    return *effects_.back();
}

std::size_t Composition::IndexOf(const Layer& layer) const {
    auto it = std::find(order_.begin(), order_.end(), &layer);
    return static_cast<std::size_t>(it - order_.begin());
}

Composition& Project::AddComposition(std::string name) {
    items_.push_back(std::make_unique<Composition>(next_item_id_++, std::move(name)));
    auto& comp = static_cast<Composition&>(*items_.back());
    comp_set_.insert(&comp);
    return comp;
}

Composition* Project::FindComposition(const std::string& name) const {
    for (const auto& item : items_) {
        if (item->kind() == ItemKind::Composition && item->name() == name) {
            return static_cast<Composition*>(item.get());
        }
    }
    return nullptr;
}

Layer& Project::AddLayer(Composition& comp, std::string name, LayerKind kind, AEGP_LayerIDVal id,
                         std::size_t index) {
    if (id == 0) id = next_layer_id_;
    if (layers_by_id_.count(id))
        throw std::invalid_argument("layer id " + std::to_string(id) + " is taken");
    next_layer_id_ = std::max(next_layer_id_, id + 1);
    layers_.push_back(std::make_unique<Layer>(comp, id, std::move(name), kind));
    Layer* layer = layers_.back().get();
    layers_by_id_.emplace(id, layer);
    layer_set_.insert(layer);
    auto& order = comp.order_;
    order.insert(index >= order.size() ? (index == SIZE_MAX ? order.begin() : order.end())
                                       : order.begin() + static_cast<std::ptrdiff_t>(index),
                 layer);
    return *layer;
}

Layer* Project::FindLayer(AEGP_LayerIDVal id) const {
    auto it = layers_by_id_.find(id);
    return it == layers_by_id_.end() ? nullptr : it->second;
}

void Project::StartUndoGroup(std::string name, RefId ref) {
    undo_groups_.push_back(UndoGroupRecord{std::move(name), false});
    open_undo_groups_.emplace_back(undo_groups_.size() - 1, ref);
}

bool Project::EndUndoGroup(RefId* ref) {
    if (open_undo_groups_.empty()) return false;
    auto [index, id] = open_undo_groups_.back();
    open_undo_groups_.pop_back();
    undo_groups_[index].closed = true;
    *ref = id;
    return true;
}

}  // namespace tlhost
