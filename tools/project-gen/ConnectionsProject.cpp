#include "ConnectionsProject.h"

#include <initializer_list>

#include <nlohmann/json.hpp>

namespace tlgen {

namespace {

using Json = nlohmann::ordered_json;

// The module groups Tetherline leaves on every connection (contents left empty).
const char* const kModuleGroups[] = {"Offset Paths", "Repeater",     "Round Corners",
                                     "Twist",        "Wiggle Paths", "Zig Zag"};

Json Group(const char* match_name, const std::string& name, const char* grouping, Json children) {
    return Json{{"match_name", match_name},
                {"name", name},
                {"group", grouping},
                {"children", std::move(children)}};
}

Json Leaf(const char* match_name, const char* name, const char* kind, Json value) {
    return Json{
        {"match_name", match_name}, {"name", name}, {"kind", kind}, {"value", std::move(value)}};
}

Json OneD(const char* match_name, const char* name, double value) {
    return Leaf(match_name, name, "one_d", value);
}

Json Fixed(const char* match_name, const char* name, double value) {
    Json leaf = OneD(match_name, name, value);
    leaf["can_vary"] = false;
    return leaf;
}

Json Hidden(Json leaf) {
    leaf["hidden"] = true;
    return leaf;
}

Json Path(std::initializer_list<std::initializer_list<double>> vertices, bool closed) {
    Json list = Json::array();
    for (const auto& v : vertices) list.push_back(Json(v));
    return Json{{"closed", closed}, {"vertices", std::move(list)}};
}

Json Transform(double x, double y) {
    return Group(
        "ADBE Transform Group", "Transform", "named",
        Json::array({Leaf("ADBE Anchor Point", "Anchor Point", "three_d", {0, 0, 0}),
                     Leaf("ADBE Position", "Position", "three_d", {x, y, 0}),
                     Leaf("ADBE Scale", "Scale", "three_d", {100, 100, 100}),
                     OneD("ADBE Rotate Z", "Rotation", 0), OneD("ADBE Opacity", "Opacity", 100)}));
}

Json ConnectionLayer(int id, int controller_id, const std::string& controller_name,
                     const std::string& effect_match_name) {
    const std::string name = "Connection " + std::to_string(id - 1);
    Json path = Group(
        "ADBE Vector Group", "Paths", "named",
        Json::array(
            {Group("ADBE Vectors Group", "Contents", "indexed",
                   Json::array({Group(
                       "ADBE Vector Shape - Group", "Path", "named",
                       Json::array({Leaf("ADBE Vector Shape", "Path", "path",
                                         Path({{960, 540, 0, 0, -330, 0}, {300, 200, 330, 0, 0, 0}},
                                              false))}))}))}));
    Json width = OneD("ADBE Vector Stroke Width", "Stroke Width", 5);
    width["expression"] = "fx = thisComp.layer(\"" + controller_name + "\").effect(\"" +
                          effect_match_name + "\"); fx(\"Stroke Width\");";
    width["expression_enabled"] = true;
    Json stroke =
        Group("ADBE Vector Graphic - Stroke", "Stroke 1", "named",
              Json::array(
                  {Leaf("ADBE Vector Stroke Color", "Color", "color", {1, 1, 1, 1}),
                   OneD("ADBE Vector Stroke Opacity", "Opacity", 100), std::move(width),
                   Fixed("ADBE Vector Stroke Line Cap", "Line Cap", 1),
                   Fixed("ADBE Vector Stroke Line Join", "Line Join", 1),
                   OneD("ADBE Vector Stroke Miter Limit", "Miter Limit", 4),
                   Group("ADBE Vector Stroke Dashes", "Dashes", "indexed",
                         Json::array({Hidden(OneD("ADBE Vector Stroke Dash 1", "Dash", 0)),
                                      Hidden(OneD("ADBE Vector Stroke Gap 1", "Gap", 0)),
                                      Hidden(OneD("ADBE Vector Stroke Offset", "Offset", 0))}))}));
    Json gradient_stroke =
        Group("ADBE Vector Graphic - G-Stroke", "Gradient Stroke 1", "named",
              Json::array({Fixed("ADBE Vector Grad Type", "Type", 1),
                           OneD("ADBE Vector Stroke Opacity", "Opacity", 100),
                           OneD("ADBE Vector Stroke Width", "Stroke Width", 5),
                           OneD("ADBE Vector Grad HiLite Length", "Highlight Length", 0),
                           OneD("ADBE Vector Grad HiLite Angle", "Highlight Angle", 0),
                           Fixed("ADBE Vector Stroke Line Cap", "Line Cap", 1),
                           Fixed("ADBE Vector Stroke Line Join", "Line Join", 1),
                           OneD("ADBE Vector Stroke Miter Limit", "Miter Limit", 4)}));
    Json gradient_fill =
        Group("ADBE Vector Graphic - G-Fill", "Gradient Fill 1", "named",
              Json::array({Fixed("ADBE Vector Grad Type", "Type", 1),
                           OneD("ADBE Vector Grad HiLite Length", "Highlight Length", 0),
                           OneD("ADBE Vector Grad HiLite Angle", "Highlight Angle", 0)}));
    Json arrow =
        Leaf("ADBE Vector Shape", "Path", "path",
             Path({{-12, -8, 0, 0, 0, 0}, {12, 0, 0, 0, 0, 0}, {-12, 8, 0, 0, 0, 0}}, true));
    Json arrowheads = Group(
        "ADBE Vector Group", "Arrowheads", "named",
        Json::array({Group(
            "ADBE Vectors Group", "Contents", "indexed",
            Json::array({Group(
                "ADBE Vector Group", "Arrowheads 1", "named",
                Json::array({Group(
                    "ADBE Vectors Group", "Contents", "indexed",
                    Json::array({Group("ADBE Vector Shape - Group", "Start Arrowhead", "named",
                                       Json::array({arrow})),
                                 Group("ADBE Vector Shape - Group", "End Arrowhead", "named",
                                       Json::array({arrow})),
                                 Group("ADBE Vector Graphic - Fill", "Fill 1", "named",
                                       Json::array({Leaf("ADBE Vector Fill Color", "Color", "color",
                                                         {1, 1, 1, 1})}))}))}))}))}));
    Json trim = Group(
        "ADBE Vector Group", "Trim Paths", "named",
        Json::array({Group(
            "ADBE Vectors Group", "Contents", "indexed",
            Json::array({Group(
                "ADBE Vector Filter - Trim", "Trim Paths 1", "named",
                Json::array({OneD("ADBE Vector Trim Start", "Start", 0),
                             OneD("ADBE Vector Trim End", "End", 100),
                             OneD("ADBE Vector Trim Offset", "Offset", 0),
                             Fixed("ADBE Vector Trim Type", "Trim Multiple Shapes", 1)}))}))}));
    Json line_contents =
        Json::array({std::move(path), std::move(stroke), std::move(gradient_stroke),
                     std::move(gradient_fill), std::move(arrowheads), std::move(trim)});
    for (const char* module : kModuleGroups) {
        line_contents.push_back(Group(
            "ADBE Vector Group", module, "named",
            Json::array({Group("ADBE Vectors Group", "Contents", "indexed", Json::array())})));
    }
    Json line = Group("ADBE Vector Group", name, "named",
                      Json::array({Group("ADBE Vectors Group", "Contents", "indexed",
                                         std::move(line_contents))}));
    Json contents =
        Group("ADBE Root Vectors Group", "Contents", "indexed", Json::array({std::move(line)}));
    Json control =
        Group("ADBE Effect Parade", "Effects", "indexed",
              Json::array({Group("ADBE Layer Control", "Layer Control", "named",
                                 Json::array({Leaf("ADBE Layer Control-0001", "Layer", "layer",
                                                   Json{{"layer", controller_id}})}))}));
    return Json{{"id", id},
                {"name", name},
                {"type", "shape"},
                {"in_point", 0},
                {"duration", 10},
                {"flags", Json::array({"video_active"})},
                {"properties",
                 Group("ADBE Vector Layer", name, "named",
                       Json::array({std::move(contents), std::move(control), Transform(0, 0)}))}};
}

}  // namespace

std::string ConnectionsProject(int lines, const std::string& effect_match_name) {
    const std::string controller_name = "Controller";
    Json effects = Group("ADBE Effect Parade", "Effects", "indexed",
                         Json::array({Group(effect_match_name.c_str(), "Tetherline - Styles",
                                            "named", Json::array())}));
    Json controller{{"id", 1},
                    {"name", controller_name},
                    {"type", "null"},
                    {"in_point", 0},
                    {"duration", 10},
                    {"flags", Json::array({"video_active", "null_layer"})},
                    {"properties", Group("ADBE AV Layer", controller_name, "named",
                                         Json::array({std::move(effects), Transform(960, 540)}))}};
    Json layers = Json::array({std::move(controller)});
    for (int i = 0; i < lines; ++i) {
        layers.push_back(ConnectionLayer(i + 2, 1, controller_name, effect_match_name));
    }
    Json comp{{"name", "Main"},
              {"type", "composition"},
              {"id", 1},
              {"width", 1920},
              {"height", 1080},
              {"frame_rate", 30},
              {"pixel_aspect", Json::array({1, 1})},
              {"duration", 10},
              {"work_area", Json{{"start", 0}, {"duration", 10}}},
              {"selection", Json::array()},
              {"layers", std::move(layers)}};
    return Json{{"items", Json::array({std::move(comp)})}, {"undo_groups", Json::array()}}.dump();
}

}  // namespace tlgen
