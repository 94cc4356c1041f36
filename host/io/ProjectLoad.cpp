// Reading a project file. The whole file is checked while a fresh project is
// built; the caller's project receives it only when nothing was wrong. Every
// fault is reported with the JSON pointer of the place it was found.
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <istream>
#include <map>
#include <memory_resource>
#include <optional>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "io/FileFormat.h"
#include "io/ProjectFile.h"
#include "model/LayerControl.h"

namespace tlhost {

namespace {

// The parser's JSON lives in a pool of its own while a file is read. Each layer's
// JSON is made and let go in turn; in the C heap those short-lived blocks would lie
// between the blocks of the project being built, which would then be spread over
// several times the memory (and cache lines) it needs, and every later walk over
// it would pay for that. The pool is the reading thread's for the length of one
// load, and JSON of this type exists only within a load.
class ParsePool {
  public:
    ParsePool() : previous_(current_) { current_ = &pool_; }
    ~ParsePool() { current_ = previous_; }
    ParsePool(const ParsePool&) = delete;
    ParsePool& operator=(const ParsePool&) = delete;

    static std::pmr::memory_resource& Current() {
        return current_ ? *current_ : *std::pmr::new_delete_resource();
    }

  private:
    static thread_local std::pmr::memory_resource* current_;
    std::pmr::unsynchronized_pool_resource pool_;
    std::pmr::memory_resource* previous_;
};
thread_local std::pmr::memory_resource* ParsePool::current_ = nullptr;

template <class T>
struct ParseAllocator {
    using value_type = T;
    ParseAllocator() = default;
    template <class U>
    ParseAllocator(const ParseAllocator<U>&) {}
    T* allocate(std::size_t n) {
        return static_cast<T*>(ParsePool::Current().allocate(n * sizeof(T), alignof(T)));
    }
    void deallocate(T* p, std::size_t n) {
        ParsePool::Current().deallocate(p, n * sizeof(T), alignof(T));
    }
    template <class U>
    bool operator==(const ParseAllocator<U>&) const {
        return true;
    }
    template <class U>
    bool operator!=(const ParseAllocator<U>&) const {
        return false;
    }
};
using ParseString = std::basic_string<char, std::char_traits<char>, ParseAllocator<char>>;
using Json = nlohmann::basic_json<std::map, std::vector, ParseString, bool, std::int64_t,
                                  std::uint64_t, double, ParseAllocator>;
using io::Seconds;

constexpr const char* kEffectParade = "ADBE Effect Parade";
// Deeper trees than this are refused, so that no input can exhaust the stack.
constexpr int kMaxTreeDepth = 64;
constexpr std::int64_t kMaxId = std::numeric_limits<A_long>::max();
// Arbitrary data a project file may hold for one parameter.
constexpr std::size_t kMaxArbBytes = std::size_t{1} << 20;

// Keys each kind of object may hold.
using Keys = std::initializer_list<const char*>;
// clang-format off
const Keys kDocumentKeys = {"items", "undo_groups"};
const Keys kItemKeys = {"name", "type", "id"};
const Keys kCompositionKeys = {"name", "type", "id", "width", "height", "frame_rate",
                               "frame_duration", "pixel_aspect", "duration", "work_area",
                               "selection", "layers"};
const Keys kHostTimeKeys = {"value", "scale"};
const Keys kWorkAreaKeys = {"start", "duration"};
const Keys kSelectionKeys = {"layer", "path"};
const Keys kLayerKeys = {"id",    "name",   "type",      "in_point",
                         "duration", "flags", "source", "properties"};
const Keys kGroupKeys = {"match_name", "name", "group", "hidden", "eyeball", "can_vary", "children"};
const Keys kLeafKeys = {"match_name", "name", "kind", "hidden", "eyeball", "can_vary", "value",
                        "evaluated", "expression", "expression_enabled", "expression_error",
                        "keyframes"};
const Keys kKeyframeKeys = {"time", "value"};
const Keys kLayerValueKeys = {"layer"};
const Keys kPathKeys = {"closed", "vertices"};
const Keys kUndoGroupKeys = {"name", "closed", "changes"};
// clang-format on

// A fault found while reading; caught at the top and turned into a LoadError.
struct Fault {
    std::string where;
    std::string what;
};

// A key as a JSON pointer step.
std::string Step(const std::string& key) {
    std::string out = "/";
    for (char c : key) {
        if (c == '~') {
            out += "~0";
        } else if (c == '/') {
            out += "~1";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Step(std::size_t index) {
    return "/" + std::to_string(index);
}

// A place in the file, written out as a JSON pointer only when a fault is reported
// there: reading a file without faults builds no texts for the places it reads. A
// place refers to the place it lies in, which must outlive it, so places live on the
// stack, each within the call that reads what it names (keys are literals).
class At {
  public:
    At(std::string pointer) : pointer_(std::move(pointer)) {}
    At(const char* pointer) : pointer_(pointer) {}
    At(const At& in, const char* key) : in_(&in), key_(key) {}
    At(const At& in, std::size_t index) : in_(&in), index_(index) {}
    At(const At&) = delete;
    At& operator=(const At&) = delete;

    std::string str() const {
        if (!in_) return pointer_;
        return in_->str() + (key_ ? Step(key_) : Step(index_));
    }

  private:
    const At* in_ = nullptr;
    std::string pointer_;
    const char* key_ = nullptr;
    std::size_t index_ = 0;
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

class Reader {
  public:
    Reader(Project& project, const EffectResolver& resolver)
        : project_(project), resolver_(resolver) {}

    // Called by the parser for every event. A layer's property tree is built as soon as
    // its JSON has been parsed, while that JSON is still in the cache, and the JSON is
    // dropped at once: a large file is never held as a whole document, and building a
    // tree costs the same per layer in a project of ten layers or ten thousand. A fault
    // found there is kept and raised when the layer is read in order, so that the first
    // fault of the file is still the one reported.
    bool OnParse(int /*depth*/, Json::parse_event_t event, Json& parsed) {
        using Event = Json::parse_event_t;
        switch (event) {
            case Event::object_start:
            case Event::array_start:
                CountElement();
                // Only the levels down to a layer's properties are followed.
                if (open_ < kFollowed) {
                    frames_[open_] = Frame{event == Event::object_start, {}, 0};
                }
                ++open_;
                return true;
            case Event::key:
                if (open_ <= kFollowed && frames_[open_ - 1].object) {
                    const auto& key = parsed.get_ref<const Json::string_t&>();
                    frames_[open_ - 1].key.assign(key.data(), key.size());
                    ForgetReplaced();
                }
                return true;
            case Event::value:
                CountElement();
                return true;
            case Event::array_end:
                --open_;
                return true;
            case Event::object_end: {
                const bool properties = open_ == kFollowed && AtProperties();
                --open_;
                if (!properties) return true;
                BuildProperties(parsed, frames_[1].count - 1, frames_[3].count - 1);
                return false;  // the tree is built: its JSON is let go
            }
        }
        return true;
    }

    // Reads the document; each layer's JSON is let go once the layer is built, so
    // that a large file is never held whole twice (as JSON and as a project).
    void ReadDocument(Json& doc) {
        ExpectObject(doc, "");
        CheckKeys(doc, "", kDocumentKeys);
        Require(doc, "", "items");
        Json& items = doc["items"];
        ExpectArray(items, "/items");
        for (std::size_t i = 0; i < items.size(); ++i) ReadItem(items[i], i);
        for (const auto& [where, id] : layer_refs_) {
            if (!project_.FindLayer(id)) {
                Fail(where, "refers to layer id " + std::to_string(id) +
                                ", which no layer of the project has");
            }
        }
        SetUpSources();
        if (const Json* undo = Optional(doc, "undo_groups")) ReadUndoGroups(*undo, "/undo_groups");
        // Effects last: everything the file itself can get wrong has been checked
        // before any effect is handed to the resolver.
        for (const auto& [layer, where] : layers_) SetUpEffects(*layer, where);
    }

  private:
    [[noreturn]] static void Fail(const At& where, const std::string& what) {
        throw Fault{where.str(), what};
    }

    // ---- Property trees built while parsing.

    struct BuiltTree {
        std::unique_ptr<StreamNode> root;
        std::optional<Fault> fault;
    };
    // An open object or array on the way down to a layer's properties: the key being
    // read (objects) and the number of elements begun (arrays).
    struct Frame {
        bool object = false;
        std::string key;
        std::size_t count = 0;
    };
    // Document, items, item, layers, layer, properties.
    static constexpr int kFollowed = 6;

    void CountElement() {
        if (open_ > 0 && open_ <= kFollowed && !frames_[open_ - 1].object)
            ++frames_[open_ - 1].count;
    }

    // The object just closed is the value of "properties" in a layer of an item's "layers"
    // in the document's "items".
    bool AtProperties() const {
        return frames_[0].object && frames_[0].key == "items" && AtLayer() && frames_[4].object &&
               frames_[4].key == "properties" && frames_[5].object;
    }

    // A key that appears again replaces its earlier value, and with it the trees built
    // from that value.
    void ForgetReplaced() {
        if (!frames_[0].object || frames_[0].key != "items") return;
        if (open_ == 1) {
            built_.clear();
        } else if (open_ == 3 && !frames_[1].object && frames_[2].key == "layers") {
            if (frames_[1].count - 1 < built_.size()) built_[frames_[1].count - 1].clear();
        } else if (open_ == 5 && AtLayer() && frames_[4].key == "properties") {
            TakeBuilt(frames_[1].count - 1, frames_[3].count - 1);
        }
    }
    bool AtLayer() const {
        return !frames_[1].object && frames_[2].object && frames_[2].key == "layers" &&
               !frames_[3].object;
    }

    void BuildProperties(const Json& json, std::size_t item, std::size_t layer) {
        BuiltTree tree;
        try {
            const At where("/items" + Step(item) + "/layers" + Step(layer) + "/properties");
            tree.root = ReadNode(json, where, 0);
        } catch (const Fault& fault) {
            tree.fault = fault;
        }
        if (built_.size() <= item) built_.resize(item + 1);
        if (built_[item].size() <= layer) built_[item].resize(layer + 1);
        built_[item][layer] = std::move(tree);
    }

    BuiltTree TakeBuilt(std::size_t item, std::size_t layer) {
        if (item >= built_.size() || layer >= built_[item].size()) return {};
        return std::move(built_[item][layer]);
    }

    // ---- Shapes of JSON values.

    static void ExpectObject(const Json& value, const At& where) {
        if (!value.is_object()) Fail(where, "must be an object");
    }
    static void ExpectArray(const Json& value, const At& where) {
        if (!value.is_array()) Fail(where, "must be an array");
    }
    static void CheckKeys(const Json& object, const At& where, Keys allowed) {
        for (const auto& [key, value] : object.items()) {
            bool known = false;
            for (const char* name : allowed) known = known || key == name;
            if (!known) {
                const std::string text(key.data(), key.size());
                Fail(At(where, text.c_str()), "unknown key " + Quoted(text));
            }
        }
    }
    static const Json& Require(const Json& object, const At& where, const char* key) {
        auto it = object.find(key);
        if (it == object.end()) Fail(where, std::string("missing ") + Quoted(key));
        return *it;
    }
    static const Json* Optional(const Json& object, const char* key) {
        auto it = object.find(key);
        return it == object.end() ? nullptr : &*it;
    }
    // Every text the host hands out is a C string: a NUL inside one would end it early, and
    // a name read that way would name something else.
    static std::string String(const Json& value, const At& where) {
        if (!value.is_string()) Fail(where, "must be a string");
        const auto& raw = value.get_ref<const Json::string_t&>();
        std::string text(raw.data(), raw.size());
        const std::size_t nul = text.find('\0');
        if (nul != std::string::npos) {
            Fail(where,
                 "must not hold a NUL character (one is at byte " + std::to_string(nul) + ")");
        }
        return text;
    }
    static bool Bool(const Json& value, const At& where) {
        if (!value.is_boolean()) Fail(where, "must be true or false");
        return value.get<bool>();
    }
    static double Number(const Json& value, const At& where) {
        if (!value.is_number()) Fail(where, "must be a number");
        const double x = value.get<double>();
        if (!std::isfinite(x)) Fail(where, "must be a finite number");
        return x;
    }
    static std::int64_t Integer(const Json& value, const At& where, std::int64_t low,
                                std::int64_t high) {
        if (!value.is_number_integer()) Fail(where, "must be an integer");
        if (value.is_number_unsigned() &&
            value.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) {
            Fail(where, "must be at most " + std::to_string(high));
        }
        const std::int64_t x = value.get<std::int64_t>();
        if (x < low) Fail(where, "must be at least " + std::to_string(low));
        if (x > high) Fail(where, "must be at most " + std::to_string(high));
        return x;
    }
    static A_Time Time(const Json& value, const At& where, bool non_negative) {
        const double seconds = Number(value, where);
        if (non_negative && seconds < 0) Fail(where, "must not be negative");
        std::optional<A_Time> time = io::TimeFromSeconds(seconds);
        if (!time) Fail(where, "is out of the host's time range");
        return *time;
    }

    // A time as the host keeps it: {"value": v, "scale": s}, s from 1.
    static A_Time HostTime(const Json& value, const At& where) {
        ExpectObject(value, where);
        CheckKeys(value, where, kHostTimeKeys);
        A_Time time;
        time.value = static_cast<A_long>(Integer(Require(value, where, "value"), At(where, "value"),
                                                 std::numeric_limits<A_long>::min(), kMaxId));
        time.scale =
            static_cast<A_u_long>(Integer(Require(value, where, "scale"), At(where, "scale"), 1,
                                          std::numeric_limits<A_u_long>::max()));
        return time;
    }

    // ---- Items.

    void ReadItem(Json& item, std::size_t index) {
        const std::string where = "/items" + Step(index);
        ExpectObject(item, where);
        const std::string type = String(Require(item, where, "type"), At(where, "type"));
        std::optional<ItemKind> kind = io::ItemTypeFromName(type);
        if (!kind) {
            Fail(where + "/type",
                 "unknown item type " + Quoted(type) + " (composition, folder or footage)");
        }
        CheckKeys(item, where, *kind == ItemKind::Composition ? kCompositionKeys : kItemKeys);
        const std::string name = String(Require(item, where, "name"), where + "/name");
        const auto id =
            static_cast<A_long>(Integer(Require(item, where, "id"), where + "/id", 1, kMaxId));
        auto [seen, fresh] = item_ids_.emplace(id, where);
        if (!fresh)
            Fail(where + "/id",
                 "item id " + std::to_string(id) + " is already used by " + seen->second);
        if (*kind != ItemKind::Composition) {
            project_.AddItem(*kind, name, id);
            return;
        }
        ReadComposition(item, index, where, project_.AddComposition(name, id));
    }

    void ReadComposition(Json& item, std::size_t item_index, const std::string& where,
                         Composition& comp) {
        if (const Json* v = Optional(item, "width"))
            comp.width = static_cast<A_long>(Integer(*v, where + "/width", 1, 30000));
        if (const Json* v = Optional(item, "height"))
            comp.height = static_cast<A_long>(Integer(*v, where + "/height", 1, 30000));
        if (const Json* v = Optional(item, "frame_rate")) {
            comp.frame_rate = Number(*v, where + "/frame_rate");
            if (comp.frame_rate <= 0) Fail(where + "/frame_rate", "must be greater than 0");
        }
        // The frame duration the host answers: as the file gives it, else the one the host
        // gives a composition of that rate.
        comp.frame_duration = FrameDurationForRate(comp.frame_rate);
        if (const Json* v = Optional(item, "frame_duration")) {
            comp.frame_duration = HostTime(*v, where + "/frame_duration");
            if (comp.frame_duration.value <= 0)
                Fail(where + "/frame_duration/value", "must be greater than 0");
            if (!Optional(item, "frame_rate")) comp.frame_rate = 1.0 / Seconds(comp.frame_duration);
        }
        if (const Json* v = Optional(item, "pixel_aspect")) {
            const std::string at = where + "/pixel_aspect";
            if (!v->is_array() || v->size() != 2) Fail(at, "must be [numerator, denominator]");
            comp.pixel_aspect.num = static_cast<A_long>(Integer((*v)[0], at + "/0", 1, kMaxId));
            comp.pixel_aspect.den = static_cast<A_u_long>(Integer((*v)[1], at + "/1", 1, kMaxId));
        }
        if (const Json* v = Optional(item, "duration"))
            comp.duration = Time(*v, where + "/duration", true);
        comp.work_area_start = A_Time{0, 1};
        comp.work_area_duration = comp.duration;
        if (const Json* v = Optional(item, "work_area")) {
            const std::string at = where + "/work_area";
            ExpectObject(*v, at);
            CheckKeys(*v, at, kWorkAreaKeys);
            comp.work_area_start = Time(Require(*v, at, "start"), at + "/start", true);
            comp.work_area_duration = Time(Require(*v, at, "duration"), at + "/duration", true);
            if (Seconds(comp.work_area_start) + Seconds(comp.work_area_duration) >
                Seconds(comp.duration)) {
                Fail(at, "ends after the composition");
            }
        }
        if (Optional(item, "layers")) {
            Json& layers = item["layers"];
            ExpectArray(layers, where + "/layers");
            for (std::size_t i = 0; i < layers.size(); ++i) {
                ReadLayer(layers[i], where + "/layers" + Step(i), comp, TakeBuilt(item_index, i));
                layers[i] = Json();
            }
        }
        if (const Json* selection = Optional(item, "selection"))
            ReadSelection(*selection, where + "/selection", comp);
    }

    void ReadSelection(const Json& selection, const std::string& where, Composition& comp) {
        ExpectArray(selection, where);
        for (std::size_t i = 0; i < selection.size(); ++i) {
            const std::string at = where + Step(i);
            const Json& entry = selection[i];
            ExpectObject(entry, at);
            CheckKeys(entry, at, kSelectionKeys);
            SelectedStream selected;
            selected.layer_id = static_cast<AEGP_LayerIDVal>(
                Integer(Require(entry, at, "layer"), at + "/layer", 1, kMaxId));
            Layer* layer = project_.FindLayer(selected.layer_id);
            if (!layer || &layer->comp() != &comp) {
                Fail(at + "/layer",
                     "no layer of this composition has id " + std::to_string(selected.layer_id));
            }
            const StreamNode* node = &layer->root();
            if (const Json* path = Optional(entry, "path")) {
                ExpectArray(*path, at + "/path");
                for (std::size_t k = 0; k < path->size(); ++k) {
                    const auto index = static_cast<std::size_t>(
                        Integer((*path)[k], at + "/path" + Step(k), 0, kMaxId));
                    if (index >= node->children().size()) {
                        Fail(at + "/path" + Step(k),
                             "the property has no child " + std::to_string(index));
                    }
                    node = node->children()[index].get();
                    selected.path.push_back(index);
                }
            }
            comp.selection.push_back(std::move(selected));
        }
    }

    // ---- Layers.

    // `built` is the layer's property tree as built while parsing, if it was.
    void ReadLayer(const Json& json, const std::string& where, Composition& comp, BuiltTree built) {
        ExpectObject(json, where);
        CheckKeys(json, where, kLayerKeys);
        const auto id = static_cast<AEGP_LayerIDVal>(
            Integer(Require(json, where, "id"), where + "/id", 1, kMaxId));
        const std::string name = String(Require(json, where, "name"), where + "/name");
        const std::string type = String(Require(json, where, "type"), where + "/type");
        std::optional<LayerKind> kind = io::LayerTypeFromName(type);
        if (!kind) {
            Fail(where + "/type",
                 "unknown layer type " + Quoted(type) +
                     " (shape, null, solid, precomp, footage, text, camera, light)");
        }
        auto [seen, fresh] = layer_ids_.emplace(id, where);
        if (!fresh)
            Fail(where + "/id",
                 "layer id " + std::to_string(id) + " is already used by " + seen->second);

        // Layers are listed top first; each new one goes to the bottom.
        Layer& layer = project_.AddLayer(comp, name, *kind, id, comp.layers().size());
        if (const Json* v = Optional(json, "in_point"))
            layer.in_point = Time(*v, where + "/in_point", false);
        if (const Json* v = Optional(json, "duration"))
            layer.duration = Time(*v, where + "/duration", true);
        if (const Json* v = Optional(json, "flags"))
            layer.set_flags(ReadFlags(*v, where + "/flags"));
        if (const Json* v = Optional(json, "source")) {
            sources_.push_back(
                Source{&layer, static_cast<A_long>(Integer(*v, where + "/source", 1, kMaxId)),
                       where + "/source"});
        }
        const Json* properties = Optional(json, "properties");
        if (built.fault) throw *built.fault;
        if (built.root || properties) {
            std::unique_ptr<StreamNode> root =
                built.root ? std::move(built.root)
                           : ReadNode(*properties, where + "/properties", 0);
            if (!root->is_group())
                Fail(where + "/properties", "a layer's root property must be a group");
            layer.set_root(std::move(root));
        } else if (layer.is_3d()) {
            // The host's tree for a 3D layer: with its orientation and three rotations.
            project_.SetLayer3D(layer, true);
        }
        CheckEffectGroups(layer, where);
        layers_.emplace_back(&layer, where);
    }

    // A layer's source, once every item is known: a composition for a precomposition layer,
    // footage for a footage layer, and never a composition that would show itself.
    struct Source {
        Layer* layer;
        A_long item_id;
        std::string where;
    };
    void SetUpSources() {
        for (const Source& source : sources_) {
            Item* item = project_.FindItem(source.item_id);
            if (!item) {
                Fail(source.where, "refers to item id " + std::to_string(source.item_id) +
                                       ", which no item of the project has");
            }
            const LayerKind kind = source.layer->kind();
            const bool fits =
                (item->kind() == ItemKind::Composition && kind == LayerKind::Precomp) ||
                (item->kind() == ItemKind::Footage && kind == LayerKind::Footage);
            if (!fits) {
                Fail(source.where, std::string("a ") + io::LayerTypeName(kind) +
                                       " layer cannot show the " + io::ItemTypeName(item->kind()) +
                                       " " + Quoted(item->name()));
            }
            source.layer->set_source(item);
        }
        for (const Source& source : sources_) {
            const Item& item = *source.layer->source();
            if (!project_.CanAddLayer(item, source.layer->comp())) {
                Fail(source.where, "the composition " + Quoted(item.name()) + " would show itself");
            }
        }
    }

    static AEGP_LayerFlags ReadFlags(const Json& json, const std::string& where) {
        ExpectArray(json, where);
        AEGP_LayerFlags flags = 0;
        for (std::size_t i = 0; i < json.size(); ++i) {
            const std::string at = where + Step(i);
            const std::string name = String(json[i], at);
            std::optional<AEGP_LayerFlags> flag = io::LayerFlagFromName(name);
            if (!flag) Fail(at, "unknown layer flag " + Quoted(name));
            if (flags & *flag) Fail(at, "layer flag " + Quoted(name) + " is listed twice");
            flags |= *flag;
        }
        return flags;
    }

    // ---- Property trees.

    std::unique_ptr<StreamNode> ReadNode(const Json& json, const At& where, int depth) {
        ExpectObject(json, where);
        if (depth > kMaxTreeDepth) {
            Fail(where,
                 "property tree nested deeper than " + std::to_string(kMaxTreeDepth) + " levels");
        }
        const Json* group = Optional(json, "group");
        const Json* kind = Optional(json, "kind");
        if (group && kind)
            Fail(where, "a property is either a group (\"group\") or a leaf (\"kind\"), not both");
        if (!group && !kind) Fail(where, "missing \"group\" or \"kind\"");
        CheckKeys(json, where, group ? kGroupKeys : kLeafKeys);
        const std::string match_name =
            String(Require(json, where, "match_name"), At(where, "match_name"));
        if (match_name.empty()) Fail(At(where, "match_name"), "must not be empty");
        // The host hands match names out in buffers of this size, terminator included.
        if (match_name.size() >= AEGP_MAX_STREAM_MATCH_NAME_SIZE) {
            Fail(At(where, "match_name"), "is " + std::to_string(match_name.size()) +
                                              " bytes long; a match name has at most " +
                                              std::to_string(AEGP_MAX_STREAM_MATCH_NAME_SIZE - 1));
        }
        const std::string name = String(Require(json, where, "name"), At(where, "name"));

        std::unique_ptr<StreamNode> node;
        if (group) {
            const std::string text = String(*group, At(where, "group"));
            std::optional<Grouping> grouping = io::GroupingFromName(text);
            if (!grouping)
                Fail(At(where, "group"),
                     "unknown grouping " + Quoted(text) + " (named or indexed)");
            node = std::make_unique<StreamNode>(match_name, name, *grouping);
            if (const Json* children = Optional(json, "children")) {
                ExpectArray(*children, At(where, "children"));
                const At in_children(where, "children");
                node->ReserveChildren(children->size());
                for (std::size_t i = 0; i < children->size(); ++i)
                    node->AddChild(ReadNode((*children)[i], At(in_children, i), depth + 1));
            }
        } else {
            const std::string text = String(*kind, At(where, "kind"));
            std::optional<ValueKind> value_kind = io::ValueKindFromName(text);
            if (!value_kind) {
                Fail(At(where, "kind"),
                     "unknown kind " + Quoted(text) +
                         " (one_d, two_d, three_d, color, layer, path, arb, no_data)");
            }
            node = std::make_unique<StreamNode>(match_name, name, Grouping::Leaf, *value_kind);
            ReadLeaf(json, where, *node);
        }
        if (const Json* v = Optional(json, "hidden")) {
            node->set_hidden(Bool(*v, At(where, "hidden")));
            explicit_hidden_[node.get()] = node->hidden();
        }
        if (const Json* v = Optional(json, "eyeball"))
            node->eyeball = Bool(*v, At(where, "eyeball"));
        if (const Json* v = Optional(json, "can_vary"))
            node->can_vary_over_time = Bool(*v, At(where, "can_vary"));
        if (!node->can_vary_over_time && !node->keyframes.empty()) {
            Fail(At(where, "keyframes"), "a property that cannot vary over time has no keyframes");
        }
        return node;
    }

    void ReadLeaf(const Json& json, const At& where, StreamNode& node) {
        const Json* value = Optional(json, "value");
        if (value) {
            node.set_value(ReadValue(*value, node.kind(), At(where, "value")));
        } else if (node.kind() != ValueKind::NoData) {
            Fail(where, "missing \"value\"");
        }
        // "evaluated" is what a written file reports; reading ignores it.
        if (const Json* v = Optional(json, "expression"))
            node.expression = String(*v, At(where, "expression"));
        node.expression_enabled = !node.expression.empty();
        if (const Json* v = Optional(json, "expression_enabled"))
            node.expression_enabled = Bool(*v, At(where, "expression_enabled"));
        if (const Json* v = Optional(json, "expression_error"))
            node.expression_error = String(*v, At(where, "expression_error"));
        if (const Json* keys = Optional(json, "keyframes")) {
            const At at(where, "keyframes");
            ExpectArray(*keys, at);
            for (std::size_t i = 0; i < keys->size(); ++i) {
                const At key_at(at, i);
                const Json& key = (*keys)[i];
                ExpectObject(key, key_at);
                CheckKeys(key, key_at, kKeyframeKeys);
                Keyframe keyframe;
                // The host's time, or seconds as earlier files wrote it.
                const Json& time = Require(key, key_at, "time");
                keyframe.time = time.is_object() ? HostTime(time, At(key_at, "time"))
                                                 : Time(time, At(key_at, "time"), false);
                if (!node.keyframes.empty() &&
                    CompareTimes(keyframe.time, node.keyframes.back().time) <= 0) {
                    Fail(At(key_at, "time"), "keyframe times must increase");
                }
                keyframe.value =
                    ReadValue(Require(key, key_at, "value"), node.kind(), At(key_at, "value"));
                node.keyframes.push_back(std::move(keyframe));
            }
        }
    }

    StreamValue ReadValue(const Json& json, ValueKind kind, const At& where) {
        StreamValue value;
        value.kind = kind;
        switch (kind) {
            case ValueKind::NoData:
                if (!json.is_null()) Fail(where, "a no_data value must be null");
                break;
            case ValueKind::OneD:
                value.v[0] = Number(json, where);
                break;
            case ValueKind::TwoD:
            case ValueKind::ThreeD:
            case ValueKind::Color: {
                const std::size_t n = value.Dimensions();
                const bool fits =
                    json.is_array() &&
                    (json.size() == n || (kind == ValueKind::Color && json.size() == 3));
                if (!fits) {
                    Fail(where, std::string("a ") + ValueKindName(kind) +
                                    " value must be an array of " +
                                    (kind == ValueKind::Color ? "[red, green, blue(, alpha)]"
                                                              : std::to_string(n) + " numbers"));
                }
                if (kind == ValueKind::Color) value.v[3] = 1;
                for (std::size_t i = 0; i < json.size(); ++i)
                    value.v[i] = Number(json[i], At(where, i));
                break;
            }
            case ValueKind::LayerId: {
                if (!json.is_object()) Fail(where, "a layer value must be {\"layer\": id}");
                CheckKeys(json, where, kLayerValueKeys);
                value.layer_id = static_cast<AEGP_LayerIDVal>(
                    Integer(Require(json, where, "layer"), At(where, "layer"), 0, kMaxId));
                if (value.layer_id != 0)
                    layer_refs_.emplace_back(At(where, "layer").str(), value.layer_id);
                break;
            }
            case ValueKind::Path: {
                if (!json.is_object())
                    Fail(where, "a path value must be {\"closed\": ..., \"vertices\": [...]}");
                CheckKeys(json, where, kPathKeys);
                if (const Json* closed = Optional(json, "closed"))
                    value.path.closed = Bool(*closed, At(where, "closed"));
                const At at(where, "vertices");
                const Json& vertices = Require(json, where, "vertices");
                ExpectArray(vertices, at);
                for (std::size_t i = 0; i < vertices.size(); ++i) {
                    const Json& v = vertices[i];
                    const At vertex_at(at, i);
                    if (!v.is_array() || v.size() != 6) {
                        Fail(vertex_at, "a vertex must be [x, y, in_x, in_y, out_x, out_y]");
                    }
                    PathVertex vertex;
                    double* fields[] = {&vertex.x,    &vertex.y,     &vertex.in_x,
                                        &vertex.in_y, &vertex.out_x, &vertex.out_y};
                    for (std::size_t k = 0; k < 6; ++k) *fields[k] = Number(v[k], At(vertex_at, k));
                    value.path.vertices.push_back(vertex);
                }
                break;
            }
            case ValueKind::Arb: {
                // Arbitrary data: its flat bytes, as the effect gave them.
                ExpectArray(json, where);
                if (json.size() > kMaxArbBytes)
                    Fail(where, "more arbitrary data than the host keeps");
                for (std::size_t i = 0; i < json.size(); ++i) {
                    value.bytes.push_back(
                        static_cast<std::uint8_t>(Integer(json[i], At(where, i), 0, 255)));
                }
                break;
            }
        }
        return value;
    }

    // The JSON pointer of a node of a layer's tree read from `layer_where`.
    static std::string NodeWhere(const std::string& layer_where, const StreamNode& node) {
        std::vector<std::size_t> indices;
        for (const StreamNode* n = &node; n->parent(); n = n->parent())
            indices.push_back(n->IndexInParent());
        std::string where = layer_where + "/properties";
        for (auto it = indices.rbegin(); it != indices.rend(); ++it)
            where += "/children" + Step(*it);
        return where;
    }

    // ---- Effects.

    // What the file alone must get right about the layer's effects.
    static void CheckEffectGroups(Layer& layer, const std::string& where) {
        const StreamNode* parade = layer.root().FindChild(kEffectParade);
        if (!parade) return;
        if (!parade->is_group())
            Fail(NodeWhere(where, *parade), Quoted(kEffectParade) + " must be a group");
        for (const auto& effect : parade->children()) {
            if (!effect->is_group()) Fail(NodeWhere(where, *effect), "an effect must be a group");
            if (effect->match_name() != kLayerControlMatchName) continue;
            const StreamNode* param = effect->FindChild(kLayerControlLayerMatchName);
            if (param && (param->is_group() || param->kind() != ValueKind::LayerId)) {
                Fail(NodeWhere(where, *param),
                     "the Layer Control's layer parameter must be a \"layer\" leaf");
            }
        }
    }

    void SetUpEffects(Layer& layer, const std::string& where) {
        StreamNode* parade = layer.root().FindChild(kEffectParade);
        if (!parade) return;
        std::vector<StreamNode*> groups;
        for (const auto& child : parade->children()) groups.push_back(child.get());
        for (StreamNode* group : groups) {
            // The values as the file gave them, before the effect's parameters take them in.
            std::unordered_map<const StreamNode*, StreamValue> stored;
            for (const auto& child : group->children()) stored[child.get()] = child->value();
            layer.effects().push_back(std::make_unique<EffectInstance>(layer, group->match_name(),
                                                                       group->name(), *group));
            EffectInstance& effect = *layer.effects().back();
            if (effect.match_name() == kLayerControlMatchName) {
                SetUpLayerControl(effect);
            } else if (!Resolve(layer, effect, NodeWhere(where, *group))) {
                // Unknown effects stay plain property nodes.
                layer.effects().pop_back();
                continue;
            }
            CheckParamStreams(effect, where, stored);
        }
    }

    bool Resolve(Layer& layer, EffectInstance& effect, const std::string& where) {
        if (!resolver_) return false;
        try {
            return resolver_(layer, effect);
        } catch (const std::exception& e) {
            Fail(where, std::string("the effect could not be set up: ") + e.what());
        } catch (...) {
            Fail(where, "the effect could not be set up");
        }
    }

    // The host's Layer Control, pointing at the layer the file gave its "Layer" stream.
    static void SetUpLayerControl(EffectInstance& effect) {
        AEGP_LayerIDVal target = 0;
        if (const StreamNode* node = effect.group().FindChild(kLayerControlLayerMatchName)) {
            target = node->value().layer_id;
        }
        tlhost::SetUpLayerControl(effect, target);
    }

    // Streams the file held for an effect's parameters must fit them: of the kind each
    // parameter holds, with a value it can take (as the file gave it, in `stored`), and none
    // that belongs to no parameter. The hidden flags the file gave them win over the declared
    // ones.
    void CheckParamStreams(EffectInstance& effect, const std::string& where,
                           const std::unordered_map<const StreamNode*, StreamValue>& stored) {
        for (std::size_t i = 1; i < effect.params().size(); ++i) {
            StreamNode* node = effect.ParamStream(i);
            if (!node) continue;
            if (node->is_group())
                Fail(NodeWhere(where, *node), "a parameter's stream must be a leaf");
            const ValueKind declared = node->value().kind;
            if (node->kind() != declared) {
                Fail(NodeWhere(where, *node) + "/kind",
                     std::string("kind ") + Quoted(ValueKindName(node->kind())) +
                         " does not fit the effect's parameter, which holds " +
                         ValueKindName(declared));
            }
            auto value = stored.find(node);
            std::string why;
            if (value != stored.end() && value->second.kind == ValueKind::OneD &&
                !effect.params()[i].Accepts(value->second.v[0], &why)) {
                Fail(
                    NodeWhere(where, *node) + "/value",
                    "does not fit the parameter " + Quoted(effect.params()[i].name()) + ": " + why);
            }
            auto it = explicit_hidden_.find(node);
            if (it != explicit_hidden_.end()) node->set_hidden(it->second);
        }
        for (const auto& child : effect.group().children()) {
            if (child->effect() == &effect) continue;
            Fail(NodeWhere(where, *child), "stray parameter stream " + Quoted(child->match_name()) +
                                               ": the effect " + Quoted(effect.match_name()) +
                                               " has no parameter of that match name" +
                                               " (or it is listed twice)");
        }
    }

    // ---- Undo log.

    void ReadUndoGroups(const Json& json, const std::string& where) {
        ExpectArray(json, where);
        std::vector<UndoGroupRecord> groups;
        for (std::size_t i = 0; i < json.size(); ++i) {
            const std::string at = where + Step(i);
            ExpectObject(json[i], at);
            CheckKeys(json[i], at, kUndoGroupKeys);
            UndoGroupRecord record;
            record.name = String(Require(json[i], at, "name"), at + "/name");
            record.closed = Bool(Require(json[i], at, "closed"), at + "/closed");
            if (const Json* changes = Optional(json[i], "changes")) {
                ExpectArray(*changes, at + "/changes");
                for (std::size_t k = 0; k < changes->size(); ++k)
                    record.changes.push_back(String((*changes)[k], at + "/changes" + Step(k)));
            }
            groups.push_back(std::move(record));
        }
        project_.set_undo_groups(std::move(groups));
    }

    Project& project_;
    const EffectResolver& resolver_;
    std::map<A_long, std::string> item_ids_;
    std::map<AEGP_LayerIDVal, std::string> layer_ids_;
    std::vector<std::pair<Layer*, std::string>> layers_;
    std::vector<std::pair<std::string, AEGP_LayerIDVal>> layer_refs_;
    std::vector<Source> sources_;
    std::unordered_map<const StreamNode*, bool> explicit_hidden_;
    Frame frames_[kFollowed];
    int open_ = 0;  // objects and arrays open in the parser
    std::vector<std::vector<BuiltTree>> built_;
};

// The parser's message without its exception prefix ("[json.exception...] ").
std::string ParseMessage(const std::exception& e) {
    std::string text = e.what();
    if (!text.empty() && text.front() == '[') {
        const std::size_t end = text.find("] ");
        if (end != std::string::npos) text.erase(0, end + 2);
    }
    return text;
}

}  // namespace

std::string LoadError::message() const {
    return (where.empty() ? std::string("(document)") : where) + ": " + what;
}

namespace {

template <class Input>
bool Load(Input&& input, Project& project, LoadError* error, const EffectResolver& resolver) {
    auto fail = [&](std::string where, std::string what) {
        if (error) *error = LoadError{std::move(where), std::move(what)};
        return false;
    };
    if (!project.items().empty() || !project.undo_groups().empty()) {
        return fail("", "the project to load into is not empty");
    }
    ParsePool pool;  // outlives every JSON value below
    Project fresh;
    Reader reader(fresh, resolver);
    Json doc;
    try {
        doc = Json::parse(std::forward<Input>(input),
                          [&reader](int depth, Json::parse_event_t event, Json& parsed) {
                              return reader.OnParse(depth, event, parsed);
                          });
    } catch (const Json::exception& e) {
        return fail("", "not valid JSON: " + ParseMessage(e));
    }
    try {
        reader.ReadDocument(doc);
    } catch (const Fault& fault) {
        return fail(fault.where, fault.what);
    }
    project = std::move(fresh);
    return true;
}

}  // namespace

bool LoadProject(const std::string& json_text, Project& project, LoadError* error,
                 const EffectResolver& resolver) {
    return Load(json_text, project, error, resolver);
}

bool LoadProject(std::istream& json, Project& project, LoadError* error,
                 const EffectResolver& resolver) {
    return Load(json, project, error, resolver);
}

}  // namespace tlhost
