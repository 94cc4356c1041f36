#include "model/Stream.h"

#include <algorithm>
#include <new>
#include <vector>
#include <atomic>
#include <stdexcept>
#include <unordered_set>

#include "model/Project.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tlhost {

namespace {
struct KindRow {
    ValueKind kind;
    AEGP_StreamType type;
    const char* name;
};
constexpr KindRow kKinds[] = {
    {ValueKind::NoData, AEGP_StreamType_NO_DATA, "no_data"},
    {ValueKind::OneD, AEGP_StreamType_OneD, "one_d"},
    {ValueKind::TwoD, AEGP_StreamType_TwoD, "two_d"},
    {ValueKind::ThreeD, AEGP_StreamType_ThreeD, "three_d"},
    {ValueKind::Color, AEGP_StreamType_COLOR, "color"},
    {ValueKind::LayerId, AEGP_StreamType_LAYER_ID, "layer"},
    {ValueKind::Path, AEGP_StreamType_MASK, "path"},
    {ValueKind::Arb, AEGP_StreamType_ARB, "arb"},
};

StreamValue FromParam(const HostParam& param) {
    const PF_ParamDef& def = param.def();
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER:
            return StreamValue::OneD(def.u.fs_d.value);
        case PF_Param_SLIDER:
            return StreamValue::OneD(def.u.sd.value);
        case PF_Param_FIX_SLIDER:
            return StreamValue::OneD(def.u.fd.value / 65536.0);
        case PF_Param_ANGLE:
            return StreamValue::OneD(def.u.ad.value / 65536.0);
        case PF_Param_CHECKBOX:
            return StreamValue::OneD(def.u.bd.value);
        case PF_Param_POPUP:
            return StreamValue::OneD(def.u.pd.value);
        case PF_Param_BUTTON:
            return StreamValue::OneD(def.u.button_d.value);
        case PF_Param_COLOR:
            return StreamValue::Color(def.u.cd.value.red / 255.0, def.u.cd.value.green / 255.0,
                                      def.u.cd.value.blue / 255.0, def.u.cd.value.alpha / 255.0);
        case PF_Param_LAYER:
            return StreamValue::Layer(param.layer_id);
        case PF_Param_ARBITRARY_DATA: {
            StreamValue arb;
            arb.kind = ValueKind::Arb;
            arb.bytes = param.flat;
            return arb;
        }
        default:
            return StreamValue{};
    }
}

// A stored number as a 32-bit value: brought into range first, since converting a double
// outside it is undefined. Values a loaded file may hold are checked before they get here;
// this only keeps every other way in defined.
A_long ToLong(double x) {
    if (!(x == x)) return 0;
    return static_cast<A_long>(std::clamp(x, -2147483648.0, 2147483647.0));
}

A_u_char Byte(double unit) {
    return static_cast<A_u_char>(std::clamp(unit, 0.0, 1.0) * 255.0 + 0.5);
}

void ToParam(const StreamValue& value, HostParam& param) {
    PF_ParamDef& def = param.def();
    const double x = value.v[0];
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER:
            def.u.fs_d.value = x;
            break;
        case PF_Param_SLIDER:
            def.u.sd.value = ToLong(x);
            break;
        case PF_Param_FIX_SLIDER:
            def.u.fd.value = ToLong(x * 65536.0);
            break;
        case PF_Param_ANGLE:
            def.u.ad.value = ToLong(x * 65536.0);
            break;
        case PF_Param_CHECKBOX:
            def.u.bd.value = x != 0;
            break;
        case PF_Param_POPUP:
            def.u.pd.value = ToLong(x);
            break;
        case PF_Param_BUTTON:
            def.u.button_d.value = ToLong(x);
            break;
        case PF_Param_COLOR:
            def.u.cd.value.red = Byte(value.v[0]);
            def.u.cd.value.green = Byte(value.v[1]);
            def.u.cd.value.blue = Byte(value.v[2]);
            def.u.cd.value.alpha = Byte(value.v[3]);
            break;
        case PF_Param_LAYER:
            param.layer_id = value.layer_id;
            break;
        case PF_Param_ARBITRARY_DATA:
            param.flat = value.bytes;
            break;
        default:
            break;
    }
}
}  // namespace

