// The in-memory project: items (compositions, folders, footage), layers in
// stacking order, effects on layers with their parameter values, and the log of
// undo groups. Layers are found by id through an index, never by scanning.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "core/FlatTable.h"
#include "core/Ledger.h"
#include "model/Params.h"
#include "model/Stream.h"

namespace tlhost {

class Layer;
class Composition;

enum class ItemKind { Folder, Composition, Footage };

class Item {
  public:
    Item(A_long id, ItemKind kind, std::string name)
        : id_(id), kind_(kind), name_(std::move(name)) {}
    virtual ~Item() = default;
    A_long id() const { return id_; }
    ItemKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    void set_name(std::string name) { name_ = std::move(name); }
    // What the item's host handle points at: a place of its own, so that a composition's
    // item handle differs from its composition handle, as in the host.
    const void* handle_key() const { return &handle_key_; }

  private:
    A_long id_;
    ItemKind kind_;
    std::string name_;
    char handle_key_ = 0;
};

// The layer kinds the host knows; each maps to a host object type.
enum class LayerKind { Shape, Null, Solid, Precomp, Footage, Text, Camera, Light };
AEGP_ObjectType ObjectTypeOf(LayerKind kind);

// One effect applied to a layer: its identity and its parameter values
// (index 0 is the input layer).
class EffectInstance {
  public:
    EffectInstance(Layer& layer, std::string match_name, std::string name, StreamNode& group)
        : layer_(layer),
          match_name_(std::move(match_name)),
          name_(std::move(name)),
          group_(group) {}
    Layer& layer() { return layer_; }
    const Layer& layer() const { return layer_; }
    const std::string& match_name() const { return match_name_; }
    const std::string& name() const { return name_; }
    std::vector<HostParam>& params() { return params_; }
    const std::vector<HostParam>& params() const { return params_; }
    // The effect's group in the layer's "ADBE Effect Parade".
    StreamNode& group() { return group_; }
    const StreamNode& group() const { return group_; }

    // Gives parameters 1 and up their streams in the effect's group. Streams the
    // group already has (from a project file) are matched by match name and their
    // values taken into the parameters; missing ones are made.
    void AttachParamStreams();
    // The stream of parameter `index`, or null (index 0, the input layer, has none).
    StreamNode* ParamStream(std::size_t index) const;

  private:
    Layer& layer_;
    std::string match_name_;
    std::string name_;
    StreamNode& group_;
    std::vector<HostParam> params_;
    std::vector<StreamNode*> param_streams_;
};

class Layer {
  public:
    Layer(Composition& comp, AEGP_LayerIDVal id, std::string name, LayerKind kind);
    Composition& comp() { return comp_; }
    const Composition& comp() const { return comp_; }
    AEGP_LayerIDVal id() const { return id_; }
    const std::string& name() const { return name_; }
    void set_name(std::string name) { name_ = std::move(name); }
    LayerKind kind() const { return kind_; }
    AEGP_LayerFlags flags() const { return flags_; }
    // The flags as a project file gives them. The 3D flag set this way leaves the tree as
    // it is (the file gives the tree); Project::SetLayer3D switches it as the host does.
    void set_flags(AEGP_LayerFlags flags) { flags_ = flags; }
    bool is_3d() const { return (flags_ & AEGP_LayerFlag_LAYER_IS_3D) != 0; }
    // The item the layer shows (a composition or footage), or null (shape, text, null,
    // camera and light layers have none).
    Item* source() const { return source_; }
    void set_source(Item* item) { source_ = item; }
    A_Time in_point{0, 1};
    A_Time duration{10, 1};

    // Adds an effect at the end of the layer's effects, with its group stream.
    EffectInstance& AddEffect(std::string match_name, std::string name);
    std::vector<std::unique_ptr<EffectInstance>>& effects() { return effects_; }
    const std::vector<std::unique_ptr<EffectInstance>>& effects() const { return effects_; }

    // The layer's property tree. A new layer has the host's skeleton for its kind
    // (contents for shape layers, transform, effects); a project file may replace it.
    StreamNode& root() { return *root_; }
    const StreamNode& root() const { return *root_; }
    void set_root(std::unique_ptr<StreamNode> root);
    StreamNode& effects_group();

  private:
    Composition& comp_;
    AEGP_LayerIDVal id_;
    std::string name_;
    LayerKind kind_;
    AEGP_LayerFlags flags_ = AEGP_LayerFlag_VIDEO_ACTIVE;
    Item* source_ = nullptr;
    std::unique_ptr<StreamNode> root_;
    std::vector<std::unique_ptr<EffectInstance>> effects_;
};

// One property in a composition's selection: a layer and the child indices that
// lead from the layer's root stream to the property (none: the layer itself).
struct SelectedStream {
    AEGP_LayerIDVal layer_id = 0;
    std::vector<std::size_t> path;
    bool operator==(const SelectedStream& o) const {
        return layer_id == o.layer_id && path == o.path;
    }
};

class Composition : public Item {
  public:
    Composition(A_long id, std::string name) : Item(id, ItemKind::Composition, std::move(name)) {}
    A_long width = 1920;
    A_long height = 1080;
    A_Ratio pixel_aspect{1, 1};
    A_FpLong frame_rate = 30.0;
    // One frame, as the host answers it (AEGP_GetCompFrameDuration); kept with the rate
    // (FrameDurationForRate) by whoever sets the rate.
    A_Time frame_duration{1, 30};
    A_Time duration{10, 1};
    A_Time work_area_start{0, 1};
    A_Time work_area_duration{10, 1};

