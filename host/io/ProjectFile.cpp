// Writing a project file. Keys come in a fixed order and numbers in their
// shortest exact form, so a project always gives the same bytes.
#include "io/ProjectFile.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "io/FileFormat.h"
#include "io/JsonLayout.h"

namespace tlhost {

namespace {

using Json = nlohmann::ordered_json;
using io::Seconds;

// A value written as a property of kind `kind` holds it: numbers beyond the
// kind's dimensions, and members of other kinds, are not written.
Json ValueJson(const StreamValue& value, ValueKind kind) {
    switch (kind) {
        case ValueKind::NoData:
            return nullptr;
        case ValueKind::OneD:
            return value.v[0];
        case ValueKind::TwoD:
            return Json::array({value.v[0], value.v[1]});
        case ValueKind::ThreeD:
            return Json::array({value.v[0], value.v[1], value.v[2]});
        case ValueKind::Color:
            return Json::array({value.v[0], value.v[1], value.v[2], value.v[3]});
        case ValueKind::LayerId:
            return Json{{"layer", value.layer_id}};
        case ValueKind::Arb:
            return Json(value.bytes);
        case ValueKind::Path: {
            Json vertices = Json::array();
            for (const PathVertex& p : value.path.vertices) {
                vertices.push_back(Json::array({p.x, p.y, p.in_x, p.in_y, p.out_x, p.out_y}));
            }
            return Json{{"closed", value.path.closed}, {"vertices", std::move(vertices)}};
        }
    }
    return nullptr;
}

// A host time exactly as the host keeps it.
Json TimeJson(const A_Time& time) {
    return Json{{"value", time.value}, {"scale", time.scale}};
}

class Writer {
  public:
    explicit Writer(const ValueEvaluator& evaluate) : evaluate_(evaluate) {}

    Json Document(Project& project) const {
        Json items = Json::array();
        for (const auto& item : project.items()) items.push_back(ItemJson(*item));
        return Json{{"items", std::move(items)}, {"undo_groups", UndoJson(project)}};
    }

    // Writes the document laid out as io::LayOut lays out Document(), one layer at
    // a time, so that the whole document is never held. Where an item fits on its
    // line (a project of folders and footage), the document is small and laid out
    // whole.
    void Write(Project& project, std::ostream& stream) const {
        const auto& items = project.items();
        std::vector<Json> heads;
        heads.reserve(items.size());
        bool broken = false;
        for (std::size_t i = 0; i < items.size(); ++i) {
            heads.push_back(ItemJson(*items[i], false));
            const std::size_t tail = i + 1 < items.size() ? 1 : 0;
            if (!io::FitsOnLine(heads.back(), kWidth - kItemIndent - tail)) broken = true;
        }
        if (!broken) {
            io::LayOut(Document(project), stream, kWidth);
            return;
        }
        // An item longer than its line: the document and its item list are broken.
        io::LayoutSink out(stream);
        out.Put("{\n  \"items\": [\n");
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::size_t tail = i + 1 < items.size() ? 1 : 0;
            out.Spaces(kItemIndent);
            WriteItem(*items[i], std::move(heads[i]), tail, out);
            out.Put(tail ? ",\n" : "\n");
        }
        out.Put("  ],\n  \"undo_groups\": ");
        io::WriteLaidOut(UndoJson(project), 2, 17, 0, kWidth, out);
        out.Put("\n}\n");
    }

  private:
    static constexpr std::size_t kWidth = 100;
    static constexpr std::size_t kItemIndent = 4;

    static Json UndoJson(Project& project) {
        Json undo = Json::array();
        for (const UndoGroupRecord& group : project.undo_groups()) {
            undo.push_back(
                Json{{"name", group.name}, {"closed", group.closed}, {"changes", group.changes}});
        }
        return undo;
    }

