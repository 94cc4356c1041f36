#include "expressions/Expressions.h"

#include <duktape.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <new>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/Host.h"
#include "expressions/Instrument.h"
#include "expressions/Prelude.h"
#include "model/Transform.h"

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
// Text between UTF-8 and the engine's strings, which hold characters beyond the
// Basic Multilingual Plane as two UTF-16 surrogates of three bytes each (as string
// literals in the source become): a name pushed as four-byte UTF-8 would be one
// character of its own and equal no literal.
std::string ToEngine(const std::string& utf8) {
    std::size_t i = utf8.find_first_of("\xF0\xF1\xF2\xF3\xF4");
    if (i == std::string::npos) return utf8;
    std::string out(utf8, 0, i);
    out.reserve(utf8.size() + 8);
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b >= 0xF0 && b <= 0xF4 && i + 3 < utf8.size() + 0) {
            std::uint32_t cp = b & 0x07u;
            for (std::size_t k = 1; k <= 3; ++k) cp = (cp << 6) | (utf8[i + k] & 0x3Fu);
            cp -= 0x10000;
            for (const std::uint32_t unit : {0xD800u + (cp >> 10), 0xDC00u + (cp & 0x3FFu)}) {
                out += static_cast<char>(0xE0 | (unit >> 12));
                out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (unit & 0x3F));
            }
            i += 4;
        } else {
            out += utf8[i++];
        }
    }
    return out;
}

// The reverse: surrogate pairs in three-byte form become four-byte UTF-8. A lone
// surrogate is left as it is.
std::string FromEngine(std::string_view engine) {
    std::size_t i = engine.find('\xED');
    if (i == std::string_view::npos) return std::string(engine);
    std::string out(engine.substr(0, i));
    while (i < engine.size()) {
        const auto at = [&](std::size_t k) { return static_cast<unsigned char>(engine[k]); };
        if (i + 5 < engine.size() && at(i) == 0xED && at(i + 1) >= 0xA0 && at(i + 1) <= 0xAF &&
            at(i + 3) == 0xED && at(i + 4) >= 0xB0 && at(i + 4) <= 0xBF) {
            const std::uint32_t high = ((at(i + 1) & 0x0Fu) << 6) | (at(i + 2) & 0x3Fu);
            const std::uint32_t low = ((at(i + 4) & 0x0Fu) << 6) | (at(i + 5) & 0x3Fu);
            const std::uint32_t cp = 0x10000 + (high << 10) + low;
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
            i += 6;
        } else {
            out += engine[i++];
        }
    }
    return out;
}

// ---- Evaluation state -----------------------------------------------------------

using Clock = std::chrono::steady_clock;

// Without the error type's prefix, which the engine adds when it throws.
std::string StepLimitText(long steps) {
    return "the expression ran more than " + std::to_string(steps) +
           " loop turns and function calls";
}

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", s);
    return text;
}

// Objects that JavaScript refers to by integer handles.
enum class Ref { Node, Layer, Effect, Comp };

// An error a native function raises in the script.
struct ScriptError {
    std::string message;
    duk_errcode_t code = DUK_ERR_ERROR;
};

// One top-level evaluation and the nested evaluations of the properties it reads:
// they share its budget, its object handles and what ends it.
struct Evaluation {
    Evaluation(const Project& p, const ExpressionLimits& l, Clock::time_point end,
               std::size_t memory)
        : project(p), limits(l), deadline(end), memory_base(memory) {}
    const Project& project;
    const ExpressionLimits& limits;
    std::vector<const StreamNode*> stack;  // properties being evaluated, outermost first
    long steps = 0;
    Clock::time_point deadline;
    std::size_t memory_base;  // engine memory in use when the evaluation started
    unsigned allocations = 0;

    // What ends the whole evaluation, whoever catches it on the way.
    enum class Stop { None, Steps, Nesting, Cycle, Time, Memory };
    Stop stop = Stop::None;
    std::string fatal_message;  // without the error type
    duk_errcode_t fatal_code = DUK_ERR_ERROR;
    bool Ended() const { return stop != Stop::None; }
    void End(Stop why, std::string message, duk_errcode_t code = DUK_ERR_ERROR) {
        if (Ended()) return;
        stop = why;
        fatal_message = std::move(message);
        fatal_code = code;
    }
    std::string Message() const {
        return std::string(fatal_code == DUK_ERR_RANGE_ERROR ? "RangeError: " : "Error: ") +
               fatal_message;
    }
    bool PastDeadline() {
        if (Ended()) return stop == Stop::Time;
        if (Clock::now() < deadline) return false;
        End(Stop::Time, "the expression ran longer than its time", DUK_ERR_RANGE_ERROR);
        return true;
    }