    // Layers in stacking order: index 0 is the topmost.
    const std::vector<Layer*>& layers() const { return order_; }
    // The layer's place in the stack (the stack's size when it is not there). The place
    // found last and the one after it are tried first, so going through the stack in
    // order costs no search.
    std::size_t IndexOf(const Layer& layer) const;

    // The host's selection in the composition, in selection order.
    std::vector<SelectedStream> selection;

  private:
    friend class Project;
    // The layer's place when it is the one found last or the one after it, else the
    // stack's size; never searches.
    std::size_t NearIndexOf(const Layer& layer) const;
    std::vector<Layer*> order_;
    mutable std::atomic<std::size_t> last_index_{0};
};

// One undo group of the host's log: its name, whether the plug-in ended it (a group the
// plug-in left open is closed by the host after the command and stays "not closed"
// here), and what changed inside it, one line per change.
struct UndoGroupRecord {
    std::string name;
    bool closed = false;
    std::vector<std::string> changes;
};

// A property as the log and reports name it: its layer's name, then the names of the
// groups down to it, joined by " > ".
std::string PropertyPath(const StreamNode& node);

class Project {
  public:
    // Adds a composition; an `id` of 0 takes the next free item id.
    Composition& AddComposition(std::string name, A_long id = 0);
    // Adds a folder or a footage item (a composition kind adds a composition).
    Item& AddItem(ItemKind kind, std::string name, A_long id = 0);
    // Adds a layer at the top of the stack (as the host does) or at `index`.
    Layer& AddLayer(Composition& comp, std::string name, LayerKind kind, AEGP_LayerIDVal id = 0,
                    std::size_t index = SIZE_MAX);
    Layer* FindLayer(AEGP_LayerIDVal id) const;
    // Asks the processor for the objects of the layers below `layer` in its stack, which
    // a plug-in going through the stack reads next (see Project.cpp). Changes nothing.
    void FetchLayersAhead(const Layer& layer) const;
    // The same for the layer at `index` in `comp`'s stack, when the caller has its place.
    void FetchLayersAhead(const Composition& comp, std::size_t index) const;
    // Whether a pointer the plug-in handed back is one of this project's layers,
    // compositions or items (their handles are the objects' addresses).
    bool IsLayer(const void* p) const { return layer_handles_.Find(p) != nullptr; }
    bool IsComposition(const void* p) const { return comp_handles_.Find(p) != nullptr; }
    // The item whose handle key `p` is, or null.
    Item* ItemForHandle(const void* p) const { return item_handles_.Find(p); }
    // Items in project order: the order they were added (read from a file, or made).
    const std::vector<std::unique_ptr<Item>>& items() const { return items_; }
    Item* FindItem(A_long id) const;
    Composition* FindComposition(const std::string& name) const;

    // What the host does when a layer showing `source` is added to `comp`: the layer goes
    // on top, named after its source, as long as the composition and the source, centred
    // (position at the composition's centre, anchor at the source's). A precomposition
    // layer for a composition, a footage layer otherwise. The caller checks CanAddLayer.
    Layer& AddLayerShowing(Composition& comp, Item& source);
    // Whether `source` may be shown in `comp`: not a folder, and not a composition that is
    // `comp` itself or shows `comp` somewhere inside it (the host refuses such a cycle).
    bool CanAddLayer(const Item& source, const Composition& comp) const;
    // A new shape layer on top of `comp`, as the host makes one: named "Shape Layer N"
    // (the lowest N no layer of the composition has), spanning the composition, at its
    // centre, with an empty contents group.
    Layer& AddShapeLayer(Composition& comp);
    // Switches a layer between 2D and 3D as the host does: a 3D layer's transform has an
    // orientation and X, Y and Z rotations; a 2D layer's has one rotation and no
    // orientation. Properties a 2D layer loses are retired (references stay safe).
    void SetLayer3D(Layer& layer, bool on);

    // Keeps a node removed from a tree alive: references the plug-in still holds
    // must not dangle (using them is then reported, not undefined).
    void Retire(std::unique_ptr<StreamNode> node) { retired_.push_back(std::move(node)); }

    void StartUndoGroup(std::string name, RefId ref);
    bool EndUndoGroup(RefId* ref);
    // Whether an undo group is open, so that a change is logged into it.
    bool UndoGroupOpen() const { return !open_undo_groups_.empty(); }
    // Logs a change into the innermost open undo group; nothing when none is open (the
    // change is then part of the host's own handling of the command).
    void NoteChange(std::string what);
    // Closes, as the host does after a command, every group the command left open, and
    // returns their ledger references; the log keeps them as not closed.
    std::vector<RefId> CloseLeftOpenUndoGroups();
    const std::vector<UndoGroupRecord>& undo_groups() const { return undo_groups_; }
    // Replaces the log of undo groups, as a project file holds it; none is left open.
    void set_undo_groups(std::vector<UndoGroupRecord> groups);

  private:
    std::vector<std::unique_ptr<Item>> items_;
    std::vector<std::unique_ptr<Layer>> layers_;
    FlatTable<AEGP_LayerIDVal, Layer*> layers_by_id_;
    FlatTable<const void*, Layer*> layer_handles_;
    FlatTable<const void*, Composition*> comp_handles_;
    FlatTable<const void*, Item*> item_handles_;
    A_long NewItemId() const;

    AEGP_LayerIDVal next_layer_id_ = 1;  // 0 once the largest id is taken
    A_long next_item_id_ = 1;            // likewise
    std::vector<UndoGroupRecord> undo_groups_;
    std::vector<std::unique_ptr<StreamNode>> retired_;
    std::vector<std::pair<std::size_t, RefId>> open_undo_groups_;
};

}  // namespace tlhost