    // One item at the start of its line; `head` is the item without its layers.
    void WriteItem(Item& item, Json head, std::size_t tail, io::LayoutSink& out) const {
        const bool has_layers = item.kind() == ItemKind::Composition &&
                                !static_cast<Composition&>(item).layers().empty();
        if (!has_layers) {
            io::WriteLaidOut(head, kItemIndent, kItemIndent, tail, kWidth, out);
            return;
        }
        auto& comp = static_cast<Composition&>(item);
        // The layer list's line: "layers": [ at the item's inner indent. A layer
        // never fits there (its keys alone are longer), but if one did, the list
        // is laid out whole.
        constexpr std::size_t kInner = kItemIndent + 2;
        constexpr std::size_t kListColumn = kInner + 10;  // after "layers":
        Tree tree(*this, *comp.layers().front());
        const bool list_breaks = tree.Length(kWidth - kListColumn - 2) > kWidth - kListColumn - 2;
        if (io::FitsOnLine(head, kWidth - kItemIndent - tail) || !list_breaks) {
            head["layers"] = Json::array();
            for (Layer* layer : comp.layers()) head["layers"].push_back(LayerJson(*layer));
            io::WriteLaidOut(head, kItemIndent, kItemIndent, tail, kWidth, out);
            return;
        }
        out.Put("{\n");
        for (const auto& [key, member] : head.items()) {
            out.Spaces(kInner);
            const std::string name = io::Scalar(Json(key)) + ": ";
            out.Put(name);
            if (key == "layers") break;  // the last member
            io::WriteLaidOut(member, kInner, kInner + name.size(), 1, kWidth, out);
            out.Put(",\n");
        }
        out.Put("[\n");
        const auto& layers = comp.layers();
        for (std::size_t i = 0; i < layers.size(); ++i) {
            const std::size_t layer_tail = i + 1 < layers.size() ? 1 : 0;
            out.Spaces(kInner + 2);
            // One tree for every layer in turn: the room made for one layer's
            // values serves the next.
            if (i > 0) tree.Reset(*layers[i]);
            tree.Write(kInner + 2, kInner + 2, layer_tail, out);
            out.Put(layer_tail ? ",\n" : "\n");
        }
        out.Spaces(kInner);
        out.Put("]\n");
        out.Spaces(kItemIndent);
        out.Put('}');
    }

    // One layer written straight from the project, laid out as io::WriteLaidOut lays
    // out LayerJson(layer), without building it: each leaf's values are made once
    // (its value after expressions evaluated once, in tree order) and every other
    // member is written from the node itself.
    class Tree {
      public:
        Tree(const Writer& writer, Layer& layer) : writer_(writer) { Reset(layer); }

        // Takes another layer, keeping the room made for the last one.
        void Reset(Layer& layer) {
            layer_ = &layer;
            flags_ = Json::array();
            for (std::size_t i = 0; i < io::kLayerFlagCount; ++i) {
                if (layer.flags() & io::kLayerFlagNames[i].flag)
                    flags_.push_back(io::kLayerFlagNames[i].name);
            }
            id_ = layer.id();
            source_ = layer.source() ? Json(layer.source()->id()) : Json();
            in_point_ = Seconds(layer.in_point);
            duration_ = Seconds(layer.duration);
            leaves_.clear();
            order_.clear();
            Prepare(layer.root());
            std::sort(order_.begin(), order_.end());
        }

        // The one-line length of the layer, measured no further than `room`.
        std::size_t Length(std::size_t room) const { return ObjectLength(Members(), room); }
        void Write(std::size_t indent, std::size_t column, std::size_t tail,
                   io::LayoutSink& out) const {
            WriteObject(Members(), indent, column, tail, out);
        }

      private:
        // A member's value: text, a flag, a small JSON value, a property's value, a
        // property node or a node's children.
        struct Value {
            enum class Kind { Text, Flag, Json, Stored, Node, Children } kind;
            std::string_view text;
            bool flag = false;
            const nlohmann::ordered_json* json = nullptr;
            const StreamNode* node = nullptr;
            const StreamValue* stored = nullptr;
            ValueKind as = ValueKind::NoData;
        };
        struct Member {
            const char* key;
            Value value;
        };
        // At most the 12 members of a leaf.
        struct MemberList {
            Member items[12];
            std::size_t size = 0;
            void Add(const char* key, Value value) { items[size++] = Member{key, value}; }
        };
        static Value Text(std::string_view text) { return {Value::Kind::Text, text}; }
        static Value Flag(bool flag) { return {Value::Kind::Flag, {}, flag}; }
        static Value JsonValue(const Json& json) { return {Value::Kind::Json, {}, false, &json}; }

