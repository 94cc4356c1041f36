// The project every sweep scenario starts from, built in code (a run rebuilds it: reading it
// from a file would cost more than most commands).
//
// Composition "Rig" (25 fps, 2 s, work area 0.4 s to 0.48 s: frames 10 and 11):
//   - "Controller", a null carrying the effect;
//   - "Connection 1", a 3D shape layer pointing at it: a group with a path driven by an
//     expression, a keyframed path, a stroke (width expression, dashes hidden), a gradient
//     stroke, a gradient fill and every module group (Arrowheads with its start and end shapes,
//     Trim Paths with a trim whose end has an expression, Wiggle Paths switched off); a
//     switched-off "Outline" group with a stroke whose width expression is off but keyed; a
//     position with an expression, an orientation and an opacity whose expressions are off
//     but keyed;
//   - "Connection 2", pointing at it but starting after the work area;
//   - "Connection 3", pointing at "Other Controller", a null without the effect.
// Composition "Self Styled" (30 fps, 1 s, work area 0 to 0.1 s): the effect on the shape layer
// "Styled Shape" itself, whose stroke width expression is off but keyed, and "Neighbour", which
// points at it.
#include "model/LayerControl.h"
#include "sweep/Scenarios.h"

#include <gtest/gtest.h>

namespace sweep {

namespace {

using tlhost::Grouping;
using tlhost::Keyframe;
using tlhost::LayerKind;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::ValueKind;
using Node = std::unique_ptr<StreamNode>;

Node Group(const char* match_name, const std::string& name, std::vector<Node> children,
           Grouping grouping = Grouping::Named, bool eyeball = true) {
    auto group = std::make_unique<StreamNode>(match_name, name, grouping);
    for (Node& child : children) group->AddChild(std::move(child));
    group->eyeball = eyeball;
    return group;
}

// A shape group: "ADBE Vector Group" holding its "Contents".
Node ShapeGroup(const std::string& name, std::vector<Node> contents, bool eyeball = true) {
    std::vector<Node> inner;
    inner.push_back(
        Group("ADBE Vectors Group", "Contents", std::move(contents), Grouping::Indexed));
    return Group("ADBE Vector Group", name, std::move(inner), Grouping::Named, eyeball);
}

// What a leaf carries besides its value.
struct Animation {
    const char* expression = nullptr;
    bool expression_on = true;
    std::vector<Keyframe> keys = {};
    bool hidden = false;
};

Node Leaf(const char* match_name, const char* name, StreamValue value, Animation a = {}) {
    auto leaf = std::make_unique<StreamNode>(match_name, name, Grouping::Leaf, value.kind);
    leaf->set_value(value);
    if (a.expression) {
        leaf->expression = a.expression;
        leaf->expression_enabled = a.expression_on;
    }
    leaf->keyframes = std::move(a.keys);
    leaf->set_hidden(a.hidden);
    return leaf;
}

Node One(const char* match_name, const char* name, double value, Animation a = {}) {
    return Leaf(match_name, name, StreamValue::OneD(value), std::move(a));
}

StreamValue Line(double x0, double y0, double x1, double y1, bool closed = false) {
    StreamValue v;
    v.kind = ValueKind::Path;
    v.path.closed = closed;
    v.path.vertices = {tlhost::PathVertex{x0, y0}, tlhost::PathVertex{x1, y1}};
    return v;
}

Node PathGroup(const char* name, StreamValue path, Animation a = {}) {
    std::vector<Node> children;
    children.push_back(Leaf("ADBE Vector Shape", "Path", std::move(path), std::move(a)));
    return Group("ADBE Vector Shape - Group", name, std::move(children));
}

Node Stroke(Animation width) {
    std::vector<Node> dashes;
    dashes.push_back(One("ADBE Vector Stroke Dash 1", "Dash", 0, {nullptr, true, {}, true}));
    dashes.push_back(One("ADBE Vector Stroke Gap 1", "Gap", 0, {nullptr, true, {}, true}));
    dashes.push_back(One("ADBE Vector Stroke Offset", "Offset", 0, {nullptr, true, {}, true}));
    std::vector<Node> children;
    children.push_back(One("ADBE Vector Stroke Width", "Stroke Width", 4, std::move(width)));
    children.push_back(One("ADBE Vector Stroke Line Cap", "Line Cap", 1));
    children.push_back(One("ADBE Vector Stroke Line Join", "Line Join", 1));
    children.push_back(One("ADBE Vector Stroke Miter Limit", "Miter Limit", 4));
    children.push_back(
        Group("ADBE Vector Stroke Dashes", "Dashes", std::move(dashes), Grouping::Indexed));
    return Group("ADBE Vector Graphic - Stroke", "Stroke 1", std::move(children));
}

Node Gradient(const char* kind, const char* name, bool stroke) {
    std::vector<Node> children;
    children.push_back(One("ADBE Vector Grad Type", "Type", 1));
    children.push_back(Leaf("ADBE Vector Grad Colors", "Colors", StreamValue{}));
    children.push_back(One("ADBE Vector Grad HiLite Length", "Highlight Length", 0));
    children.push_back(One("ADBE Vector Grad HiLite Angle", "Highlight Angle", 0));
    if (stroke) {
        children.push_back(One("ADBE Vector Stroke Line Join", "Line Join", 1));
        children.push_back(One("ADBE Vector Stroke Miter Limit", "Miter Limit", 4));
    }
    return Group(kind, name, std::move(children));
}

Node Arrowheads() {
    std::vector<Node> heads;
    heads.push_back(PathGroup("Start Arrowhead", Line(-12, -8, -12, 8, true)));
    heads.push_back(PathGroup("End Arrowhead", Line(-12, -8, -12, 8, true)));
    std::vector<Node> sets;
    sets.push_back(ShapeGroup("Arrowheads 1", std::move(heads)));
    return ShapeGroup("Arrowheads", std::move(sets));
}

Node TrimPaths(bool with_trim) {
    std::vector<Node> contents;
    if (with_trim) {
        std::vector<Node> trim;
        trim.push_back(One("ADBE Vector Trim End", "End", 100, {"Math.min(100, 50 + 50 * time)"}));
        trim.push_back(One("ADBE Vector Trim Type", "Trim Multiple Shapes", 1));
        contents.push_back(Group("ADBE Vector Filter - Trim", "Trim Paths 1", std::move(trim)));
    }
    return ShapeGroup("Trim Paths", std::move(contents));
}

Node Transform(Animation position, bool orientation = false, Animation orient = {},
               Animation opacity = {}) {
    std::vector<Node> children;
    children.push_back(Leaf("ADBE Anchor Point", "Anchor Point", StreamValue::ThreeD(0, 0, 0)));
    children.push_back(
        Leaf("ADBE Position", "Position", StreamValue::ThreeD(320, 180, 0), std::move(position)));
    if (orientation) {
        children.push_back(Leaf("ADBE Orientation", "Orientation", StreamValue::ThreeD(0, 0, 0),
                                std::move(orient)));
    }
    children.push_back(One("ADBE Opacity", "Opacity", 100, std::move(opacity)));
    return Group("ADBE Transform Group", "Transform", std::move(children));
}

tlhost::Layer& ShapeLayer(Stage& stage, tlhost::Composition& comp, AEGP_LayerIDVal id,
                          const char* name, std::vector<Node> contents, Node transform,
                          AEGP_LayerIDVal controller) {
    tlhost::Layer& layer =
        stage.project().AddLayer(comp, name, LayerKind::Shape, id, comp.layers().size());
    std::vector<Node> children;
    children.push_back(
        Group("ADBE Root Vectors Group", "Contents", std::move(contents), Grouping::Indexed));
    children.push_back(Group("ADBE Effect Parade", "Effects", {}, Grouping::Indexed));
    children.push_back(std::move(transform));
    layer.set_root(Group("ADBE Vector Layer", name, std::move(children)));
    // The host's Layer Control, its layer parameter pointing at the controller.
    if (controller != 0) tlhost::AddLayerControl(layer, controller);
    return layer;
}

tlhost::Composition& Comp(Stage& stage, const char* name, double rate, A_Time duration,
                          A_Time work_start, A_Time work_duration) {
    tlhost::Composition& comp = stage.project().AddComposition(name);
    comp.width = 320;
    comp.height = 180;
    comp.frame_rate = rate;
    comp.frame_duration = tlhost::FrameDurationForRate(rate);
    comp.duration = duration;
    comp.work_area_start = work_start;
    comp.work_area_duration = work_duration;
    return comp;
}

std::vector<Keyframe> Keys(StreamValue a, StreamValue b) {
    return {Keyframe(0.0, std::move(a)), Keyframe(1.0, std::move(b))};
}

void BuildRig(Stage& stage) {
    tlhost::Composition& rig = Comp(stage, "Rig", 25, {2, 1}, {2, 5}, {2, 25});
    tlhost::Layer& controller = stage.project().AddLayer(rig, "Controller", LayerKind::Null, 1, 0);
    controller.set_flags(AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_NULL_LAYER);
    controller.duration = {2, 1};

    std::vector<Node> c1;
    c1.push_back(PathGroup("Path 1", Line(100, 180, 300, 180),
                           {"createPath([[100, 180], [300 + 100 * time, 180]], [], [], false)"}));
    c1.push_back(
        PathGroup("Path 2", Line(100, 150, 300, 150),
                  {nullptr, true, Keys(Line(100, 150, 300, 150), Line(100, 160, 310, 150))}));
    c1.push_back(Stroke({"4 + 10 * time"}));
    c1.push_back(Gradient("ADBE Vector Graphic - G-Stroke", "Gradient Stroke 1", true));
    c1.push_back(Gradient("ADBE Vector Graphic - G-Fill", "Gradient Fill 1", false));
    c1.push_back(Arrowheads());
    for (const char* module : {"Offset Paths", "Repeater", "Round Corners"}) {
        c1.push_back(ShapeGroup(module, {}));
    }
    c1.push_back(TrimPaths(true));
    c1.push_back(ShapeGroup("Twist", {}));
    c1.push_back(ShapeGroup("Wiggle Paths", {}, false));
    c1.push_back(ShapeGroup("Zig Zag", {}));
    std::vector<Node> outline;
    outline.push_back(
        Stroke({"2 + 2 * time", false, Keys(StreamValue::OneD(2), StreamValue::OneD(4))}));
    outline.push_back(Gradient("ADBE Vector Graphic - G-Stroke", "Gradient Stroke 1", true));
    std::vector<Node> contents1;
    contents1.push_back(ShapeGroup("Connection 1", std::move(c1)));
    contents1.push_back(ShapeGroup("Outline", std::move(outline), false));
    tlhost::Layer& line1 =
        ShapeLayer(stage, rig, 2, "Connection 1", std::move(contents1),
                   Transform({"[320 + 100 * time, 180, 0]"}, true,
                             {"[0, 0, 90 * time]", false,
                              Keys(StreamValue::ThreeD(0, 0, 10), StreamValue::ThreeD(0, 0, 50))},
                             {"linear(time, 0, 2, 100, 50)", false,
                              Keys(StreamValue::OneD(100), StreamValue::OneD(50))}),
                   1);
    line1.set_flags(AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_LAYER_IS_3D);
    line1.duration = {2, 1};

    std::vector<Node> c2;
    c2.push_back(PathGroup("Path 1", Line(100, 100, 300, 100),
                           {"createPath([[100, 100], [300, 100 + 50 * time]], [], [], false)"}));
    c2.push_back(Stroke({"3 + 3 * time"}));
    c2.push_back(Gradient("ADBE Vector Graphic - G-Stroke", "Gradient Stroke 1", true));
    std::vector<Node> contents2;
    contents2.push_back(ShapeGroup("Connection 2", std::move(c2)));
    tlhost::Layer& line2 =
        ShapeLayer(stage, rig, 3, "Connection 2", std::move(contents2), Transform({}), 1);
    line2.in_point = {8, 5};
    line2.duration = {2, 5};

    std::vector<Node> c3;
    c3.push_back(Stroke({}));
    std::vector<Node> contents3;
    contents3.push_back(ShapeGroup("Connection 3", std::move(c3)));
    ShapeLayer(stage, rig, 4, "Connection 3", std::move(contents3), Transform({}), 5).duration = {
        2, 1};
    tlhost::Layer& other =
        stage.project().AddLayer(rig, "Other Controller", LayerKind::Null, 5, rig.layers().size());
    other.set_flags(AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_NULL_LAYER);
    other.duration = {2, 1};

    stage.session->Apply(controller);
}

void BuildSelfStyled(Stage& stage) {
    tlhost::Composition& comp = Comp(stage, "Self Styled", 30, {1, 1}, {0, 1}, {1, 10});
    std::vector<Node> shape;
    shape.push_back(PathGroup("Path 1", Line(0, 0, 100, 0),
                              {"createPath([[0, 0], [100 + 50 * time, 0]], [], [], false)"}));
    shape.push_back(
        Stroke({"6 - 2 * time", false, Keys(StreamValue::OneD(6), StreamValue::OneD(4))}));
    shape.push_back(Gradient("ADBE Vector Graphic - G-Stroke", "Gradient Stroke 1", true));
    shape.push_back(TrimPaths(false));
    shape.push_back(Arrowheads());
    std::vector<Node> contents;
    contents.push_back(ShapeGroup("Shape 1", std::move(shape)));
    tlhost::Layer& styled = ShapeLayer(stage, comp, 11, "Styled Shape", std::move(contents),
                                       Transform({"[160, 90 + 10 * time, 0]"}), 0);
    styled.duration = {1, 1};

    std::vector<Node> neighbour;
    neighbour.push_back(Stroke({}));
    std::vector<Node> contents2;
    contents2.push_back(ShapeGroup("Neighbour", std::move(neighbour)));
    ShapeLayer(stage, comp, 12, "Neighbour", std::move(contents2), Transform({}), 11).duration = {
        1, 1};

    stage.session->Apply(styled);
}

}  // namespace

void BuildSweepProject(Stage& stage, const char* effect_layer) {
    StartSession(stage);
    if (!stage.session) return;
    BuildRig(stage);
    BuildSelfStyled(stage);
    stage.effect = stage.session->FindEffect(effect_layer);
    ASSERT_NE(stage.effect, nullptr) << effect_layer;
}

}  // namespace sweep
