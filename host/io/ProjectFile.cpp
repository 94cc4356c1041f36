// Writing a project file. Keys come in a fixed order and numbers in their
// shortest exact form, so a project always gives the same bytes.
#include "io/ProjectFile.h"

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
        Json undo = Json::array();
        for (const UndoGroupRecord& group : project.undo_groups()) {
            undo.push_back(
                Json{{"name", group.name}, {"closed", group.closed}, {"changes", group.changes}});
        }
        return Json{{"items", std::move(items)}, {"undo_groups", std::move(undo)}};
    }

  private:
    Json ItemJson(Item& item) const {
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
        for (Layer* layer : comp.layers()) layers.push_back(LayerJson(*layer));
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

    Json NodeJson(StreamNode& node) const {
        Json out{{"match_name", node.match_name()}, {"name", node.name()}};
        if (node.is_group()) {
            out["group"] = io::GroupingName(node.grouping());
        } else {
            out["kind"] = ValueKindName(node.kind());
        }
        out["hidden"] = node.hidden();
        out["eyeball"] = node.eyeball;
        if (!node.can_vary_over_time) out["can_vary"] = false;
        if (node.is_group()) {
            Json children = Json::array();
            for (const auto& child : node.children()) children.push_back(NodeJson(*child));
            out["children"] = std::move(children);
            return out;
        }
        out["value"] = ValueJson(node.value(), node.kind());
        const StreamValue evaluated = evaluate_ ? evaluate_(node) : node.ValueAt(0);
        out["evaluated"] = ValueJson(evaluated, evaluated.kind);
        if (!node.expression.empty() || node.expression_enabled) {
            out["expression"] = node.expression;
            out["expression_enabled"] = node.expression_enabled;
        }
        if (!node.expression_error.empty()) out["expression_error"] = node.expression_error;
        if (!node.keyframes.empty()) {
            Json keys = Json::array();
            for (const Keyframe& key : node.keyframes) {
                keys.push_back(Json{{"time", TimeJson(key.time)},
                                    {"value", ValueJson(key.value, node.kind())}});
            }
            out["keyframes"] = std::move(keys);
        }
        return out;
    }

    const ValueEvaluator& evaluate_;
};

}  // namespace

std::string SaveProject(Project& project, const ValueEvaluator& evaluate) {
    return io::LayOut(Writer(evaluate).Document(project));
}

}  // namespace tlhost