        // A value as ValueJson(value, kind) writes it. Numbers, colours, layers,
        // paths and empty values are written from the value itself; arbitrary data,
        // which is rare, as JSON.
        static bool Direct(ValueKind kind) { return kind != ValueKind::Arb; }
        static Value StoredValue(const StreamValue& value, ValueKind as, const Json& json) {
            if (!Direct(as)) return JsonValue(json);
            return {Value::Kind::Stored, {}, false, nullptr, nullptr, &value, as};
        }

        // What a leaf writes besides its own fields.
        struct Leaf {
            StreamValue value, evaluated;
            Json value_json, evaluated_json, keyframes;
        };

        // Leaves in tree order; each leaf's values are made once, its value after
        // expressions evaluated once.
        void Prepare(StreamNode& node) {
            if (node.is_group()) {
                for (const auto& child : node.children()) Prepare(*child);
                return;
            }
            order_.emplace_back(&node, leaves_.size());
            Leaf& leaf = leaves_.emplace_back();
            leaf.value = node.value();
            if (!Direct(node.kind())) leaf.value_json = ValueJson(leaf.value, node.kind());
            leaf.evaluated = writer_.evaluate_ ? writer_.evaluate_(node) : node.ValueAt(0);
            if (!Direct(leaf.evaluated.kind))
                leaf.evaluated_json = ValueJson(leaf.evaluated, leaf.evaluated.kind);
            if (!node.keyframes.empty()) leaf.keyframes = KeyframesJson(node);
        }

        const Leaf& LeafOf(const StreamNode& node) const {
            auto it = std::lower_bound(order_.begin(), order_.end(),
                                       std::pair<const StreamNode*, std::size_t>(&node, 0));
            return leaves_[it->second];
        }

        MemberList Members() const {
            MemberList m;
            m.Add("id", JsonValue(id_));
            m.Add("name", Text(layer_->name()));
            m.Add("type", Text(io::LayerTypeName(layer_->kind())));
            m.Add("in_point", JsonValue(in_point_));
            m.Add("duration", JsonValue(duration_));
            m.Add("flags", JsonValue(flags_));
            if (layer_->source()) m.Add("source", JsonValue(source_));
            m.Add("properties", Value{Value::Kind::Node, {}, false, nullptr, &layer_->root()});
            return m;
        }

        // The members of a node, in the order NodeJson gives them.
        MemberList Members(const StreamNode& node) const {
            MemberList m;
            m.Add("match_name", Text(node.match_name()));
            m.Add("name", Text(node.name()));
            if (node.is_group()) {
                m.Add("group", Text(io::GroupingName(node.grouping())));
            } else {
                m.Add("kind", Text(ValueKindName(node.kind())));
            }
            m.Add("hidden", Flag(node.hidden()));
            m.Add("eyeball", Flag(node.eyeball));
            if (!node.can_vary_over_time) m.Add("can_vary", Flag(false));
            if (node.is_group()) {
                m.Add("children", Value{Value::Kind::Children, {}, false, nullptr, &node});
                return m;
            }
            const Leaf& leaf = LeafOf(node);
            m.Add("value", StoredValue(leaf.value, node.kind(), leaf.value_json));
            m.Add("evaluated",
                  StoredValue(leaf.evaluated, leaf.evaluated.kind, leaf.evaluated_json));
            if (!node.expression.empty() || node.expression_enabled) {
                m.Add("expression", Text(node.expression));
                m.Add("expression_enabled", Flag(node.expression_enabled));
            }
            if (!node.expression_error.empty())
                m.Add("expression_error", Text(node.expression_error));
            if (!node.keyframes.empty()) m.Add("keyframes", JsonValue(leaf.keyframes));
            return m;
        }

        // ---- A property's value written from the value itself: null, a number, an
        // array of numbers, {"layer": id} or {"closed": ..., "vertices": [...]}, as the
        // JSON of ValueJson is written.

