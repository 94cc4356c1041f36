#include "assistant/AssistantFixture.h"

#ifdef TL_HAVE_EXPRESSIONS
#include "expressions/Expressions.h"
#endif

namespace assistanttest {

using tlhost::Grouping;
using tlhost::StreamValue;
using tlhost::ValueKind;

namespace {

tlhost::ShapePath TwoPoints(double x, double y) {
    tlhost::ShapePath path;
    path.vertices = {tlhost::PathVertex{0, 0, 0, 0, 0, 0}, tlhost::PathVertex{x, y, 0, 0, 0, 0}};
    return path;
}

}  // namespace

void AssistantTest::SetUp() {
    StyleTest::SetUp();
#ifdef TL_HAVE_EXPRESSIONS
    tlhost::InstallExpressionEngine(S().host());
#endif
}

void AssistantTest::SetTime(A_Time frame_duration, A_Time work_area_start,
                            A_Time work_area_duration) {
    Comp().frame_duration = frame_duration;
    Comp().frame_rate = static_cast<double>(frame_duration.scale) / frame_duration.value;
    Comp().work_area_start = work_area_start;
    Comp().work_area_duration = work_area_duration;
}

Line AssistantTest::Animate(Layer& layer) {
    Line line;
    line.layer = &layer;
    StreamNode& shape = Group(Contents(layer), "ADBE Vector Group", "Shape");
    StreamNode& inner = Group(shape, "ADBE Vectors Group", "Contents", Grouping::Indexed);
    StreamNode& path_group = Group(inner, "ADBE Vector Shape - Group", "Path 1");
    line.path = &path_group.AddChild(
        std::make_unique<StreamNode>("ADBE Vector Shape", "Path", Grouping::Leaf, ValueKind::Path));
    StreamValue path;
    path.kind = ValueKind::Path;
    path.path = TwoPoints(100, 0);
    line.path->set_value(path);
    line.path->expression = "createPath([[0, 0], [100 * time, 10]], [], [], false)";
    line.path->expression_enabled = true;

    StreamNode& stroke = Group(inner, "ADBE Vector Graphic - Stroke", "Stroke 1");
    line.width = &Leaf(stroke, "ADBE Vector Stroke Width", 2);
    line.width->expression = "time * 100";
    line.width->expression_enabled = true;

    StreamNode& transform = Child(layer.root(), "ADBE Transform Group");
    line.position = &Child(transform, "ADBE Position");
    line.position->expression = "[10 * time, 5, 0]";
    line.position->expression_enabled = true;
    line.orientation = &transform.AddChild(std::make_unique<StreamNode>(
        "ADBE Orientation", "Orientation", Grouping::Leaf, ValueKind::ThreeD));
    line.orientation->set_value(StreamValue::ThreeD(0, 0, 0));
    line.orientation->expression = "[0, 0, 90 * time]";
    line.orientation->expression_enabled = true;
    return line;
}

Line AssistantTest::AddAnimatedLine(const std::string& name, AEGP_LayerIDVal target) {
    return Animate(AddLine(name, target ? target : Controller().id()));
}

CommandReport AssistantTest::Press(int index, tlhost::EffectInstance* on) {
    return S().UserChangedParam(on ? *on : Effect(), index);
}

std::vector<A_Time> AssistantTest::KeyTimes(const StreamNode& node) {
    std::vector<A_Time> out;
    for (const tlhost::Keyframe& key : node.keyframes) out.push_back(key.time);
    return out;
}

void AssistantTest::Unbake(StreamNode& node) {
    node.keyframes.clear();
    node.expression_enabled = true;
}

const tlhost::UndoGroupRecord& AssistantTest::LastUndoGroup() {
    static const tlhost::UndoGroupRecord kNone{"(none)", false, {}};
    const auto& groups = P().undo_groups();
    EXPECT_FALSE(groups.empty());
    return groups.empty() ? kNone : groups.back();
}

}  // namespace assistanttest
