#include "model/Project.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <unordered_set>

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

namespace {

// The root match name of each layer kind's property tree.
struct RootRow {
    LayerKind kind;
    const char* match_name;
};
constexpr RootRow kRoots[] = {
    {LayerKind::Shape, "ADBE Vector Layer"},  {LayerKind::Null, "ADBE AV Layer"},
    {LayerKind::Solid, "ADBE AV Layer"},      {LayerKind::Precomp, "ADBE AV Layer"},
    {LayerKind::Footage, "ADBE AV Layer"},    {LayerKind::Text, "ADBE Text Layer"},
    {LayerKind::Camera, "ADBE Camera Layer"}, {LayerKind::Light, "ADBE Light Layer"},
};

// The transform group of a layer, in the host's order. A 2D layer has the rows with a 2D
// name; a 3D layer has them all, under their 3D names.
struct TransformRow {
    const char* match_name;
    const char* name_2d;  // null: only 3D layers have it
    const char* name_3d;
    StreamValue value;
};
const TransformRow kTransform[] = {
    {"ADBE Anchor Point", "Anchor Point", "Anchor Point", StreamValue::ThreeD(0, 0, 0)},
    {"ADBE Position", "Position", "Position", StreamValue::ThreeD(0, 0, 0)},
    {"ADBE Scale", "Scale", "Scale", StreamValue::ThreeD(100, 100, 100)},
    {"ADBE Orientation", nullptr, "Orientation", StreamValue::ThreeD(0, 0, 0)},
    {"ADBE Rotate X", nullptr, "X Rotation", StreamValue::OneD(0)},
    {"ADBE Rotate Y", nullptr, "Y Rotation", StreamValue::OneD(0)},
    {"ADBE Rotate Z", "Rotation", "Z Rotation", StreamValue::OneD(0)},
    {"ADBE Opacity", "Opacity", "Opacity", StreamValue::OneD(100)},
};
constexpr char kTransformGroup[] = "ADBE Transform Group";

std::unique_ptr<StreamNode> TransformLeaf(const TransformRow& row, const char* name) {
    auto leaf = std::make_unique<StreamNode>(row.match_name, name, Grouping::Leaf, row.value.kind);
    leaf->set_value(row.value);
    return leaf;
}

void SetThreeD(StreamNode* leaf, double x, double y, double z) {
    if (leaf && leaf->kind() == ValueKind::ThreeD) leaf->set_value(StreamValue::ThreeD(x, y, z));
}

const char* RootMatchName(LayerKind kind) {
    for (const auto& r : kRoots) {
        if (r.kind == kind) return r.match_name;
    }
    return "ADBE AV Layer";
}

ValueKind ParamValueKind(PF_ParamType type) {
    switch (type) {
        case PF_Param_FLOAT_SLIDER:
        case PF_Param_SLIDER:
        case PF_Param_FIX_SLIDER:
        case PF_Param_ANGLE:
        case PF_Param_CHECKBOX:
        case PF_Param_POPUP:
        case PF_Param_BUTTON:
            return ValueKind::OneD;
        case PF_Param_COLOR:
            return ValueKind::Color;
        case PF_Param_LAYER:
            return ValueKind::LayerId;
        case PF_Param_ARBITRARY_DATA:
            return ValueKind::Arb;
        default:
            return ValueKind::NoData;
    }
}

}  // namespace

Layer::Layer(Composition& comp, AEGP_LayerIDVal id, std::string name, LayerKind kind)
    : comp_(comp), id_(id), name_(std::move(name)), kind_(kind) {
    auto root = std::make_unique<StreamNode>(RootMatchName(kind), name_, Grouping::Named);
    if (kind == LayerKind::Shape) {
        root->AddChild(
            std::make_unique<StreamNode>("ADBE Root Vectors Group", "Contents", Grouping::Indexed));
    }
    root->AddChild(
        std::make_unique<StreamNode>("ADBE Effect Parade", "Effects", Grouping::Indexed));
    StreamNode& transform =
        root->AddChild(std::make_unique<StreamNode>(kTransformGroup, "Transform", Grouping::Named));
    for (const auto& row : kTransform) {
        if (row.name_2d) transform.AddChild(TransformLeaf(row, row.name_2d));
    }
    set_root(std::move(root));
}

void Layer::set_root(std::unique_ptr<StreamNode> root) {
    root_ = std::move(root);
    root_->set_layer(this);
}