        // The numbers of a value written as an array (a one-dimensional value is a
        // plain number).
        static std::size_t Numbers(ValueKind as) {
            return as == ValueKind::OneD ? 0 : DimensionsOf(as);
        }

        static std::size_t StoredLength(const StreamValue& value, ValueKind as) {
            switch (as) {
                case ValueKind::OneD:
                    return io::NumberLength(value.v[0]);
                case ValueKind::LayerId:
                    return std::strlen("{\"layer\": }") + std::to_string(value.layer_id).size();
                case ValueKind::TwoD:
                case ValueKind::ThreeD:
                case ValueKind::Color:
                    return NumbersLength(value.v.data(), Numbers(as));
                case ValueKind::Path: {
                    // {"closed": false, "vertices": [...]}
                    std::size_t length =
                        std::strlen("{\"closed\": , \"vertices\": }") + (value.path.closed ? 4 : 5);
                    return length + VerticesLength(value.path);
                }
                default:
                    return 4;  // null
            }
        }

        static std::size_t NumbersLength(const double* v, std::size_t n) {
            std::size_t length = 2 + 2 * (n - 1);
            for (std::size_t i = 0; i < n; ++i) length += io::NumberLength(v[i]);
            return length;
        }
        static std::size_t VertexLength(const PathVertex& p) {
            const double v[] = {p.x, p.y, p.in_x, p.in_y, p.out_x, p.out_y};
            return NumbersLength(v, 6);
        }
        static std::size_t VerticesLength(const ShapePath& path) {
            if (path.vertices.empty()) return 2;
            std::size_t length = 2 + 2 * (path.vertices.size() - 1);
            for (const PathVertex& p : path.vertices) length += VertexLength(p);
            return length;
        }
        static void AppendNumbers(const double* v, std::size_t n, std::string& out) {
            out += '[';
            for (std::size_t i = 0; i < n; ++i) {
                if (i) out += ", ";
                io::AppendNumber(v[i], out);
            }
            out += ']';
        }
        static void AppendVertex(const PathVertex& p, std::string& out) {
            const double v[] = {p.x, p.y, p.in_x, p.in_y, p.out_x, p.out_y};
            AppendNumbers(v, 6, out);
        }
        static void AppendVertices(const ShapePath& path, std::string& out) {
            if (path.vertices.empty()) {
                out += "[]";
                return;
            }
            out += '[';
            for (std::size_t i = 0; i < path.vertices.size(); ++i) {
                if (i) out += ", ";
                AppendVertex(path.vertices[i], out);
            }
            out += ']';
        }
        // Numbers on their line if they fit, else one a line.
        static void WriteNumbers(const double* v, std::size_t n, std::size_t indent,
                                 std::size_t column, std::size_t tail, std::string& out) {
            const std::size_t used = column + tail;
            if (used <= kWidth && NumbersLength(v, n) <= kWidth - used) {
                AppendNumbers(v, n, out);
                return;
            }
            out += "[\n";
            for (std::size_t i = 0; i < n; ++i) {
                out.append(indent + 2, ' ');
                io::AppendNumber(v[i], out);
                out += i + 1 < n ? ",\n" : "\n";
            }
            out.append(indent, ' ');
            out += ']';
        }
        static void WriteVertices(const ShapePath& path, std::size_t indent, std::size_t column,
                                  std::size_t tail, std::string& out) {
            const std::size_t used = column + tail;
            if (path.vertices.empty() ||
                (used <= kWidth && VerticesLength(path) <= kWidth - used)) {
                AppendVertices(path, out);
                return;
            }
            out += "[\n";
            for (std::size_t i = 0; i < path.vertices.size(); ++i) {
                const bool last = i + 1 == path.vertices.size();
                const PathVertex& p = path.vertices[i];
                const double v[] = {p.x, p.y, p.in_x, p.in_y, p.out_x, p.out_y};
                out.append(indent + 2, ' ');
                WriteNumbers(v, 6, indent + 2, indent + 2, last ? 0 : 1, out);
                out += last ? "\n" : ",\n";
            }
            out.append(indent, ' ');
            out += ']';
        }

