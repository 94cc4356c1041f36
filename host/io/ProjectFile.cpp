// Writing a project file. Keys come in a fixed order and numbers in their
// shortest exact form, so a project always gives the same bytes.
#include "io/ProjectFile.h"

#include <sstream>
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
        Json first = LayerJson(*comp.layers().front());
        const bool list_breaks = !io::FitsOnLine(first, kWidth - kListColumn - 2);
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
            io::WriteLaidOut(i == 0 ? first : LayerJson(*layers[i]), kInner + 2, kInner + 2,
                             layer_tail, kWidth, out);
            out.Put(layer_tail ? ",\n" : "\n");
        }
        out.Spaces(kInner);
        out.Put("]\n");
        out.Spaces(kItemIndent);
        out.Put('}');
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
        return Json{{"id", layer.id()},
                    {"name", layer.name()},
                    {"type", io::LayerTypeName(layer.kind())},
                    {"in_point", Seconds(layer.in_point)},
                    {"duration", Seconds(layer.duration)},
                    {"flags", std::move(flags)},
                    {"properties", NodeJson(layer.root())}};
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
        if (!node.keyframes.empty()) {
            Json keys = Json::array();
            for (const Keyframe& key : node.keyframes) {
                keys.push_back(Json{{"time", TimeJson(key.time)},
                                    {"value", ValueJson(key.value, node.kind())}});
            }
            put("keyframes", std::move(keys));
        }
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