StreamNode& Layer::effects_group() {
    StreamNode* parade = root_->FindChild("ADBE Effect Parade");
    if (!parade) {
        parade = &root_->AddChild(
            std::make_unique<StreamNode>("ADBE Effect Parade", "Effects", Grouping::Indexed));
    }
    return *parade;
}

EffectInstance& Layer::AddEffect(std::string match_name, std::string name) {
    StreamNode& parade = effects_group();
    // A group the project file already holds for this effect (in order) is reused.
    StreamNode* group = nullptr;
    if (effects_.size() < parade.children().size() &&
        parade.children()[effects_.size()]->match_name() == match_name) {
        group = parade.children()[effects_.size()].get();
    } else {
        group = &parade.AddChild(std::make_unique<StreamNode>(match_name, name, Grouping::Named));
    }
    effects_.push_back(
        std::make_unique<EffectInstance>(*this, std::move(match_name), std::move(name), *group));
    return *effects_.back();
}

void EffectInstance::AttachParamStreams() {
    param_streams_.assign(params_.size(), nullptr);
    for (std::size_t i = 1; i < params_.size(); ++i) {
        HostParam& param = params_[i];
        StreamNode* node = group_.FindChild(param.match_name);
        if (node) {
            // A value the group already holds wins over the declared default.
            StreamValue stored = node->value();
            node->Bind(this, static_cast<int>(i));
            if (stored.kind == node->kind() && stored.kind != ValueKind::NoData) {
                node->set_value(stored);
            }
        } else {
            node = &group_.AddChild(
                std::make_unique<StreamNode>(param.match_name, param.name(), Grouping::Leaf,
                                             ParamValueKind(param.def().param_type)));
            node->Bind(this, static_cast<int>(i));
        }
        node->can_vary_over_time = !(param.def().flags & PF_ParamFlag_CANNOT_TIME_VARY);
        param_streams_[i] = node;
    }
}

StreamNode* EffectInstance::ParamStream(std::size_t index) const {
    return index < param_streams_.size() ? param_streams_[index] : nullptr;
}

std::size_t Composition::NearIndexOf(const Layer& layer) const {
    const std::size_t last = last_index_.load(std::memory_order_relaxed);
    for (std::size_t guess : {last + 1, last}) {
        if (guess < order_.size() && order_[guess] == &layer) {
            last_index_.store(guess, std::memory_order_relaxed);
            return guess;
        }
    }
    return order_.size();
}

std::size_t Composition::IndexOf(const Layer& layer) const {
    std::size_t index = NearIndexOf(layer);
    if (index < order_.size()) return index;
    index =
        static_cast<std::size_t>(std::find(order_.begin(), order_.end(), &layer) - order_.begin());
    if (index < order_.size()) last_index_.store(index, std::memory_order_relaxed);
    return index;
}

namespace {

// New ids are handed out above the highest one taken. Once the largest id there is
// has been taken (a file may hold it), `next` is 0 and new ids are the lowest free
// ones: an id is never reused while it is taken and the counter never wraps.
template <class Id, class Taken>
Id NewId(Id next, Taken taken) {
    if (next > 0) return next;
    for (Id id = 1;; ++id) {
        if (!taken(id)) return id;
        if (id == std::numeric_limits<Id>::max()) throw std::length_error("no id is left");
    }
}

template <class Id>
void NoteTaken(Id& next, Id id) {
    if (next > 0 && id >= next) next = id == std::numeric_limits<Id>::max() ? 0 : id + 1;
}

}  // namespace

A_long Project::NewItemId() const {
    return NewId(next_item_id_, [this](A_long id) { return FindItem(id) != nullptr; });
}

Composition& Project::AddComposition(std::string name, A_long id) {
    if (id == 0) id = NewItemId();
    NoteTaken(next_item_id_, id);
    items_.push_back(std::make_unique<Composition>(id, std::move(name)));
    auto& comp = static_cast<Composition&>(*items_.back());
    comp_handles_.Insert(&comp, &comp);
    item_handles_.Insert(comp.handle_key(), &comp);
    return comp;
}

Item& Project::AddItem(ItemKind kind, std::string name, A_long id) {
    if (kind == ItemKind::Composition) return AddComposition(std::move(name), id);
    if (id == 0) id = NewItemId();
    NoteTaken(next_item_id_, id);
    items_.push_back(std::make_unique<Item>(id, kind, std::move(name)));
    item_handles_.Insert(items_.back()->handle_key(), items_.back().get());
    return *items_.back();
}