AEGP_StreamType StreamTypeOf(ValueKind kind) {
    for (const auto& k : kKinds) {
        if (k.kind == kind) return k.type;
    }
    return AEGP_StreamType_NO_DATA;
}

const char* ValueKindName(ValueKind kind) {
    for (const auto& k : kKinds) {
        if (k.kind == kind) return k.name;
    }
    return "no_data";
}

StreamValue StreamValue::OneD(double x) {
    StreamValue s;
    s.kind = ValueKind::OneD;
    s.v[0] = x;
    return s;
}
StreamValue StreamValue::TwoD(double x, double y) {
    StreamValue s;
    s.kind = ValueKind::TwoD;
    s.v = {x, y, 0, 0};
    return s;
}
StreamValue StreamValue::ThreeD(double x, double y, double z) {
    StreamValue s;
    s.kind = ValueKind::ThreeD;
    s.v = {x, y, z, 0};
    return s;
}
StreamValue StreamValue::Color(double r, double g, double b, double a) {
    StreamValue s;
    s.kind = ValueKind::Color;
    s.v = {r, g, b, a};
    return s;
}
StreamValue StreamValue::Layer(AEGP_LayerIDVal id) {
    StreamValue s;
    s.kind = ValueKind::LayerId;
    s.layer_id = id;
    return s;
}

std::size_t StreamValue::Dimensions() const {
    return DimensionsOf(kind);
}

std::size_t DimensionsOf(ValueKind kind) {
    switch (kind) {
        case ValueKind::OneD:
            return 1;
        case ValueKind::TwoD:
            return 2;
        case ValueKind::ThreeD:
            return 3;
        case ValueKind::Color:
            return 4;
        default:
            return 0;
    }
}

bool StreamValue::operator==(const StreamValue& o) const {
    return kind == o.kind && v == o.v && layer_id == o.layer_id && path == o.path &&
           bytes == o.bytes;
}

namespace {
// Held while a table shared by threads is touched, by spinning on a flag (the
// Windows tool chain has no std::mutex).
struct SpinHold {
    explicit SpinHold(std::atomic_flag& flag) : flag_(flag) {
        while (flag_.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~SpinHold() { flag_.clear(std::memory_order_release); }
    SpinHold(const SpinHold&) = delete;
    SpinHold& operator=(const SpinHold&) = delete;
    std::atomic_flag& flag_;
};

// The one copy of each match name given to a node. Entries are never removed: a node
// may outlive any project, and match names come from the host's own tables, plug-ins
// and project files (at most 39 bytes each there), so there are few of them.
// Held under a SpinHold; the table is only touched when a node is made.
const std::string* SharedMatchName(std::string text) {
    static std::atomic_flag busy = ATOMIC_FLAG_INIT;
    static std::unordered_set<std::string> names;
    SpinHold hold(busy);
    return &*names.insert(std::move(text)).first;
}
}  // namespace

// ---- Where nodes live.
//
// A walk over a layer's properties (a plug-in looking for its streams, a save)
// reads each node's first cache line. Nodes therefore sit on whole cache lines, in
// slabs of their own, one after another in the order they are made: a layer read
// from a file has its nodes side by side in tree order, not spread among the
// heap's other blocks, and a walk over them runs through memory in order. When no
// node is left the slabs are used again from the start, so that the next project
// is laid out the same way. Sanitizer builds use the C++ heap, so that a node used
// after it is gone is still caught.
//
// A slab is 2 MB, on a 2 MB boundary, and on Linux the kernel is asked to back it
// with one large page. A walk moves to a new 4 KB page every dozen nodes; on a project
// of thousands of layers (a gigabyte of nodes) each such page costs a page-table walk
// that misses the caches, where one large page covers some 6,500 nodes. Where the
// kernel declines, the slab is ordinary memory and nothing else changes.
#if defined(__SANITIZE_ADDRESS__)
#define TL_POOL_NODES 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TL_POOL_NODES 0
#endif
#endif
#ifndef TL_POOL_NODES
#define TL_POOL_NODES 1
#endif

namespace {

// Blocks of a few fixed sizes, from slabs taken one after another and kept for the
// life of the process, with a free list per size. When no block is left the slabs
// are used again from the start, so that what is made next is laid out in order
// again. Guarded by a spin flag.
class SlabBlocks {
  public:
    static constexpr std::size_t kSlabBytes = std::size_t{2} << 20;