        static void AppendStored(const StreamValue& value, ValueKind as, std::string& out) {
            switch (as) {
                case ValueKind::OneD:
                    io::AppendNumber(value.v[0], out);
                    return;
                case ValueKind::LayerId:
                    out += "{\"layer\": ";
                    out += std::to_string(value.layer_id);
                    out += '}';
                    return;
                case ValueKind::TwoD:
                case ValueKind::ThreeD:
                case ValueKind::Color:
                    AppendNumbers(value.v.data(), Numbers(as), out);
                    return;
                case ValueKind::Path:
                    out += value.path.closed ? "{\"closed\": true, \"vertices\": "
                                             : "{\"closed\": false, \"vertices\": ";
                    AppendVertices(value.path, out);
                    out += '}';
                    return;
                default:
                    out += "null";
                    return;
            }
        }

        // Broken over lines, as io::WriteLaidOut breaks an array or object that does
        // not fit: one member a line.
        static void WriteStored(const StreamValue& value, ValueKind as, std::size_t indent,
                                std::size_t column, std::size_t tail, io::LayoutSink& out) {
            const std::size_t used = column + tail;
            const bool structured =
                as == ValueKind::LayerId || as == ValueKind::Path || Numbers(as) > 0;
            if (!structured || (used <= kWidth && StoredLength(value, as) <= kWidth - used)) {
                AppendStored(value, as, out.Text());
                out.Settle();
                return;
            }
            std::string& text = out.Text();
            if (as == ValueKind::Path) {
                text += "{\n";
                text.append(indent + 2, ' ');
                text += value.path.closed ? "\"closed\": true,\n" : "\"closed\": false,\n";
                text.append(indent + 2, ' ');
                text += "\"vertices\": ";
                WriteVertices(value.path, indent + 2, indent + 2 + 12, 0, text);
                text += '\n';
                text.append(indent, ' ');
                text += '}';
            } else if (as == ValueKind::LayerId) {
                text += "{\n";
                text.append(indent + 2, ' ');
                text += "\"layer\": ";
                text += std::to_string(value.layer_id);
                text += '\n';
                text.append(indent, ' ');
                text += '}';
            } else {
                WriteNumbers(value.v.data(), Numbers(as), indent, column, tail, text);
            }
            out.Settle();
        }

        // ---- One-line lengths, measured no further than `room`.

        std::size_t ValueLength(const Value& v, std::size_t room) const {
            switch (v.kind) {
                case Value::Kind::Text:
                    return io::QuotedLength(v.text, room);
                case Value::Kind::Flag:
                    return v.flag ? 4 : 5;
                case Value::Kind::Json:
                    return io::OneLineLength(*v.json, room);
                case Value::Kind::Stored:
                    return StoredLength(*v.stored, v.as);
                case Value::Kind::Node:
                    return ObjectLength(Members(*v.node), room);
                case Value::Kind::Children:
                    return ChildrenLength(*v.node, room);
            }
            return 0;
        }

        std::size_t ObjectLength(const MemberList& m, std::size_t room) const {
            std::size_t length = 1;
            for (std::size_t i = 0; i < m.size; ++i) {
                if (i) length += 2;
                length += std::strlen(m.items[i].key) + 4;  // quotes, colon, space
                if (length > room) return length;
                length += ValueLength(m.items[i].value, room - length);
                if (length > room) return length;
            }
            return length + 1;
        }

        std::size_t ChildrenLength(const StreamNode& node, std::size_t room) const {
            if (node.children().empty()) return 2;
            std::size_t length = 1;
            bool first = true;
            for (const auto& child : node.children()) {
                if (!first) length += 2;
                first = false;
                if (length > room) return length;
                length += ObjectLength(Members(*child), room - length);
                if (length > room) return length;
            }
            return length + 1;
        }

        // ---- One-line forms.