    // Values of expression-driven properties read so far, by node and time.
    std::map<std::pair<const StreamNode*, double>, StreamValue> reads;

    std::vector<std::pair<Ref, const void*>> refs;
    std::map<std::pair<Ref, const void*>, int> ref_ids;
    std::string pending_error;  // outlives the throw that carries it
    std::string scratch_text;
    StreamValue scratch;

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

}  // namespace

namespace {

// The evaluation of one property's expression (the top-level one or a nested read).
struct Frame {
    ExpressionEngine::Impl& engine;
    Evaluation& eval;
    const StreamNode& node;
    double time;
    StreamValue result;
    bool entered = false;  // the prelude started it (and must end it)
};

Frame& FrameOf(duk_context* ctx);

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
#define TL_POOL_ENGINE_BLOCKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TL_POOL_ENGINE_BLOCKS 0
#endif
#endif
#ifndef TL_POOL_ENGINE_BLOCKS
#define TL_POOL_ENGINE_BLOCKS 1
#endif

// The engine's small blocks (up to 512 bytes) come from slabs of its own, with a free
// list per 16-byte size. An evaluation makes and drops many of them; in the process's
// heap they would land in holes among the project's nodes, and freeing one reads its
// neighbours, which in a large project are long out of the cache. Here they stay in a
// few hot pages whatever the size of the project. Larger blocks go to the C heap, and
// so does every block in a sanitizer build, where a late use must still be caught.
class SmallBlocks {
  public:
    static constexpr std::size_t kStep = 16;
    static constexpr std::size_t kLargest = 512;

    // A block of `bytes`, or null when memory is out.
    void* Allocate(std::size_t bytes) { return Pooled(bytes) ? Take(bytes) : std::malloc(bytes); }
    void Release(void* p, std::size_t bytes) {
        if (Pooled(bytes)) {
            Give(p, bytes);
        } else {
            std::free(p);
        }
    }
    // The block `p` of `old` bytes made `bytes` long, its contents kept; null, with `p`
    // left as it was, when memory is out.
    void* Resize(void* p, std::size_t old, std::size_t bytes) {
        if (!Pooled(old) && !Pooled(bytes)) return std::realloc(p, bytes);
        if (Pooled(old) && Pooled(bytes) && ClassOf(old) == ClassOf(bytes)) return p;
        void* moved = Allocate(bytes);
        if (!moved) return nullptr;
        std::memcpy(moved, p, std::min(old, bytes));
        Release(p, old);
        return moved;
    }

  private:
    static bool Pooled(std::size_t bytes) { return TL_POOL_ENGINE_BLOCKS && bytes <= kLargest; }
    static std::size_t ClassOf(std::size_t bytes) { return (bytes + kStep - 1) / kStep - 1; }

    // A block of `bytes` (at most kLargest) from the slabs.
    void* Take(std::size_t bytes) {
        const std::size_t c = ClassOf(bytes);
        if (void* p = free_[c]) {
            free_[c] = *static_cast<void**>(p);
            return p;
        }
        const std::size_t size = (c + 1) * kStep;
        if (slab_left_ < size) {
            std::unique_ptr<unsigned char[]> slab(new (std::nothrow) unsigned char[kSlab]);
            if (!slab) return nullptr;
            slab_next_ = slab.get();
            slab_left_ = kSlab;
            slabs_.push_back(std::move(slab));
        }
        void* p = slab_next_;
        slab_next_ += size;
        slab_left_ -= size;
        return p;
    }
    void Give(void* p, std::size_t bytes) {
        const std::size_t c = ClassOf(bytes);
        *static_cast<void**>(p) = free_[c];
        free_[c] = p;
    }

    static constexpr std::size_t kSlab = 64 * 1024;
    void* free_[kLargest / kStep] = {};
    std::vector<std::unique_ptr<unsigned char[]>> slabs_;
    unsigned char* slab_next_ = nullptr;
    std::size_t slab_left_ = 0;
};

// The engine: one heap with the prelude loaded, and the evaluation under way.
struct ExpressionEngine::Impl {
    explicit Impl(ExpressionLimits l) : limits(l) {}
    ~Impl() { Stop(); }

    bool Start();
    void Stop() {
        if (ctx) duk_destroy_heap(ctx);
        ctx = nullptr;
        compiled.clear();
    }
    EvalResult Top(const Project& project, const StreamNode& node, double time);
    EvalResult Nested(Evaluation& eval, const StreamNode& node, double time);

