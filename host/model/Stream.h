// A layer's property tree, as the host's stream suites see it: named and indexed
// groups, and leaves with a value, keyframes, an expression and dynamic flags.
// The streams of an effect's parameters are leaves bound to the effect's
// parameter slots, so that the parameter array and the streams never disagree.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "AE_GeneralPlug.h"
#include "model/Time.h"

namespace tlhost {

class EffectInstance;
class Layer;

enum class Grouping { Leaf, Named, Indexed };

// What a leaf holds; each maps to one host stream type.
enum class ValueKind { NoData, OneD, TwoD, ThreeD, Color, LayerId, Path, Arb };
AEGP_StreamType StreamTypeOf(ValueKind kind);
const char* ValueKindName(ValueKind kind);
// Number of numeric components a value of `kind` has (0 for no data, layers, paths
// and arbitrary data).
std::size_t DimensionsOf(ValueKind kind);

struct PathVertex {
    double x = 0, y = 0;
    double in_x = 0, in_y = 0;    // incoming tangent, relative to the vertex
    double out_x = 0, out_y = 0;  // outgoing tangent, relative to the vertex
    bool operator==(const PathVertex& o) const {
        return x == o.x && y == o.y && in_x == o.in_x && in_y == o.in_y && out_x == o.out_x &&
               out_y == o.out_y;
    }
};

struct ShapePath {
    std::vector<PathVertex> vertices;
    bool closed = false;
    bool operator==(const ShapePath& o) const {
        return closed == o.closed && vertices == o.vertices;
    }
};

struct StreamValue {
    ValueKind kind = ValueKind::NoData;
    // One-d: [0]; two-d: x, y; three-d: x, y, z; colour: red, green, blue, alpha (0 to 1).
    std::array<double, 4> v{};
    AEGP_LayerIDVal layer_id = 0;
    ShapePath path;
    // Arbitrary data, in the flat form the effect itself gives it (what projects store).
    std::vector<std::uint8_t> bytes;

    static StreamValue OneD(double x);
    static StreamValue TwoD(double x, double y);
    static StreamValue ThreeD(double x, double y, double z);
    static StreamValue Color(double r, double g, double b, double a = 1);
    static StreamValue Layer(AEGP_LayerIDVal id);
    // Number of numeric components (0 for no data, layers and paths).
    std::size_t Dimensions() const;
    bool operator==(const StreamValue& o) const;
};

struct Keyframe {
    Keyframe() = default;
    Keyframe(A_Time at, StreamValue v) : time(at), value(std::move(v)) {}
    // A key at `seconds`, as the host time that gives exactly those seconds back (for
    // keys written in code; throws std::invalid_argument outside the host's range).
    Keyframe(double seconds, StreamValue v);

    A_Time time{0, 1};  // composition time, as the host keeps it
    StreamValue value;

    double seconds() const;
};

// A node's list of children lives in slabs of its own (see Stream.cpp), next to the
// lists made just before it, as the nodes do.
void* TakeChildList(std::size_t bytes);
void GiveChildList(void* p, std::size_t bytes);
template <class T>
struct ChildListAllocator {
    using value_type = T;
    ChildListAllocator() = default;
    template <class U>
    ChildListAllocator(const ChildListAllocator<U>&) {}
    T* allocate(std::size_t n) { return static_cast<T*>(TakeChildList(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) { GiveChildList(p, n * sizeof(T)); }
    template <class U>
    bool operator==(const ChildListAllocator<U>&) const {
        return true;
    }
    template <class U>
    bool operator!=(const ChildListAllocator<U>&) const {
        return false;
    }
};

class StreamNode;
using ChildList =
    std::vector<std::unique_ptr<StreamNode>, ChildListAllocator<std::unique_ptr<StreamNode>>>;

class StreamNode {
    // What a walk through the tree reads of every node it passes (its match name, its
    // grouping and kind, its links) comes first, on the node's first cache line.
    // Match names repeat in every layer of a project (a few hundred distinct ones), so
    // every node points at one shared copy of its text: the text compared while looking
    // for a child is read from a few hot cache lines, not from a copy per node.
    const std::string* match_name_;
    Grouping grouping_;
    ValueKind kind_;
    StreamNode* parent_ = nullptr;
    ChildList children_;
    std::string name_;

  public:
    StreamNode(std::string match_name, std::string name, Grouping grouping,
               ValueKind kind = ValueKind::NoData);
    StreamNode(const StreamNode&) = delete;
    // Nodes come from slabs of their own (see Stream.cpp).
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);
    StreamNode& operator=(const StreamNode&) = delete;

    const std::string& match_name() const { return *match_name_; }
    const std::string& name() const { return name_; }
    void set_name(std::string name) { name_ = std::move(name); }
    Grouping grouping() const { return grouping_; }
    bool is_group() const { return grouping_ != Grouping::Leaf; }
    ValueKind kind() const { return kind_; }

    StreamNode* parent() const { return parent_; }
    // The layer whose tree this is (set on the root, found from any node).
    Layer* layer() const;
    void set_layer(Layer* layer) { layer_ = layer; }
    const ChildList& children() const { return children_; }
    // Room for `count` children, for a tree built from a list of known length.
    void ReserveChildren(std::size_t count) { children_.reserve(count); }
    StreamNode& AddChild(std::unique_ptr<StreamNode> child, std::size_t index = SIZE_MAX);
    std::unique_ptr<StreamNode> RemoveChild(std::size_t index);
    // The first child with that match name, or null.
    StreamNode* FindChild(const std::string& match_name) const;
    std::size_t IndexInParent() const;
    int Depth() const;

    // Leaf state. An effect parameter's stream reads and writes its parameter slot.
    StreamValue value() const;
    void set_value(const StreamValue& value);
    std::vector<Keyframe> keyframes;
    std::string expression;
    bool expression_enabled = false;
    std::string expression_error;  // the last evaluation's error, empty when none
    bool can_vary_over_time = true;

    // Dynamic flags.
    bool hidden() const;
    void set_hidden(bool hidden);
    bool eyeball = true;  // "active eyeball": the group or property is switched on

    // Binding to an effect parameter slot.
    void Bind(EffectInstance* effect, int param_index) {
        effect_ = effect;
        param_index_ = param_index;
    }
    EffectInstance* effect() const { return effect_; }
    int param_index() const { return param_index_; }

    // The value at a time before expressions: the keyframes if any, else the value.
    // Between two keys numbers and colours are interpolated linearly, and so are the
    // vertices of two paths with the same number of vertices; anything else (layers,
    // paths of different shapes) holds until the next key. Before the first key and
    // after the last one the value is that key's.
    StreamValue ValueAt(double time) const;

  private:
    Layer* layer_ = nullptr;
    StreamValue value_;
    bool hidden_ = false;
    EffectInstance* effect_ = nullptr;
    int param_index_ = -1;
};

}  // namespace tlhost