    explicit SlabBlocks(std::vector<std::size_t> sizes)
        : sizes_(std::move(sizes)), free_(sizes_.size(), nullptr) {}

    // A block of the size of class `c`.
    void* Take(std::size_t c) {
        const std::size_t size = sizes_[c];
        SpinHold hold(busy_);
        if (Free* block = free_[c]) {
            free_[c] = block->next;
            ++live_;
            return block;
        }
        if (slab_ == slabs_.size() || used_ + size > kSlabBytes) {
            if (slab_ < slabs_.size()) ++slab_;
            used_ = 0;
            if (slab_ == slabs_.size()) {
                void* slab = ::operator new(kSlabBytes, std::align_val_t(kSlabBytes));
#if defined(__linux__)
                madvise(slab, kSlabBytes, MADV_HUGEPAGE);  // a hint; refused is fine
#endif
                slabs_.push_back(static_cast<unsigned char*>(slab));
            }
        }
        void* p = slabs_[slab_] + used_;
        used_ += size;
        ++live_;
        return p;
    }

    void Give(void* p, std::size_t c) {
        SpinHold hold(busy_);
        if (--live_ == 0) {
            std::fill(free_.begin(), free_.end(), nullptr);
            slab_ = 0;
            used_ = 0;
            return;
        }
        auto* block = static_cast<Free*>(p);
        block->next = free_[c];
        free_[c] = block;
    }

  private:
    struct Free {
        Free* next;
    };

    const std::vector<std::size_t> sizes_;
    std::vector<Free*> free_;
    std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
    std::vector<unsigned char*> slabs_;
    std::size_t slab_ = 0;  // the slab blocks are taken from
    std::size_t used_ = 0;  // its bytes taken
    std::size_t live_ = 0;
};

// Nodes: whole cache lines each.
constexpr std::size_t kLine = 64;
constexpr std::size_t kNodeSlot = (sizeof(StreamNode) + kLine - 1) / kLine * kLine;

SlabBlocks& Nodes() {
    // Never destroyed: nodes may outlive statics.
    static SlabBlocks* nodes = new SlabBlocks({kNodeSlot});
    return *nodes;
}

// Lists of children: 16 to 1,024 bytes (2 to 128 children) by powers of two; longer
// lists come from the C++ heap.
constexpr std::size_t kSmallestList = 16;
constexpr std::size_t kListClasses = 7;
constexpr std::size_t kLargestList = kSmallestList << (kListClasses - 1);

bool PooledList(std::size_t bytes) {
    return TL_POOL_NODES && bytes <= kLargestList;
}

std::size_t ListClass(std::size_t bytes) {
    std::size_t c = 0;
    while ((kSmallestList << c) < bytes) ++c;
    return c;
}

SlabBlocks& Lists() {
    static SlabBlocks* lists = [] {
        std::vector<std::size_t> sizes;
        for (std::size_t c = 0; c < kListClasses; ++c) sizes.push_back(kSmallestList << c);
        return new SlabBlocks(std::move(sizes));
    }();
    return *lists;
}

}  // namespace

void* TakeChildList(std::size_t bytes) {
    if (!PooledList(bytes)) return ::operator new(bytes);
    return Lists().Take(ListClass(bytes));
}

void GiveChildList(void* p, std::size_t bytes) {
    if (!p) return;
    if (!PooledList(bytes)) {
        ::operator delete(p);
        return;
    }
    Lists().Give(p, ListClass(bytes));
}

void* StreamNode::operator new(std::size_t size) {
    if (!TL_POOL_NODES || size != sizeof(StreamNode)) return ::operator new(size);
    return Nodes().Take(0);
}

void StreamNode::operator delete(void* p, std::size_t size) {
    if (!p) return;
    if (!TL_POOL_NODES || size != sizeof(StreamNode)) {
        ::operator delete(p);
        return;
    }
    Nodes().Give(p, 0);
}

StreamNode::StreamNode(std::string match_name, std::string name, Grouping grouping, ValueKind kind)
    : match_name_(SharedMatchName(std::move(match_name))),
      grouping_(grouping),
      kind_(kind),
      name_(std::move(name)) {
    value_.kind = kind;
}

Layer* StreamNode::layer() const {
    const StreamNode* n = this;
    while (n->parent_) n = n->parent_;
    return n->layer_;
}

StreamNode& StreamNode::AddChild(std::unique_ptr<StreamNode> child, std::size_t index) {
    child->parent_ = this;
    if (index >= children_.size()) {
        children_.push_back(std::move(child));
        return *children_.back();
    }
    auto it =
        children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
    return **it;
}

std::unique_ptr<StreamNode> StreamNode::RemoveChild(std::size_t index) {
    std::unique_ptr<StreamNode> child = std::move(children_.at(index));
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
    child->parent_ = nullptr;
    return child;
}

StreamNode* StreamNode::FindChild(const std::string& match_name) const {
    for (const auto& c : children_) {
        if (*c->match_name_ == match_name) return c.get();
    }
    return nullptr;
}

std::size_t StreamNode::IndexInParent() const {
    if (!parent_) return 0;
    const auto& siblings = parent_->children_;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this) return i;
    }
    return 0;
}