        void AppendValue(const Value& v, std::string& out) const {
            switch (v.kind) {
                case Value::Kind::Text:
                    io::AppendQuoted(v.text, out);
                    return;
                case Value::Kind::Flag:
                    out += v.flag ? "true" : "false";
                    return;
                case Value::Kind::Json:
                    io::AppendOneLine(*v.json, out);
                    return;
                case Value::Kind::Stored:
                    AppendStored(*v.stored, v.as, out);
                    return;
                case Value::Kind::Node:
                    AppendObject(Members(*v.node), out);
                    return;
                case Value::Kind::Children: {
                    if (v.node->children().empty()) {
                        out += "[]";
                        return;
                    }
                    out += '[';
                    bool first = true;
                    for (const auto& child : v.node->children()) {
                        if (!first) out += ", ";
                        first = false;
                        AppendObject(Members(*child), out);
                    }
                    out += ']';
                    return;
                }
            }
        }

        void AppendObject(const MemberList& m, std::string& out) const {
            out += '{';
            for (std::size_t i = 0; i < m.size; ++i) {
                if (i) out += ", ";
                out += '"';
                out += m.items[i].key;
                out += "\": ";
                AppendValue(m.items[i].value, out);
            }
            out += '}';
        }

        // ---- Laid out.

        bool Fits(const Value& v, std::size_t column, std::size_t tail) const {
            const std::size_t used = column + tail;
            if (used > kWidth) return false;
            return ValueLength(v, kWidth - used) <= kWidth - used;
        }

        void WriteValue(const Value& v, std::size_t indent, std::size_t column, std::size_t tail,
                        io::LayoutSink& out) const {
            switch (v.kind) {
                case Value::Kind::Text:
                case Value::Kind::Flag:
                    AppendValue(v, out.Text());
                    out.Settle();
                    return;
                case Value::Kind::Json:
                    io::WriteLaidOut(*v.json, indent, column, tail, kWidth, out);
                    return;
                case Value::Kind::Stored:
                    WriteStored(*v.stored, v.as, indent, column, tail, out);
                    return;
                case Value::Kind::Node:
                    WriteObject(Members(*v.node), indent, column, tail, out);
                    return;
                case Value::Kind::Children:
                    WriteChildren(*v.node, indent, column, tail, out);
                    return;
            }
        }

        void WriteObject(const MemberList& m, std::size_t indent, std::size_t column,
                         std::size_t tail, io::LayoutSink& out) const {
            const std::size_t used = column + tail;
            if (used <= kWidth && ObjectLength(m, kWidth - used) <= kWidth - used) {
                AppendObject(m, out.Text());
                out.Settle();
                return;
            }
            out.Put("{\n");
            for (std::size_t i = 0; i < m.size; ++i) {
                const bool last = i + 1 == m.size;
                out.Spaces(indent + 2);
                std::string& text = out.Text();
                text += '"';
                text += m.items[i].key;
                text += "\": ";
                const std::size_t name = std::strlen(m.items[i].key) + 4;
                WriteValue(m.items[i].value, indent + 2, indent + 2 + name, last ? 0 : 1, out);
                out.Put(last ? "\n" : ",\n");
            }
            out.Spaces(indent);
            out.Put('}');
        }

        void WriteChildren(const StreamNode& node, std::size_t indent, std::size_t column,
                           std::size_t tail, io::LayoutSink& out) const {
            const Value list{Value::Kind::Children, {}, false, nullptr, &node};
            if (node.children().empty() || Fits(list, column, tail)) {
                AppendValue(list, out.Text());
                out.Settle();
                return;
            }
            out.Put("[\n");
            const auto& children = node.children();
            for (std::size_t i = 0; i < children.size(); ++i) {
                const bool last = i + 1 == children.size();
                out.Spaces(indent + 2);
                WriteObject(Members(*children[i]), indent + 2, indent + 2, last ? 0 : 1, out);
                out.Put(last ? "\n" : ",\n");
            }
            out.Spaces(indent);
            out.Put(']');
        }

        const Writer& writer_;
        Layer* layer_ = nullptr;
        Json id_, source_, in_point_, duration_;
        Json flags_ = Json::array();
        std::vector<Leaf> leaves_;
        // Each leaf's place in leaves_, by node.
        std::vector<std::pair<const StreamNode*, std::size_t>> order_;
    };

