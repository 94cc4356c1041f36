#include "expressions/Expressions.h"

#include <duktape.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Host.h"
#include "expressions/Instrument.h"
#include "expressions/Prelude.h"

namespace tlhost {

namespace {

// ---- 8-bit text -----------------------------------------------------------------

// Whether `s` is well-formed UTF-8: shortest forms only, no surrogates.
bool IsUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t n;
        std::uint32_t cp, least;
        if (b >= 0xC2 && b < 0xE0) {
            n = 1, cp = b & 0x1Fu, least = 0x80;
        } else if (b >= 0xE0 && b < 0xF0) {
            n = 2, cp = b & 0x0Fu, least = 0x800;
        } else if (b >= 0xF0 && b < 0xF5) {
            n = 3, cp = b & 0x07u, least = 0x10000;
        } else {
            return false;
        }
        if (s.size() - i <= n) return false;
        for (std::size_t k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0u) != 0x80u) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

// Text as the engine reads it: UTF-8 as it is, anything else read as Latin-1.
std::string ToUtf8(const std::string& s) {
    if (IsUtf8(s)) return s;
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool SameText(const std::string& name, std::string_view key) {
    return IsUtf8(name) ? std::string_view(name) == key : ToUtf8(name) == key;
}

// ---- Evaluation state -----------------------------------------------------------

// Without the error type's prefix, which the engine adds when it throws.
std::string StepLimitText() {
    return "the expression ran more than " + std::to_string(kExpressionStepLimit) +
           " loop turns and function calls";
}
std::string StepLimitMessage() {
    return "RangeError: " + StepLimitText();
}

// One top-level evaluation and the nested evaluations of the properties it reads.
struct Session {
    explicit Session(const Project& p) : project(p) {}
    const Project& project;
    std::vector<const StreamNode*> stack;  // properties being evaluated, outermost first
    long steps = 0;
    // Failures that end the whole evaluation, whoever catches them on the way.
    bool out_of_steps = false;
    bool too_deep = false;
    bool cycle = false;
    std::string fatal_message;
};

// Objects that JavaScript refers to by integer handles.
enum class Ref { Node, Layer, Effect, Comp };

// An error a native function raises in the script.
struct ScriptError {
    std::string message;
    duk_errcode_t code = DUK_ERR_ERROR;
};

// One engine heap: the evaluation of one property's expression.
struct Heap {
    Heap(Session& s, const StreamNode& n, double t, std::string src)
        : session(s), node(n), time(t), source(std::move(src)) {}
    Session& session;
    const StreamNode& node;
    double time;
    std::string source;  // the rewritten expression text
    std::size_t allocated = 0;
    std::vector<std::pair<Ref, const void*>> refs;
    std::map<std::pair<Ref, const void*>, int> ref_ids;
    std::string pending_error;  // outlives the throw that carries it
    std::string scratch_text;
    StreamValue scratch;
    StreamValue result;

    int Handle(Ref kind, const void* p) {
        if (!p) return -1;
        auto [it, added] = ref_ids.emplace(std::make_pair(kind, p), static_cast<int>(refs.size()));
        if (added) refs.emplace_back(kind, p);
        return it->second;
    }
    template <typename T>
    const T& Get(Ref kind, duk_context* ctx, duk_idx_t index) const {
        const double h = duk_get_number_default(ctx, index, -1);
        if (!(h >= 0 && h < static_cast<double>(refs.size())) ||
            refs[std::size_t(h)].first != kind) {
            throw ScriptError{"invalid object reference", DUK_ERR_TYPE_ERROR};
        }
        return *static_cast<const T*>(refs[static_cast<std::size_t>(h)].second);
    }
};

EvalResult Evaluate(Session& session, const StreamNode& node, double time);

// ---- Engine memory, capped per heap ---------------------------------------------

struct alignas(std::max_align_t) Block {
    std::size_t size;
};

void* HeapAlloc(void* udata, duk_size_t size) {
    Heap& heap = *static_cast<Heap*>(udata);
    if (size > kExpressionHeapLimit - heap.allocated) return nullptr;
    void* base = std::malloc(sizeof(Block) + size);
    if (!base) return nullptr;
    static_cast<Block*>(base)->size = size;
    heap.allocated += size;
    return static_cast<Block*>(base) + 1;
}

void HeapFree(void* udata, void* ptr) {
    if (!ptr) return;
    Block* block = static_cast<Block*>(ptr) - 1;
    static_cast<Heap*>(udata)->allocated -= block->size;
    std::free(block);
}

void* HeapRealloc(void* udata, void* ptr, duk_size_t size) {
    if (!ptr) return HeapAlloc(udata, size);
    Heap& heap = *static_cast<Heap*>(udata);
    Block* block = static_cast<Block*>(ptr) - 1;
    const std::size_t old = block->size;
    if (size > old && size - old > kExpressionHeapLimit - heap.allocated) return nullptr;
    void* base = std::realloc(block, sizeof(Block) + size);
    if (!base) return nullptr;
    static_cast<Block*>(base)->size = size;
    heap.allocated = heap.allocated - old + size;
    return static_cast<Block*>(base) + 1;
}

void Fatal(void*, const char* message) {
    std::fprintf(stderr, "expression engine: fatal error: %s\n", message ? message : "");
    std::abort();
}

Heap& HeapOf(duk_context* ctx) {
    duk_memory_functions functions;
    duk_get_memory_functions(ctx, &functions);
    return *static_cast<Heap*>(functions.udata);
}

// ---- Values between the model and the script ------------------------------------

// More vertices than a result path may have (far beyond what the heap could hold as
// real vertices; a sparse array could claim any length).
constexpr duk_uarridx_t kMaxPathVertices = 1u << 20;

void PushText(duk_context* ctx, const std::string& text) {
    if (IsUtf8(text)) {
        duk_push_lstring(ctx, text.data(), text.size());
    } else {
        const std::string utf8 = ToUtf8(text);
        duk_push_lstring(ctx, utf8.data(), utf8.size());
    }
}

void PutNumber(duk_context* ctx, const char* key, double x) {
    duk_push_number(ctx, x);
    duk_put_prop_string(ctx, -2, key);
}

void PutText(duk_context* ctx, const char* key, const std::string& text) {
    PushText(ctx, text);
    duk_put_prop_string(ctx, -2, key);
}

void PushPairs(duk_context* ctx, const ShapePath& path, double PathVertex::*x,
               double PathVertex::*y) {
    duk_push_array(ctx);
    for (std::size_t i = 0; i < path.vertices.size(); ++i) {
        duk_push_array(ctx);
        duk_push_number(ctx, path.vertices[i].*x);
        duk_put_prop_index(ctx, -2, 0);
        duk_push_number(ctx, path.vertices[i].*y);
        duk_put_prop_index(ctx, -2, 1);
        duk_put_prop_index(ctx, -2, static_cast<duk_uarridx_t>(i));
    }
}

// The 1-based index of a layer in its composition, 0 for none.
int LayerIndex(const Project& project, AEGP_LayerIDVal id) {
    const Layer* layer = id ? project.FindLayer(id) : nullptr;
    return layer ? static_cast<int>(layer->comp().IndexOf(*layer)) + 1 : 0;
}

void PushValue(duk_context* ctx, const Project& project, const StreamValue& v) {
    switch (v.kind) {
        case ValueKind::OneD:
            duk_push_number(ctx, v.v[0]);
            return;
        case ValueKind::TwoD:
        case ValueKind::ThreeD:
        case ValueKind::Color:
            duk_push_array(ctx);
            for (std::size_t i = 0; i < v.Dimensions(); ++i) {
                duk_push_number(ctx, v.v[i]);
                duk_put_prop_index(ctx, -2, static_cast<duk_uarridx_t>(i));
            }
            return;
        case ValueKind::LayerId:
            duk_push_int(ctx, LayerIndex(project, v.layer_id));
            return;
        case ValueKind::Path:
            duk_push_object(ctx);
            PushPairs(ctx, v.path, &PathVertex::x, &PathVertex::y);
            duk_put_prop_string(ctx, -2, "points");
            PushPairs(ctx, v.path, &PathVertex::in_x, &PathVertex::in_y);
            duk_put_prop_string(ctx, -2, "inTangents");
            PushPairs(ctx, v.path, &PathVertex::out_x, &PathVertex::out_y);
            duk_put_prop_string(ctx, -2, "outTangents");
            duk_push_boolean(ctx, v.path.closed);
            duk_put_prop_string(ctx, -2, "closed");
            return;
        case ValueKind::NoData:
        case ValueKind::Arb:
            duk_push_undefined(ctx);
            return;
    }
}

double ElementAt(duk_context* ctx, duk_idx_t array, duk_uarridx_t i, duk_uarridx_t k) {
    duk_get_prop_index(ctx, array, i);
    duk_get_prop_index(ctx, -1, k);
    const double x = duk_get_number_default(ctx, -1, 0);
    duk_pop_2(ctx);
    return x;
}

// Reads finish()'s plain result (on the stack top) into heap.result.
void ReadResult(duk_context* ctx, Heap& heap) {
    const ValueKind kind = heap.node.kind();
    StreamValue& out = heap.result;
    out.kind = kind;
    switch (kind) {
        case ValueKind::OneD:
            out.v[0] = duk_get_number(ctx, -1);
            return;
        case ValueKind::TwoD:
        case ValueKind::ThreeD:
        case ValueKind::Color:
            for (std::size_t i = 0; i < out.Dimensions(); ++i) {
                duk_get_prop_index(ctx, -1, static_cast<duk_uarridx_t>(i));
                out.v[i] = duk_get_number(ctx, -1);
                duk_pop(ctx);
            }
            return;
        case ValueKind::LayerId: {
            const int h = duk_get_int(ctx, -1);
            out.layer_id = h < 0 ? 0 : heap.Get<Layer>(Ref::Layer, ctx, -1).id();
            return;
        }
        case ValueKind::Path: {
            duk_get_prop_string(ctx, -1, "closed");
            out.path.closed = duk_to_boolean(ctx, -1);
            duk_pop(ctx);
            duk_get_prop_string(ctx, -1, "points");
            const auto n = static_cast<duk_uarridx_t>(duk_get_length(ctx, -1));
            duk_pop(ctx);
            if (n > kMaxPathVertices) throw ScriptError{"the path has too many vertices"};
            const duk_idx_t top = duk_get_top_index(ctx);
            duk_get_prop_string(ctx, top, "points");
            duk_get_prop_string(ctx, top, "inTangents");
            duk_get_prop_string(ctx, top, "outTangents");
            out.path.vertices.resize(n);
            for (duk_uarridx_t i = 0; i < n; ++i) {
                PathVertex& p = out.path.vertices[i];
                p.x = ElementAt(ctx, top + 1, i, 0);
                p.y = ElementAt(ctx, top + 1, i, 1);
                p.in_x = ElementAt(ctx, top + 2, i, 0);
                p.in_y = ElementAt(ctx, top + 2, i, 1);
                p.out_x = ElementAt(ctx, top + 3, i, 0);
                p.out_y = ElementAt(ctx, top + 3, i, 1);
            }
            duk_pop_3(ctx);
            return;
        }
        case ValueKind::NoData:
        case ValueKind::Arb:
            return;
    }
}

// ---- Looking things up by name, match name or 1-based index --------------------

struct Key {
    bool is_index = false;
    double index = 0;
    std::string_view name;
};

Key KeyAt(duk_context* ctx, duk_idx_t i) {
    Key key;
    if (duk_is_number(ctx, i)) {
        key.is_index = true;
        key.index = duk_get_number(ctx, i);
    } else {
        duk_size_t length = 0;
        const char* text = duk_get_lstring(ctx, i, &length);
        if (text) key.name = std::string_view(text, length);
    }
    return key;
}

// The element at a 1-based index, or null.
template <typename T>
T* AtIndex(const std::vector<T*>& list, double index) {
    if (!(index >= 1 && index <= static_cast<double>(list.size())) ||
        index != static_cast<long>(index)) {
        return nullptr;
    }
    return list[static_cast<std::size_t>(index) - 1];
}

// The first item whose name is the key, else the first whose match name is.
template <typename T, typename Name, typename MatchName>
T* ByName(const std::vector<T*>& list, std::string_view key, Name name, MatchName match_name) {
    for (T* item : list) {
        if (SameText(name(*item), key)) return item;
    }
    for (T* item : list) {
        if (SameText(match_name(*item), key)) return item;
    }
    return nullptr;
}

template <typename T, typename Name, typename MatchName>
T* Find(const std::vector<T*>& list, const Key& key, Name name, MatchName match_name) {
    return key.is_index ? AtIndex(list, key.index) : ByName(list, key.name, name, match_name);
}

std::vector<const StreamNode*> Children(const StreamNode& node) {
    std::vector<const StreamNode*> out;
    for (const auto& c : node.children()) out.push_back(c.get());
    return out;
}

// An effect's parameter streams in parameter order (index 1 first); the group's
// children when the streams are not attached.
std::vector<const StreamNode*> ParamStreams(const EffectInstance& effect) {
    std::vector<const StreamNode*> out;
    for (std::size_t i = 1; i < effect.params().size(); ++i) {
        if (const StreamNode* node = effect.ParamStream(i)) out.push_back(node);
    }
    return out.empty() ? Children(effect.group()) : out;
}

const auto kNodeName = [](const StreamNode& n) -> const std::string& { return n.name(); };
const auto kNodeMatchName = [](const StreamNode& n) -> const std::string& {
    return n.match_name();
};

// ---- Native functions -----------------------------------------------------------

using NativeBody = duk_ret_t (*)(duk_context*, Heap&);

// Runs a native body, turning C++ failures into script errors. The throw happens
// after every C++ object of the body is gone, since it unwinds by longjmp.
template <NativeBody Body>
duk_ret_t Native(duk_context* ctx) {
    Heap& heap = HeapOf(ctx);
    duk_errcode_t code = 0;
    duk_ret_t ret = 0;
    try {
        ret = Body(ctx, heap);
    } catch (const ScriptError& e) {
        heap.pending_error = e.message;
        code = e.code;
    } catch (const std::exception& e) {
        heap.pending_error = e.what();
        code = DUK_ERR_ERROR;
    }
    if (code != 0) duk_error(ctx, code, "%s", heap.pending_error.c_str());
    return ret;
}

duk_ret_t Step(duk_context* ctx, Heap& heap) {
    Session& s = heap.session;
    if (s.out_of_steps || ++s.steps > kExpressionStepLimit) {
        s.out_of_steps = true;
        throw ScriptError{StepLimitText(), DUK_ERR_RANGE_ERROR};
    }
    duk_push_true(ctx);
    return 1;
}

duk_ret_t InstrumentText(duk_context* ctx, Heap& heap) {
    duk_size_t length = 0;
    const char* text = duk_require_lstring(ctx, 0, &length);
    std::string error;
    if (!InstrumentSource(std::string(text, length), &heap.scratch_text, &error)) {
        throw ScriptError{error, DUK_ERR_SYNTAX_ERROR};
    }
    duk_push_lstring(ctx, heap.scratch_text.data(), heap.scratch_text.size());
    return 1;
}

duk_ret_t CompInfo(duk_context* ctx, Heap& heap) {
    const auto& comp = heap.Get<Composition>(Ref::Comp, ctx, 0);
    duk_push_object(ctx);
    PutText(ctx, "name", comp.name());
    PutNumber(ctx, "numLayers", static_cast<double>(comp.layers().size()));
    PutNumber(ctx, "width", comp.width);
    PutNumber(ctx, "height", comp.height);
    PutNumber(ctx, "frameDuration", comp.frame_rate > 0 ? 1.0 / comp.frame_rate : 0);
    PutNumber(ctx, "duration",
              comp.duration.scale ? double(comp.duration.value) / comp.duration.scale : 0);
    return 1;
}

duk_ret_t CompLayer(duk_context* ctx, Heap& heap) {
    const auto& comp = heap.Get<Composition>(Ref::Comp, ctx, 0);
    const Key key = KeyAt(ctx, 1);
    // By stacking position or by name (the topmost layer of that name).
    const Layer* layer = nullptr;
    if (key.is_index) {
        layer = AtIndex(comp.layers(), key.index);
    } else {
        for (const Layer* l : comp.layers()) {
            if (SameText(l->name(), key.name)) {
                layer = l;
                break;
            }
        }
    }
    duk_push_int(ctx, heap.Handle(Ref::Layer, layer));
    return 1;
}

duk_ret_t CompByName(duk_context* ctx, Heap& heap) {
    const Key key = KeyAt(ctx, 0);
    const Composition* found = nullptr;
    for (const auto& item : heap.session.project.items()) {
        if (item->kind() == ItemKind::Composition && SameText(item->name(), key.name)) {
            found = static_cast<const Composition*>(item.get());
            break;
        }
    }
    duk_push_int(ctx, heap.Handle(Ref::Comp, found));
    return 1;
}

duk_ret_t LayerInfo(duk_context* ctx, Heap& heap) {
    const auto& layer = heap.Get<Layer>(Ref::Layer, ctx, 0);
    const int root = heap.Handle(Ref::Node, &layer.root());
    const int comp = heap.Handle(Ref::Comp, &layer.comp());
    duk_push_object(ctx);
    PutText(ctx, "name", layer.name());
    PutNumber(ctx, "index", static_cast<double>(layer.comp().IndexOf(layer) + 1));
    duk_push_boolean(ctx, (layer.flags() & AEGP_LayerFlag_LAYER_IS_3D) != 0);
    duk_put_prop_string(ctx, -2, "is3D");
    PutNumber(ctx, "numEffects", static_cast<double>(layer.effects().size()));
    PutNumber(ctx, "root", root);
    PutNumber(ctx, "comp", comp);
    return 1;
}

duk_ret_t LayerEffect(duk_context* ctx, Heap& heap) {
    const auto& layer = heap.Get<Layer>(Ref::Layer, ctx, 0);
    std::vector<const EffectInstance*> effects;
    for (const auto& e : layer.effects()) effects.push_back(e.get());
    const EffectInstance* effect = Find(
        effects, KeyAt(ctx, 1),
        [](const EffectInstance& e) -> const std::string& { return e.name(); },
        [](const EffectInstance& e) -> const std::string& { return e.match_name(); });
    duk_push_int(ctx, heap.Handle(Ref::Effect, effect));
    return 1;
}

duk_ret_t EffectInfo(duk_context* ctx, Heap& heap) {
    const auto& effect = heap.Get<EffectInstance>(Ref::Effect, ctx, 0);
    duk_push_object(ctx);
    PutText(ctx, "name", effect.name());
    PutText(ctx, "matchName", effect.match_name());
    PutNumber(ctx, "numParams", static_cast<double>(ParamStreams(effect).size()));
    return 1;
}

duk_ret_t EffectParam(duk_context* ctx, Heap& heap) {
    const auto& effect = heap.Get<EffectInstance>(Ref::Effect, ctx, 0);
    const Key key = KeyAt(ctx, 1);
    const StreamNode* node = nullptr;
    if (key.is_index) {
        // Parameter indices count from 1; 0 is the input layer, which has no stream.
        if (key.index >= 1 && key.index == static_cast<long>(key.index)) {
            node = effect.ParamStream(static_cast<std::size_t>(key.index));
        }
    } else {
        node = ByName(ParamStreams(effect), key.name, kNodeName, kNodeMatchName);
    }
    duk_push_int(ctx, heap.Handle(Ref::Node, node));
    return 1;
}

duk_ret_t NodeInfo(duk_context* ctx, Heap& heap) {
    const auto& node = heap.Get<StreamNode>(Ref::Node, ctx, 0);
    const int parent = heap.Handle(Ref::Node, node.parent());
    duk_push_object(ctx);
    PutText(ctx, "name", node.name());
    PutText(ctx, "matchName", node.match_name());
    PutNumber(ctx, "numKeys", static_cast<double>(node.keyframes.size()));
    PutNumber(ctx, "index", static_cast<double>(node.IndexInParent() + 1));
    PutNumber(ctx, "numChildren", static_cast<double>(node.children().size()));
    PutNumber(ctx, "parent", parent);
    return 1;
}

duk_ret_t Child(duk_context* ctx, Heap& heap) {
    const auto& node = heap.Get<StreamNode>(Ref::Node, ctx, 0);
    const StreamNode* child = Find(Children(node), KeyAt(ctx, 1), kNodeName, kNodeMatchName);
    duk_push_int(ctx, heap.Handle(Ref::Node, child));
    return 1;
}

duk_ret_t ChildByMatch(duk_context* ctx, Heap& heap) {
    const auto& node = heap.Get<StreamNode>(Ref::Node, ctx, 0);
    const std::string match_name = duk_to_string(ctx, 1);
    duk_push_int(ctx, heap.Handle(Ref::Node, node.FindChild(match_name)));
    return 1;
}

// A property's value as an expression reads it: after its own expression, except
// for the property being evaluated, which reads its value before expressions.
StreamValue ReadProperty(Heap& heap, const StreamNode& node, double time) {
    if (node.is_group() || node.kind() == ValueKind::NoData) {
        throw ScriptError{"Property '" + ToUtf8(node.name()) + "' has no value"};
    }
    if (&node == &heap.node || !node.expression_enabled || node.expression.empty()) {
        return node.ValueAt(time);
    }
    Session& s = heap.session;
    if (std::find(s.stack.begin(), s.stack.end(), &node) != s.stack.end()) {
        s.cycle = true;
        s.fatal_message = "Error: expression cycle: '" + ToUtf8(node.name()) +
                          "' reads a property that reads it back";
        throw ScriptError{s.fatal_message};
    }
    const EvalResult nested = Evaluate(s, node, time);
    if (nested.ok) return nested.value;
    if (s.cycle || s.out_of_steps || s.too_deep) throw ScriptError{s.fatal_message};
    // A property whose own expression fails shows its value before expressions.
    return node.ValueAt(time);
}

duk_ret_t Value(duk_context* ctx, Heap& heap) {
    const auto& node = heap.Get<StreamNode>(Ref::Node, ctx, 0);
    heap.scratch = ReadProperty(heap, node, duk_get_number_default(ctx, 1, heap.time));
    PushValue(ctx, heap.session.project, heap.scratch);
    return 1;
}

struct NativeRow {
    const char* name;
    duk_c_function function;
    duk_idx_t nargs;
};
const NativeRow kNatives[] = {
    {"instrument", Native<InstrumentText>, 1}, {"compInfo", Native<CompInfo>, 1},
    {"compLayer", Native<CompLayer>, 2},       {"compByName", Native<CompByName>, 1},
    {"layerInfo", Native<LayerInfo>, 1},       {"layerEffect", Native<LayerEffect>, 2},
    {"effectInfo", Native<EffectInfo>, 1},     {"effectParam", Native<EffectParam>, 2},
    {"nodeInfo", Native<NodeInfo>, 1},         {"child", Native<Child>, 2},
    {"childByMatch", Native<ChildByMatch>, 2}, {"value", Native<Value>, 2},
};

// ---- One evaluation -------------------------------------------------------------

// The prelude compiled once per process: compiling it anew in every heap would
// cost more than the rest of an evaluation together. Empty if it does not compile,
// in which case every heap compiles it and reports the error.
const std::vector<char>& PreludeBytecode() {
    static const std::vector<char> code = [] {
        std::vector<char> out;
        duk_context* ctx = duk_create_heap(nullptr, nullptr, nullptr, nullptr, Fatal);
        if (!ctx) return out;
        if (duk_pcompile_lstring(ctx, DUK_COMPILE_FUNCTION, kPreludeSource,
                                 std::strlen(kPreludeSource)) == 0) {
            duk_dump_function(ctx);
            duk_size_t size = 0;
            const auto* bytes = static_cast<const char*>(duk_get_buffer(ctx, -1, &size));
            out.assign(bytes, bytes + size);
        }
        duk_destroy_heap(ctx);
        return out;
    }();
    return code;
}

void PushPrelude(duk_context* ctx) {
    const std::vector<char>& code = PreludeBytecode();
    if (code.empty()) {
        duk_compile_lstring(ctx, DUK_COMPILE_FUNCTION, kPreludeSource, std::strlen(kPreludeSource));
        return;
    }
    std::memcpy(duk_push_fixed_buffer(ctx, code.size()), code.data(), code.size());
    duk_load_function(ctx);
}

void PushInfo(duk_context* ctx, Heap& heap) {
    const Layer* layer = heap.node.layer();
    const int self = heap.Handle(Ref::Node, &heap.node);
    const int layer_h = heap.Handle(Ref::Layer, layer);
    const int comp_h = heap.Handle(Ref::Comp, layer ? &layer->comp() : nullptr);
    heap.scratch = heap.node.ValueAt(heap.time);
    duk_push_object(ctx);
    PutNumber(ctx, "time", heap.time);
    PutNumber(ctx, "self", self);
    PutNumber(ctx, "layer", layer_h);
    PutNumber(ctx, "comp", comp_h);
    duk_push_string(ctx, ValueKindName(heap.node.kind()));
    duk_put_prop_string(ctx, -2, "kind");
    PushValue(ctx, heap.session.project, heap.scratch);
    duk_put_prop_string(ctx, -2, "value");
}

// Inside the engine's protection: builds the object model, runs the expression and
// reads its result. C++ failures become script errors after their objects are gone.
duk_ret_t Run(duk_context* ctx, void* udata) {
    Heap& heap = *static_cast<Heap*>(udata);
    bool failed = false;
    try {
        PushPrelude(ctx);
        duk_push_object(ctx);
        for (const NativeRow& row : kNatives) {
            duk_push_c_function(ctx, row.function, row.nargs);
            duk_put_prop_string(ctx, -2, row.name);
        }
        duk_push_global_object(ctx);
        // The step hook cannot be replaced or removed by the expression.
        duk_push_string(ctx, kStepHookName);
        duk_push_c_function(ctx, Native<Step>, 0);
        duk_def_prop(ctx, -3,
                     DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_CLEAR_WRITABLE |
                         DUK_DEFPROP_CLEAR_ENUMERABLE | DUK_DEFPROP_CLEAR_CONFIGURABLE);
        PushInfo(ctx, heap);
        duk_call(ctx, 3);  // the prelude gives finish()
        duk_eval_lstring(ctx, heap.source.data(), heap.source.size());
        duk_call(ctx, 1);  // finish(result)
        ReadResult(ctx, heap);
    } catch (const std::exception& e) {
        heap.pending_error = e.what();
        failed = true;
    } catch (const ScriptError& e) {
        heap.pending_error = e.message;
        failed = true;
    }
    if (failed) duk_error(ctx, DUK_ERR_ERROR, "%s", heap.pending_error.c_str());
    return 0;
}

struct HeapCloser {
    void operator()(duk_context* ctx) const { duk_destroy_heap(ctx); }
};

EvalResult Evaluate(Session& session, const StreamNode& node, double time) {
    EvalResult out;
    out.value = node.ValueAt(time);
    auto fail = [&](std::string error) {
        out.ok = false;
        out.error = std::move(error);
        return out;
    };
    if (node.expression.empty()) return out;
    if (node.is_group() || node.kind() == ValueKind::NoData) {
        return fail("Error: property '" + ToUtf8(node.name()) + "' has no value to compute");
    }
    if (session.out_of_steps) return fail(StepLimitMessage());
    if (session.stack.size() >= kExpressionNestingLimit) {
        session.too_deep = true;
        session.fatal_message = "Error: expressions read each other more than " +
                                std::to_string(kExpressionNestingLimit) + " deep";
        return fail(session.fatal_message);
    }
    std::string source, why;
    if (!InstrumentSource(ToUtf8(node.expression), &source, &why)) {
        return fail("SyntaxError: " + why);
    }

    session.stack.push_back(&node);
    struct Pop {
        Session& s;
        ~Pop() { s.stack.pop_back(); }
    } pop{session};

    Heap heap(session, node, time, std::move(source));
    std::unique_ptr<duk_context, HeapCloser> ctx(
        duk_create_heap(HeapAlloc, HeapRealloc, HeapFree, &heap, Fatal));
    if (!ctx) return fail("Error: the expression engine could not start");
    const duk_int_t rc = duk_safe_call(ctx.get(), Run, &heap, 0, 1);
    std::string message;
    if (rc != DUK_EXEC_SUCCESS) {
        const char* text = duk_safe_to_string(ctx.get(), -1);
        message = text ? text : "Error";
    }
    ctx.reset();

    // These end the evaluation even when the expression caught the error.
    if (session.out_of_steps) return fail(StepLimitMessage());
    if (session.cycle || session.too_deep) return fail(session.fatal_message);
    if (rc != DUK_EXEC_SUCCESS) return fail(message);
    out.value = std::move(heap.result);
    return out;
}

}  // namespace

EvalResult EvaluateExpression(const Project& project, const StreamNode& node, double time) {
    Session session(project);
    return Evaluate(session, node, time);
}

StreamValue ValueAfterExpressions(const Project& project, StreamNode& node, double time) {
    if (!node.expression_enabled || node.expression.empty()) {
        node.expression_error.clear();
        return node.ValueAt(time);
    }
    EvalResult result = EvaluateExpression(project, node, time);
    if (result.ok) {
        node.expression_error.clear();
        return result.value;
    }
    node.expression_error = result.error;
    return node.ValueAt(time);
}

void InstallExpressionEngine(Host& host) {
    host.set_evaluator([](Project& project, StreamNode& node, double time) {
        return ValueAfterExpressions(project, node, time);
    });
}

}  // namespace tlhost