Item* Project::FindItem(A_long id) const {
    for (const auto& item : items_) {
        if (item->id() == id) return item.get();
    }
    return nullptr;
}

namespace {

// Whether `comp` shows `target`, directly or through the compositions its layers show.
bool Shows(const Composition& comp, const Composition& target,
           std::unordered_set<const Composition*>& seen) {
    if (&comp == &target) return true;
    if (!seen.insert(&comp).second) return false;
    for (const Layer* layer : comp.layers()) {
        const Item* source = layer->source();
        if (source && source->kind() == ItemKind::Composition &&
            Shows(static_cast<const Composition&>(*source), target, seen)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool Project::CanAddLayer(const Item& source, const Composition& comp) const {
    if (source.kind() == ItemKind::Folder) return false;
    if (source.kind() != ItemKind::Composition) return true;
    std::unordered_set<const Composition*> seen;
    return !Shows(static_cast<const Composition&>(source), comp, seen);
}

Layer& Project::AddLayerShowing(Composition& comp, Item& source) {
    const bool is_comp = source.kind() == ItemKind::Composition;
    Layer& layer = AddLayer(comp, source.name(), is_comp ? LayerKind::Precomp : LayerKind::Footage);
    layer.set_source(&source);
    layer.in_point = A_Time{0, 1};
    layer.duration = is_comp ? static_cast<Composition&>(source).duration : comp.duration;
    StreamNode* transform = layer.root().FindChild(kTransformGroup);
    if (transform) {
        SetThreeD(transform->FindChild("ADBE Position"), comp.width / 2.0, comp.height / 2.0, 0);
        if (is_comp) {
            const auto& shown = static_cast<Composition&>(source);
            SetThreeD(transform->FindChild("ADBE Anchor Point"), shown.width / 2.0,
                      shown.height / 2.0, 0);
        }
    }
    return layer;
}

Layer& Project::AddShapeLayer(Composition& comp) {
    std::unordered_set<std::string> taken;
    for (const Layer* layer : comp.layers()) taken.insert(layer->name());
    std::string name;
    for (int n = 1;; ++n) {
        name = "Shape Layer " + std::to_string(n);
        if (!taken.count(name)) break;
    }
    Layer& layer = AddLayer(comp, name, LayerKind::Shape);
    layer.in_point = A_Time{0, 1};
    layer.duration = comp.duration;
    if (StreamNode* transform = layer.root().FindChild(kTransformGroup)) {
        SetThreeD(transform->FindChild("ADBE Position"), comp.width / 2.0, comp.height / 2.0, 0);
    }
    return layer;
}

void Project::SetLayer3D(Layer& layer, bool on) {
    layer.set_flags(on ? (layer.flags() | AEGP_LayerFlag_LAYER_IS_3D)
                       : (layer.flags() & ~AEGP_LayerFlag_LAYER_IS_3D));
    StreamNode* transform = layer.root().FindChild(kTransformGroup);
    if (!transform) return;
    std::size_t insert_at = 0;
    for (const TransformRow& row : kTransform) {
        StreamNode* node = transform->FindChild(row.match_name);
        if (on) {
            if (node) {
                node->set_name(row.name_3d);
                insert_at = node->IndexInParent() + 1;
            } else if (!row.name_2d) {
                transform->AddChild(TransformLeaf(row, row.name_3d), insert_at);
                ++insert_at;
            }
        } else if (node) {
            if (row.name_2d) {
                node->set_name(row.name_2d);
            } else {
                Retire(transform->RemoveChild(node->IndexInParent()));
            }
        }
    }
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
    if (id == 0) {
        id = NewId(next_layer_id_,
                   [this](AEGP_LayerIDVal taken) { return FindLayer(taken) != nullptr; });
    }
    if (FindLayer(id)) throw std::invalid_argument("layer id " + std::to_string(id) + " is taken");
    NoteTaken(next_layer_id_, id);
    layers_.push_back(std::make_unique<Layer>(comp, id, std::move(name), kind));
    Layer* layer = layers_.back().get();
    layers_by_id_.Insert(id, layer);
    layer_handles_.Insert(layer, layer);
    auto& order = comp.order_;
    order.insert(index >= order.size() ? (index == SIZE_MAX ? order.begin() : order.end())
                                       : order.begin() + static_cast<std::ptrdiff_t>(index),
                 layer);
    return *layer;
}

Layer* Project::FindLayer(AEGP_LayerIDVal id) const {
    return layers_by_id_.Find(id);
}

namespace {

// Asks the processor for the cache lines of `bytes` bytes at `p`; reads nothing.
void Fetch(const void* p, std::size_t bytes) {
    const char* at = static_cast<const char*>(p);
    for (std::size_t offset = 0; offset < bytes; offset += 64) __builtin_prefetch(at + offset);
    __builtin_prefetch(at + bytes - 1);
}

constexpr std::size_t kEffectsAhead = 4;       // effects fetched per layer
constexpr std::size_t kParamBytesAhead = 256;  // of each effect's parameters

}  // namespace

// A plug-in goes through a composition's stack in order, and the objects it reads
// first for each layer (the layer, its places in the lookup tables, the root of its
// tree and the root's children, its effects, their parameters and match names) lie
// apart in the heap: on a project of thousands of layers, each is a miss to memory,
// the next one waiting on the last. So when the plug-in comes to a layer, the host asks
// the processor for those of the layers after it, one level of pointers per layer:
// the layer objects four places ahead, what they point at three ahead, and so on.
// Each level reads only lines asked for at the visit before, so when the plug-in
// keeps to the order, nothing here waits on memory. A layer reached out of order is
// not searched for: nothing is fetched for it.
void Project::FetchLayersAhead(const Layer& layer) const {
    const Composition& comp = layer.comp();
    const std::size_t index = comp.NearIndexOf(layer);
    if (index < comp.layers().size()) FetchLayersAhead(comp, index);
}

void Project::FetchLayersAhead(const Composition& comp, std::size_t i) const {
    const auto& order = comp.layers();
    const std::size_t n = order.size();
    if (i >= n) return;
    comp.last_index_.store(i, std::memory_order_relaxed);
    if (i + 4 < n) Fetch(order[i + 4], sizeof(Layer));
    if (i + 3 < n) {
        const Layer& ahead = *order[i + 3];
        layers_by_id_.Prefetch(ahead.id());
        layer_handles_.Prefetch(&ahead);
        Fetch(&ahead.root(), 1);
        const auto& effects = ahead.effects();
        if (!effects.empty()) Fetch(effects.data(), effects.size() * sizeof(effects[0]));
    }
    if (i + 2 < n) {
        const Layer& ahead = *order[i + 2];
        const auto& effects = ahead.effects();
        for (std::size_t e = 0; e < std::min(effects.size(), kEffectsAhead); ++e) {
            Fetch(effects[e].get(), sizeof(EffectInstance));
        }
        const auto& children = ahead.root().children();
        if (!children.empty()) Fetch(children.data(), children.size() * sizeof(children[0]));
    }
    if (i + 1 < n) {
        const auto& effects = order[i + 1]->effects();
        for (std::size_t e = 0; e < std::min(effects.size(), kEffectsAhead); ++e) {
            const auto& params = effects[e]->params();
            if (!params.empty()) {
                Fetch(params.data(), std::min(params.size() * sizeof(params[0]), kParamBytesAhead));
            }
            Fetch(effects[e]->match_name().data(), 1);
        }
    }
}

void Project::StartUndoGroup(std::string name, RefId ref) {
    undo_groups_.push_back(UndoGroupRecord{std::move(name), false, {}});
    open_undo_groups_.emplace_back(undo_groups_.size() - 1, ref);
}

void Project::set_undo_groups(std::vector<UndoGroupRecord> groups) {
    undo_groups_ = std::move(groups);
    open_undo_groups_.clear();
}

void Project::NoteChange(std::string what) {
    if (open_undo_groups_.empty()) return;
    undo_groups_[open_undo_groups_.back().first].changes.push_back(std::move(what));
}

std::vector<RefId> Project::CloseLeftOpenUndoGroups() {
    std::vector<RefId> refs;
    for (const auto& [index, ref] : open_undo_groups_) refs.push_back(ref);
    open_undo_groups_.clear();
    return refs;
}

std::string PropertyPath(const StreamNode& node) {
    std::vector<const StreamNode*> chain;
    for (const StreamNode* n = &node; n->parent(); n = n->parent()) chain.push_back(n);
    const Layer* layer = node.layer();
    std::string out = layer ? layer->name() : "(no layer)";
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) out += " > " + (*it)->name();
    return out;
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