int StreamNode::Depth() const {
    int depth = 0;
    for (const StreamNode* n = parent_; n; n = n->parent_) ++depth;
    return depth;
}

StreamValue StreamNode::value() const {
    if (effect_) return FromParam(effect_->params()[static_cast<std::size_t>(param_index_)]);
    return value_;
}

void StreamNode::set_value(const StreamValue& value) {
    if (effect_) {
        ToParam(value, effect_->params()[static_cast<std::size_t>(param_index_)]);
        return;
    }
    value_ = value;
}

bool StreamNode::hidden() const {
    if (effect_) return effect_->params()[static_cast<std::size_t>(param_index_)].hidden;
    return hidden_;
}

void StreamNode::set_hidden(bool hidden) {
    if (effect_) {
        effect_->params()[static_cast<std::size_t>(param_index_)].hidden = hidden;
        return;
    }
    hidden_ = hidden;
}

Keyframe::Keyframe(double seconds, StreamValue v) : value(std::move(v)) {
    std::optional<A_Time> at = TimeFromSeconds(seconds);
    if (!at) throw std::invalid_argument("a keyframe time out of the host's range");
    time = *at;
}

double Keyframe::seconds() const {
    return SecondsOf(time);
}

namespace {

// `a` and `b` mixed by `t` (0 gives a, 1 gives b), or none when they cannot be mixed.
bool Interpolate(const StreamValue& a, const StreamValue& b, double t, StreamValue* out) {
    if (a.kind != b.kind) return false;
    const std::size_t dims = a.Dimensions();
    *out = a;
    if (dims > 0) {
        for (std::size_t d = 0; d < dims; ++d) out->v[d] = a.v[d] + (b.v[d] - a.v[d]) * t;
        return true;
    }
    if (a.kind != ValueKind::Path || a.path.vertices.size() != b.path.vertices.size() ||
        a.path.closed != b.path.closed) {
        return false;
    }
    auto mix = [t](double x, double y) { return x + (y - x) * t; };
    for (std::size_t i = 0; i < a.path.vertices.size(); ++i) {
        const PathVertex& p = a.path.vertices[i];
        const PathVertex& q = b.path.vertices[i];
        out->path.vertices[i] =
            PathVertex{mix(p.x, q.x),       mix(p.y, q.y),         mix(p.in_x, q.in_x),
                       mix(p.in_y, q.in_y), mix(p.out_x, q.out_x), mix(p.out_y, q.out_y)};
    }
    return true;
}

}  // namespace

StreamValue StreamNode::ValueAt(double time) const {
    if (keyframes.empty()) return value();
    if (time <= keyframes.front().seconds()) return keyframes.front().value;
    if (time >= keyframes.back().seconds()) return keyframes.back().value;
    for (std::size_t i = 1; i < keyframes.size(); ++i) {
        const Keyframe& a = keyframes[i - 1];
        const Keyframe& b = keyframes[i];
        const double ta = a.seconds();
        const double tb = b.seconds();
        if (time > tb) continue;
        if (time == tb) return b.value;
        StreamValue out;
        if (tb <= ta || !Interpolate(a.value, b.value, (time - ta) / (tb - ta), &out)) {
            return a.value;
        }
        return out;
    }
    return keyframes.back().value;
}

}  // namespace tlhost