    static Json KeyframesJson(const StreamNode& node) {
        Json keys = Json::array();
        for (const Keyframe& key : node.keyframes) {
            keys.push_back(
                Json{{"time", TimeJson(key.time)}, {"value", ValueJson(key.value, node.kind())}});
        }
        return keys;
    }

    Json ItemJson(Item& item, bool with_layers = true) const {
        Json out{{"name", item.name()}, {"type", io::ItemTypeName(item.kind())}, {"id", item.id()}};
        if (item.kind() != ItemKind::Composition) return out;
        auto& comp = static_cast<Composition&>(item);
        out["width"] = comp.width;
        out["height"] = comp.height;
        out["frame_rate"] = comp.frame_rate;
        out["frame_duration"] = TimeJson(comp.frame_duration);
        out["pixel_aspect"] = Json::array({comp.pixel_aspect.num, comp.pixel_aspect.den});
        out["duration"] = Seconds(comp.duration);
        out["work_area"] = Json{{"start", Seconds(comp.work_area_start)},
                                {"duration", Seconds(comp.work_area_duration)}};
        Json selection = Json::array();
        for (const SelectedStream& s : comp.selection) {
            selection.push_back(Json{{"layer", s.layer_id}, {"path", s.path}});
        }
        out["selection"] = std::move(selection);
        Json layers = Json::array();
        if (with_layers) {
            for (Layer* layer : comp.layers()) layers.push_back(LayerJson(*layer));
        }
        out["layers"] = std::move(layers);
        return out;
    }

    Json LayerJson(Layer& layer) const {
        Json flags = Json::array();
        for (std::size_t i = 0; i < io::kLayerFlagCount; ++i) {
            if (layer.flags() & io::kLayerFlagNames[i].flag)
                flags.push_back(io::kLayerFlagNames[i].name);
        }
        Json out{{"id", layer.id()},
                 {"name", layer.name()},
                 {"type", io::LayerTypeName(layer.kind())},
                 {"in_point", Seconds(layer.in_point)},
                 {"duration", Seconds(layer.duration)},
                 {"flags", std::move(flags)}};
        // A layer showing an item names it.
        if (layer.source()) out["source"] = layer.source()->id();
        out["properties"] = NodeJson(layer.root());
        return out;
    }

    // A node's members in their fixed order. Members are appended (each key once),
    // as every node of every layer passes here.
    Json NodeJson(StreamNode& node) const {
        Json out(Json::value_t::object);
        auto& members = out.get_ref<Json::object_t&>();
        members.reserve(12);
        const auto put = [&members](const char* key, Json value) {
            members.emplace_back(key, std::move(value));
        };
        put("match_name", node.match_name());
        put("name", node.name());
        if (node.is_group()) {
            put("group", io::GroupingName(node.grouping()));
        } else {
            put("kind", ValueKindName(node.kind()));
        }
        put("hidden", node.hidden());
        put("eyeball", node.eyeball);
        if (!node.can_vary_over_time) put("can_vary", false);
        if (node.is_group()) {
            Json children(Json::value_t::array);
            children.get_ref<Json::array_t&>().reserve(node.children().size());
            for (const auto& child : node.children()) children.push_back(NodeJson(*child));
            put("children", std::move(children));
            return out;
        }
        put("value", ValueJson(node.value(), node.kind()));
        const StreamValue evaluated = evaluate_ ? evaluate_(node) : node.ValueAt(0);
        put("evaluated", ValueJson(evaluated, evaluated.kind));
        if (!node.expression.empty() || node.expression_enabled) {
            put("expression", node.expression);
            put("expression_enabled", node.expression_enabled);
        }
        if (!node.expression_error.empty()) put("expression_error", node.expression_error);
        if (!node.keyframes.empty()) put("keyframes", KeyframesJson(node));
        return out;
    }

    const ValueEvaluator& evaluate_;
};

}  // namespace

std::string SaveProject(Project& project, const ValueEvaluator& evaluate) {
    std::ostringstream out;
    WriteProject(project, out, evaluate);
    return out.str();
}

void WriteProject(Project& project, std::ostream& out, const ValueEvaluator& evaluate) {
    Writer(evaluate).Write(project, out);
}

}  // namespace tlhost