    // An expression's text compiled (instrumented first), or why it cannot be.
    struct Compiled {
        bool ok = false;
        std::vector<char> code;
        std::string error;
    };
    const Compiled& Compile(Evaluation& eval, const std::string& expression);

    ExpressionLimits limits;
    duk_context* ctx = nullptr;
    // The prelude's functions and the engine's own global object, kept reachable in
    // the heap's stash.
    void* enter = nullptr;
    void* leave = nullptr;
    void* finish = nullptr;
    void* step = nullptr;
    std::size_t allocated = 0;
    Evaluation* active = nullptr;  // the top-level evaluation under way
    int unbounded = 0;             // > 0 while the host cleans up after an evaluation
    Frame* frame = nullptr;        // the innermost evaluation under way
    double used = 0;               // seconds of evaluation so far
    std::unordered_map<std::string, Compiled> compiled;
    Compiled unkept;
    SmallBlocks blocks;  // outlives the heap: Stop() runs in the destructor's body
};

namespace {

// ---- Engine memory, within the evaluation's budget ------------------------------

struct alignas(std::max_align_t) Block {
    std::size_t size;
};

// Whether `more` bytes may be taken now: within the evaluation's memory budget and
// time. Once the time is up every allocation fails, so that a built-in that keeps
// allocating stops at once.
bool MayAllocate(ExpressionEngine::Impl& engine, std::size_t more) {
    Evaluation* e = engine.active;
    if (!e || engine.unbounded > 0) return true;
    if ((++e->allocations & 15) == 0) e->PastDeadline();
    if (e->stop == Evaluation::Stop::Time) return false;
    const std::size_t in_use =
        engine.allocated > e->memory_base ? engine.allocated - e->memory_base : 0;
    if (more > e->limits.memory || in_use > e->limits.memory - more) {
        e->End(Evaluation::Stop::Memory,
               "the expression used more than " + std::to_string(e->limits.memory >> 20) +
                   " MiB of memory",
               DUK_ERR_RANGE_ERROR);
        return false;
    }
    return true;
}

void* HeapAlloc(void* udata, duk_size_t size) {
    auto& engine = *static_cast<ExpressionEngine::Impl*>(udata);
    if (!MayAllocate(engine, size)) return nullptr;
    const std::size_t bytes = sizeof(Block) + size;
    void* base = engine.blocks.Allocate(bytes);
    if (!base) return nullptr;
    static_cast<Block*>(base)->size = size;
    engine.allocated += size;
    return static_cast<Block*>(base) + 1;
}

// Memory freed during an evaluation may be garbage of earlier ones: the
// evaluation's share is then counted from the lower mark.
void Freed(ExpressionEngine::Impl& engine, std::size_t size) {
    engine.allocated -= size;
    if (engine.active && engine.allocated < engine.active->memory_base) {
        engine.active->memory_base = engine.allocated;
    }
}

void HeapFree(void* udata, void* ptr) {
    if (!ptr) return;
    auto& engine = *static_cast<ExpressionEngine::Impl*>(udata);
    Block* block = static_cast<Block*>(ptr) - 1;
    Freed(engine, block->size);
    engine.blocks.Release(block, sizeof(Block) + block->size);
}

void* HeapRealloc(void* udata, void* ptr, duk_size_t size) {
    if (!ptr) return HeapAlloc(udata, size);
    auto& engine = *static_cast<ExpressionEngine::Impl*>(udata);
    Block* block = static_cast<Block*>(ptr) - 1;
    const std::size_t old = block->size;
    if (size > old && !MayAllocate(engine, size - old)) return nullptr;
    void* base = engine.blocks.Resize(block, sizeof(Block) + old, sizeof(Block) + size);
    if (!base) return nullptr;
    static_cast<Block*>(base)->size = size;
    engine.allocated += size;
    Freed(engine, old);
    return static_cast<Block*>(base) + 1;
}

void Fatal(void*, const char* message) {
    std::fprintf(stderr, "expression engine: fatal error: %s\n", message ? message : "");
    std::abort();
}

Frame& FrameOf(duk_context* ctx) {
    duk_memory_functions functions;
    duk_get_memory_functions(ctx, &functions);
    return *static_cast<ExpressionEngine::Impl*>(functions.udata)->frame;
}

// ---- Values between the model and the script ------------------------------------

// More vertices than a result path may have (far beyond what the heap could hold as
// real vertices; a sparse array could claim any length).
constexpr duk_uarridx_t kMaxPathVertices = 1u << 20;

void PushText(duk_context* ctx, const std::string& text) {
    const std::string engine = ToEngine(ToUtf8(text));
    duk_push_lstring(ctx, engine.data(), engine.size());
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

// Reads finish()'s plain result (on the stack top) into frame.result.
void ReadResult(duk_context* ctx, Frame& frame) {
    const ValueKind kind = frame.node.kind();
    StreamValue& out = frame.result;
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
            out.layer_id = h < 0 ? 0 : frame.eval.Get<Layer>(Ref::Layer, ctx, -1).id();
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
    std::string name;  // UTF-8
};

Key KeyAt(duk_context* ctx, duk_idx_t i) {
    Key key;
    if (duk_is_number(ctx, i)) {
        key.is_index = true;
        key.index = duk_get_number(ctx, i);
    } else {
        duk_size_t length = 0;
        const char* text = duk_get_lstring(ctx, i, &length);
        if (text) key.name = FromEngine(std::string_view(text, length));
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
    out.reserve(effect.params().size());
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

using NativeBody = duk_ret_t (*)(duk_context*, Frame&);

// Runs a native body, turning C++ failures into script errors. The throw happens
// after every C++ object of the body is gone, since it unwinds by longjmp.
template <NativeBody Body>
duk_ret_t Native(duk_context* ctx) {
    Frame& frame = FrameOf(ctx);
    duk_errcode_t code = 0;
    duk_ret_t ret = 0;
    try {
        ret = Body(ctx, frame);
    } catch (const ScriptError& e) {
        frame.eval.pending_error = e.message;
        code = e.code;
    } catch (const std::exception& e) {
        frame.eval.pending_error = e.what();
        code = DUK_ERR_ERROR;
    }
    if (code != 0) duk_error(ctx, code, "%s", frame.eval.pending_error.c_str());
    return ret;
}

// Called at every loop test and function entry: counts a step and, every so many
// steps, looks at the clock.
duk_ret_t Step(duk_context* ctx, Frame& frame) {
    Evaluation& s = frame.eval;
    if (s.Ended()) throw ScriptError{s.fatal_message, s.fatal_code};
    if (++s.steps > s.limits.steps) {
        s.End(Evaluation::Stop::Steps, StepLimitText(s.limits.steps), DUK_ERR_RANGE_ERROR);
        throw ScriptError{s.fatal_message, s.fatal_code};
    }
    if ((s.steps & 1023) == 0 && s.PastDeadline()) throw ScriptError{s.fatal_message, s.fatal_code};
    duk_push_true(ctx);
    return 1;
}

duk_ret_t InstrumentText(duk_context* ctx, Frame& frame) {
    duk_size_t length = 0;
    const char* text = duk_require_lstring(ctx, 0, &length);
    std::string error;
    if (!InstrumentSource(FromEngine(std::string_view(text, length)), &frame.eval.scratch_text,
                          &error)) {
        throw ScriptError{error, DUK_ERR_SYNTAX_ERROR};
    }
    frame.eval.scratch_text = ToEngine(frame.eval.scratch_text);
    duk_push_lstring(ctx, frame.eval.scratch_text.data(), frame.eval.scratch_text.size());
    return 1;
}

duk_ret_t CompInfo(duk_context* ctx, Frame& frame) {
    const auto& comp = frame.eval.Get<Composition>(Ref::Comp, ctx, 0);
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

duk_ret_t CompLayer(duk_context* ctx, Frame& frame) {
    const auto& comp = frame.eval.Get<Composition>(Ref::Comp, ctx, 0);
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
    duk_push_int(ctx, frame.eval.Handle(Ref::Layer, layer));
    return 1;
}

duk_ret_t CompByName(duk_context* ctx, Frame& frame) {
    const Key key = KeyAt(ctx, 0);
    const Composition* found = nullptr;
    for (const auto& item : frame.eval.project.items()) {
        if (item->kind() == ItemKind::Composition && SameText(item->name(), key.name)) {
            found = static_cast<const Composition*>(item.get());
            break;
        }
    }
    duk_push_int(ctx, frame.eval.Handle(Ref::Comp, found));
    return 1;
}

duk_ret_t LayerInfo(duk_context* ctx, Frame& frame) {
    const auto& layer = frame.eval.Get<Layer>(Ref::Layer, ctx, 0);
    const int root = frame.eval.Handle(Ref::Node, &layer.root());
    const int comp = frame.eval.Handle(Ref::Comp, &layer.comp());
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

duk_ret_t LayerEffect(duk_context* ctx, Frame& frame) {
    const auto& layer = frame.eval.Get<Layer>(Ref::Layer, ctx, 0);
    std::vector<const EffectInstance*> effects;
    for (const auto& e : layer.effects()) effects.push_back(e.get());
    const EffectInstance* effect = Find(
        effects, KeyAt(ctx, 1),
        [](const EffectInstance& e) -> const std::string& { return e.name(); },
        [](const EffectInstance& e) -> const std::string& { return e.match_name(); });
    duk_push_int(ctx, frame.eval.Handle(Ref::Effect, effect));
    return 1;
}

duk_ret_t EffectInfo(duk_context* ctx, Frame& frame) {
    const auto& effect = frame.eval.Get<EffectInstance>(Ref::Effect, ctx, 0);
    duk_push_object(ctx);
    PutText(ctx, "name", effect.name());
    PutText(ctx, "matchName", effect.match_name());
    PutNumber(ctx, "numParams", static_cast<double>(ParamStreams(effect).size()));
    return 1;
}

duk_ret_t EffectParam(duk_context* ctx, Frame& frame) {
    const auto& effect = frame.eval.Get<EffectInstance>(Ref::Effect, ctx, 0);
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
    duk_push_int(ctx, frame.eval.Handle(Ref::Node, node));
    return 1;
}

duk_ret_t NodeInfo(duk_context* ctx, Frame& frame) {
    const auto& node = frame.eval.Get<StreamNode>(Ref::Node, ctx, 0);
    const int parent = frame.eval.Handle(Ref::Node, node.parent());
    duk_push_object(ctx);
    PutText(ctx, "name", node.name());
    PutText(ctx, "matchName", node.match_name());
    PutNumber(ctx, "numKeys", static_cast<double>(node.keyframes.size()));
    PutNumber(ctx, "index", static_cast<double>(node.IndexInParent() + 1));
    PutNumber(ctx, "numChildren", static_cast<double>(node.children().size()));
    PutNumber(ctx, "parent", parent);
    return 1;
}

duk_ret_t Child(duk_context* ctx, Frame& frame) {
    const auto& node = frame.eval.Get<StreamNode>(Ref::Node, ctx, 0);
    const StreamNode* child = Find(Children(node), KeyAt(ctx, 1), kNodeName, kNodeMatchName);
    duk_push_int(ctx, frame.eval.Handle(Ref::Node, child));
    return 1;
}

duk_ret_t ChildByMatch(duk_context* ctx, Frame& frame) {
    const auto& node = frame.eval.Get<StreamNode>(Ref::Node, ctx, 0);
    const std::string match_name = duk_to_string(ctx, 1);
    duk_push_int(ctx, frame.eval.Handle(Ref::Node, node.FindChild(match_name)));
    return 1;
}

// A property's value as an expression reads it: after its own expression, except
// for the property being evaluated, which reads its value before expressions.
StreamValue ReadProperty(Frame& frame, const StreamNode& node, double time) {
    if (node.is_group() || node.kind() == ValueKind::NoData) {
        throw ScriptError{"Property '" + ToUtf8(node.name()) + "' has no value"};
    }
    if (&node == &frame.node || !node.expression_enabled || node.expression.empty()) {
        return node.ValueAt(time);
    }
    Evaluation& s = frame.eval;
    if (std::find(s.stack.begin(), s.stack.end(), &node) != s.stack.end()) {
        s.End(Evaluation::Stop::Cycle, "expression cycle: '" + ToUtf8(node.name()) +
                                           "' reads a property that reads it back");
        throw ScriptError{s.fatal_message};
    }
    // Within one evaluation a property has one value at a time.
    const auto key = std::make_pair(&node, time);
    if (auto known = s.reads.find(key); known != s.reads.end()) return known->second;
    const EvalResult nested = frame.engine.Nested(s, node, time);
    if (s.Ended()) throw ScriptError{s.fatal_message, s.fatal_code};
    // A property whose own expression fails shows its value before expressions.
    StreamValue value = nested.ok ? nested.value : node.ValueAt(time);
    s.reads.emplace(key, value);
    return value;
}

duk_ret_t Value(duk_context* ctx, Frame& frame) {
    const auto& node = frame.eval.Get<StreamNode>(Ref::Node, ctx, 0);
    frame.eval.scratch = ReadProperty(frame, node, duk_get_number_default(ctx, 1, frame.time));
    PushValue(ctx, frame.eval.project, frame.eval.scratch);
    return 1;
}

// A point between a layer's space and its composition's, through the layer's transform
// (model/Transform.h) at a time, its properties read as the expression reads them (after
// their expressions). Arguments: the layer, the point (an array of 2 or 3 numbers, z 0 when
// left out), the time and whether to go from the composition into the layer. A 3D layer
// gives 3 numbers; a 2D layer as many as it was given (its z unchanged).
duk_ret_t LayerPoint(duk_context* ctx, Frame& frame) {
    const auto& layer = frame.eval.Get<Layer>(Ref::Layer, ctx, 0);
    if (!duk_is_array(ctx, 1)) {
        throw ScriptError{"a layer space conversion needs a point of 2 or 3 numbers",
                          DUK_ERR_TYPE_ERROR};
    }
    const auto length = static_cast<std::size_t>(duk_get_length(ctx, 1));
    if (length < 2 || length > 3) {
        throw ScriptError{"a layer space conversion needs a point of 2 or 3 numbers",
                          DUK_ERR_TYPE_ERROR};
    }
    Vec3 point{0, 0, 0};
    for (std::size_t i = 0; i < length; ++i) {
        duk_get_prop_index(ctx, 1, static_cast<duk_uarridx_t>(i));
        point[i] = duk_to_number(ctx, -1);
        duk_pop(ctx);
        if (!std::isfinite(point[i])) {
            throw ScriptError{"a layer space conversion needs finite numbers", DUK_ERR_TYPE_ERROR};
        }
    }
    const double time = duk_get_number_default(ctx, 2, frame.time);
    const bool into_layer = duk_to_boolean(ctx, 3) != 0;
    const PropertyReader read = [&frame](const StreamNode& node, double t) {
        return ReadProperty(frame, node, t);
    };
    Matrix4 m = LayerToComp(layer, time, read);
    if (into_layer && !m.Invert(&m)) {
        throw ScriptError{"layer '" + ToUtf8(layer.name()) +
                          "' has a scale of 0, so no point of the composition is in it"};
    }
    const Vec3 out = m.Apply(point);
    const std::size_t dims = layer.is_3d() ? 3 : length;
    duk_push_array(ctx);
    for (std::size_t i = 0; i < dims; ++i) {
        duk_push_number(ctx, out[i]);
        duk_put_prop_index(ctx, -2, static_cast<duk_uarridx_t>(i));
    }
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
    {"layerPoint", Native<LayerPoint>, 4},
};
// ---- The engine -----------------------------------------------------------------

// The prelude compiled once per process. Empty if it does not compile, in which
// case every engine compiles it and reports the error.
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

void PushInfo(duk_context* ctx, Frame& frame) {
    const Layer* layer = frame.node.layer();
    const int self = frame.eval.Handle(Ref::Node, &frame.node);
    const int layer_h = frame.eval.Handle(Ref::Layer, layer);
    const int comp_h = frame.eval.Handle(Ref::Comp, layer ? &layer->comp() : nullptr);
    frame.eval.scratch = frame.node.ValueAt(frame.time);
    duk_push_object(ctx);
    PutNumber(ctx, "time", frame.time);
    PutNumber(ctx, "self", self);
    PutNumber(ctx, "layer", layer_h);
    PutNumber(ctx, "comp", comp_h);
    duk_push_string(ctx, ValueKindName(frame.node.kind()));
    duk_put_prop_string(ctx, -2, "kind");
    PushValue(ctx, frame.eval.project, frame.eval.scratch);
    duk_put_prop_string(ctx, -2, "value");
}

// Runs the prelude in a new heap: the natives, the step hook and the engine's
// global object go in; enter, leave and finish come out and are kept in the stash.
duk_ret_t SetUp(duk_context* ctx, void* udata) {
    auto& engine = *static_cast<ExpressionEngine::Impl*>(udata);
    const std::vector<char>& code = PreludeBytecode();
    if (code.empty()) {
        duk_compile_lstring(ctx, DUK_COMPILE_FUNCTION, kPreludeSource, std::strlen(kPreludeSource));
    } else {
        std::memcpy(duk_push_fixed_buffer(ctx, code.size()), code.data(), code.size());
        duk_load_function(ctx);
    }
    duk_push_object(ctx);
    for (const NativeRow& row : kNatives) {
        duk_push_c_function(ctx, row.function, row.nargs);
        duk_put_prop_string(ctx, -2, row.name);
    }
    duk_push_global_object(ctx);
    duk_del_prop_string(ctx, -1, "Duktape");
    duk_push_c_function(ctx, Native<Step>, 0);
    engine.step = duk_get_heapptr(ctx, -1);
    duk_push_heap_stash(ctx);
    duk_dup(ctx, -2);
    duk_put_prop_string(ctx, -2, "step");
    duk_pop(ctx);
    duk_call(ctx, 3);
    duk_push_heap_stash(ctx);
    duk_dup(ctx, -2);
    duk_put_prop_string(ctx, -2, "api");
    duk_pop(ctx);
    for (auto [name, slot] : {std::pair<const char*, void**>{"enter", &engine.enter},
                              {"leave", &engine.leave},
                              {"finish", &engine.finish}}) {
        duk_get_prop_string(ctx, -1, name);
        *slot = duk_get_heapptr(ctx, -1);
        duk_pop(ctx);
    }
    return 0;
}

// Inside the engine's protection: enters the evaluation with its own global object,
// runs the compiled expression and reads its result. C++ failures become script
// errors after their objects are gone.
duk_ret_t RunFrame(duk_context* ctx, void* udata) {
    Frame& frame = *static_cast<Frame*>(udata);
    auto& engine = frame.engine;
    bool failed = false;
    try {
        duk_push_heapptr(ctx, engine.enter);
        PushInfo(ctx, frame);
        duk_call(ctx, 1);
        frame.entered = true;
        // The step hook, which the expression can neither replace nor remove.
        duk_push_string(ctx, kStepHookName);
        duk_push_heapptr(ctx, engine.step);
        duk_def_prop(ctx, -3,
                     DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_CLEAR_WRITABLE |
                         DUK_DEFPROP_CLEAR_ENUMERABLE | DUK_DEFPROP_CLEAR_CONFIGURABLE);
        duk_set_global_object(ctx);
        const auto& compiled = engine.compiled.at(frame.node.expression);
        std::memcpy(duk_push_fixed_buffer(ctx, compiled.code.size()), compiled.code.data(),
                    compiled.code.size());
        duk_load_function(ctx);
        duk_push_global_object(ctx);
        duk_call_method(ctx, 0);
        duk_push_heapptr(ctx, engine.finish);
        duk_insert(ctx, -2);
        duk_call(ctx, 1);
        ReadResult(ctx, frame);
    } catch (const std::exception& e) {
        frame.eval.pending_error = e.what();
        failed = true;
    } catch (const ScriptError& e) {
        frame.eval.pending_error = e.message;
        failed = true;
    }
    if (failed) duk_error(ctx, DUK_ERR_ERROR, "%s", frame.eval.pending_error.c_str());
    return 0;
}

}  // namespace

bool ExpressionEngine::Impl::Start() {
    if (ctx) return true;
    ctx = duk_create_heap(HeapAlloc, HeapRealloc, HeapFree, this, Fatal);
    if (!ctx) return false;
    if (duk_safe_call(ctx, SetUp, this, 0, 1) != DUK_EXEC_SUCCESS) {
        std::fprintf(stderr, "expression engine: the prelude failed: %s\n",
                     duk_safe_to_string(ctx, -1));
        Stop();
        return false;
    }
    duk_set_top(ctx, 0);
    return true;
}

const ExpressionEngine::Impl::Compiled& ExpressionEngine::Impl::Compile(
    Evaluation& eval, const std::string& expression) {
    auto found = compiled.find(expression);
    if (found != compiled.end()) return found->second;
    // Expressions repeat (every connection layer carries the same ones); the cache
    // is only emptied when it grows large.
    if (compiled.size() >= 4096) compiled.clear();
    Compiled out;
    std::string source, why;
    if (!InstrumentSource(ToUtf8(expression), &source, &why)) {
        out.error = "SyntaxError: " + why;
    } else if (duk_pcompile_lstring(ctx, DUK_COMPILE_EVAL, source.data(), source.size()) != 0) {
        duk_size_t length = 0;
        const char* text = duk_safe_to_lstring(ctx, -1, &length);
        out.error = text ? FromEngine(std::string_view(text, length)) : "SyntaxError";
        duk_pop(ctx);
    } else {
        duk_dump_function(ctx);
        duk_size_t size = 0;
        const auto* bytes = static_cast<const char*>(duk_get_buffer(ctx, -1, &size));
        out.code.assign(bytes, bytes + size);
        out.ok = true;
        duk_pop(ctx);
    }
    // A failure caused by the evaluation's budget is not the text's: not kept.
    if (!out.ok && eval.Ended()) {
        unkept = std::move(out);
        return unkept;
    }
    return compiled.emplace(expression, std::move(out)).first->second;
}

EvalResult ExpressionEngine::Impl::Nested(Evaluation& eval, const StreamNode& node, double time) {
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
    if (eval.Ended() || eval.PastDeadline()) return fail(eval.Message());
    if (eval.stack.size() >= limits.nesting) {
        eval.End(Evaluation::Stop::Nesting, "expressions read each other more than " +
                                                std::to_string(limits.nesting) + " deep");
        return fail(eval.Message());
    }
    const Compiled& code = Compile(eval, node.expression);
    if (eval.Ended()) return fail(eval.Message());
    if (!code.ok) return fail(code.error);

    eval.stack.push_back(&node);
    Frame here{*this, eval, node, time, {}};
    Frame* outer = frame;
    frame = &here;
    const duk_idx_t base = duk_get_top(ctx);
    duk_push_global_object(ctx);  // the global object to return to
    const duk_int_t rc = duk_safe_call(ctx, RunFrame, &here, 0, 1);
    std::string message;
    // Cleaning up is the host's work, outside the evaluation's budget.
    ++unbounded;
    if (rc != DUK_EXEC_SUCCESS) {
        duk_size_t length = 0;
        const char* text = duk_safe_to_lstring(ctx, -1, &length);
        message = text ? FromEngine(std::string_view(text, length)) : "Error";
    }
    duk_dup(ctx, base);
    duk_set_global_object(ctx);
    if (here.entered) {
        duk_push_heapptr(ctx, leave);
        duk_pcall(ctx, 0);
    }
    duk_set_top(ctx, base);
    --unbounded;
    frame = outer;
    eval.stack.pop_back();

    // These end the evaluation even when the expression caught the error.
    if (eval.Ended()) return fail(eval.Message());
    if (rc != DUK_EXEC_SUCCESS) return fail(message);
    out.value = std::move(here.result);
    return out;
}

EvalResult ExpressionEngine::Impl::Top(const Project& project, const StreamNode& node,
                                       double time) {
    if (node.expression.empty()) return EvalResult{true, node.ValueAt(time), {}};
    EvalResult refused{false, node.ValueAt(time), {}};
    if (used >= limits.session_seconds) {
        refused.error = "RangeError: the expressions of this session used up their " +
                        Seconds(limits.session_seconds) + " seconds";
        return refused;
    }
    if (!Start()) {
        refused.error = "Error: the expression engine could not start";
        return refused;
    }
    const Clock::time_point start = Clock::now();
    const double seconds = std::min(limits.seconds, limits.session_seconds - used);
    Evaluation eval(
        project, limits,
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)),
        allocated);
    active = &eval;
    EvalResult out = Nested(eval, node, time);
    active = nullptr;
    used += std::chrono::duration<double>(Clock::now() - start).count();
    if (eval.stop == Evaluation::Stop::Time) {
        out.error = "RangeError: the expression ran longer than " + Seconds(seconds) + " seconds";
    }
    // The engine is left as it was found; if not, it is made anew.
    if (duk_get_top(ctx) != 0) Stop();
    return out;
}

ExpressionEngine::ExpressionEngine(ExpressionLimits limits)
    : impl_(std::make_unique<Impl>(limits)) {}

ExpressionEngine::~ExpressionEngine() = default;

const ExpressionLimits& ExpressionEngine::limits() const {
    return impl_->limits;
}

double ExpressionEngine::seconds_used() const {
    return impl_->used;
}

EvalResult ExpressionEngine::Evaluate(const Project& project, const StreamNode& node, double time) {
    // Evaluating from inside an evaluation (a value read by the host while the
    // engine runs) would share its budget and global object: it gets its own engine.
    if (impl_->active) return ExpressionEngine(impl_->limits).Evaluate(project, node, time);
    return impl_->Top(project, node, time);
}

StreamValue ExpressionEngine::ValueAfterExpressions(const Project& project, StreamNode& node,
                                                    double time) {
    if (!node.expression_enabled || node.expression.empty()) {
        node.expression_error.clear();
        return node.ValueAt(time);
    }
    EvalResult result = Evaluate(project, node, time);
    if (result.ok) {
        node.expression_error.clear();
        return result.value;
    }
    node.expression_error = result.error;
    return node.ValueAt(time);
}

namespace {
ExpressionEngine& ThreadEngine() {
    thread_local ExpressionEngine engine;
    return engine;
}
}  // namespace

EvalResult EvaluateExpression(const Project& project, const StreamNode& node, double time) {
    return ThreadEngine().Evaluate(project, node, time);
}

StreamValue ValueAfterExpressions(const Project& project, StreamNode& node, double time) {
    return ThreadEngine().ValueAfterExpressions(project, node, time);
}

void InstallExpressionEngine(Host& host, ExpressionLimits limits) {
    auto engine = std::make_shared<ExpressionEngine>(limits);
    host.set_evaluator([engine](Project& project, StreamNode& node, double time) {
        return engine->ValueAfterExpressions(project, node, time);
    });
}

}  // namespace tlhost
