#include "panel/PanelFixture.h"

#include <algorithm>
#include <functional>
#include <sstream>

#include "panel/ModuleTable.h"
#include "model/LayerControl.h"
#include "support/TestSupport.h"

namespace paneltest {

namespace {

using tlhost::Grouping;
using tlhost::StreamValue;
using tlhost::ValueKind;

StreamNode& Group(StreamNode& parent, const std::string& match_name, const std::string& name,
                  Grouping grouping = Grouping::Named) {
    return parent.AddChild(std::make_unique<StreamNode>(match_name, name, grouping));
}

StreamNode& Leaf(StreamNode& parent, const std::string& match_name, const std::string& name,
                 double value) {
    StreamNode& leaf = parent.AddChild(
        std::make_unique<StreamNode>(match_name, name, Grouping::Leaf, ValueKind::OneD));
    leaf.set_value(StreamValue::OneD(value));
    return leaf;
}

// A shape group "name" with its contents group, as the host nests vector groups.
StreamNode& ShapeGroup(StreamNode& parent, const std::string& name) {
    StreamNode& group = Group(parent, "ADBE Vector Group", name);
    return Group(group, "ADBE Vectors Group", "Contents", Grouping::Indexed);
}

void Collect(StreamNode& node, const std::function<bool(StreamNode&)>& take,
             std::vector<StreamNode*>* out) {
    if (take(node)) out->push_back(&node);
    for (const auto& child : node.children()) Collect(*child, take, out);
}

void DescribeInto(const StreamNode& node, const std::string& path, std::ostringstream& out) {
    const std::string here = path + "/" + node.name();
    out << here << (node.eyeball ? "" : " off") << (node.hidden() ? " hidden" : "");
    if (!node.expression.empty()) out << " = " << node.expression;
    out << "\n";
    for (const auto& child : node.children()) DescribeInto(*child, here, out);
}

}  // namespace

void PanelTest::SetUp() {
    session_ = tltest::StartInProcess();
    ASSERT_TRUE(session_);
    ASSERT_EQ(session_->ParamsSetup().result, PF_Err_NONE);
    comp_ = &P().AddComposition("Comp 1");
    controller_ = &P().AddLayer(*comp_, "Controller", tlhost::LayerKind::Null);
    effect_ = &session_->Apply(*controller_);
    ASSERT_EQ(effect_->params().size(), 151u);
    ASSERT_EQ(Record(), std::vector<std::uint8_t>(10, 0));
}

std::vector<std::uint8_t> PanelTest::Record() {
    return H().handles().Bytes(effect_->params()[41].def().u.arb_d.value);
}

void PanelTest::SetRecord(const std::vector<std::uint8_t>& bytes) {
    PF_Handle record = effect_->params()[41].def().u.arb_d.value;
    auto* data = static_cast<std::uint8_t*>(H().handles().Lock(record));
    std::copy(bytes.begin(), bytes.end(), data);
    H().handles().Unlock(record);
}

A_long PanelTest::Checkbox(int module) {
    return effect_->params()[static_cast<std::size_t>(43 + module)].def().u.bd.value;
}

double PanelTest::CheckboxStream(int module) {
    return effect_->ParamStream(static_cast<std::size_t>(43 + module))->value().v[0];
}

Layer& PanelTest::AddConnection(const std::string& name, std::optional<AEGP_LayerIDVal> target) {
    Layer& layer = P().AddLayer(*comp_, name, tlhost::LayerKind::Shape, 0, comp_->layers().size());

    // The host's Layer Control, pointing at the controller.
    tlhost::AddLayerControl(layer, target ? *target : controller_->id());

    // The connection's shapes: a path with its stroke, and the modules' groups around it.
    StreamNode& contents = *layer.root().FindChild("ADBE Root Vectors Group");
    StreamNode& line = ShapeGroup(contents, name);
    StreamNode& paths = ShapeGroup(line, "Paths");
    Group(paths, "ADBE Vector Shape - Group", "Path 1");
    StreamNode& stroke = Group(line, "ADBE Vector Graphic - Stroke", "Stroke 1");
    Leaf(stroke, "ADBE Vector Stroke Width", "Stroke Width", 4);
    StreamNode& dashes = Group(stroke, "ADBE Vector Stroke Dashes", "Dashes", Grouping::Indexed);
    for (const char* match_name : kDashMatchNames) {
        Leaf(dashes, match_name, match_name, 0).set_hidden(true);
    }
    for (const ModuleRow& row : kModuleTable) {
        if (row.shapes != ModuleShapes::NamedGroup) continue;
        // Alternate between the top of the connection and deep inside its paths.
        StreamNode& parent = (&row - kModuleTable) % 2 == 0 ? line : paths;
        StreamNode& module_contents = ShapeGroup(parent, row.group_name);
        module_contents.parent()->eyeball = false;
        Leaf(module_contents, "ADBE Vector Shape", "Shape", 0);
    }
    return layer;
}

std::vector<StreamNode*> PanelTest::GroupsNamed(Layer& layer, const std::string& name) {
    std::vector<StreamNode*> out;
    Collect(
        layer.root(), [&](StreamNode& n) { return n.is_group() && n.name() == name; }, &out);
    return out;
}

std::vector<StreamNode*> PanelTest::DashProperties(Layer& layer) {
    std::vector<StreamNode*> out;
    Collect(
        layer.root(),
        [&](StreamNode& n) {
            for (const char* m : kDashMatchNames) {
                if (n.match_name() == m) return true;
            }
            return false;
        },
        &out);
    return out;
}

std::string PanelTest::Describe(const StreamNode& node) {
    std::ostringstream out;
    DescribeInto(node, "", out);
    return out.str();
}

std::string PanelTest::DescribeProject() {
    std::string out;
    for (const auto& item : P().items()) {
        if (item->kind() != tlhost::ItemKind::Composition) continue;
        for (Layer* layer : static_cast<tlhost::Composition&>(*item).layers()) {
            out += Describe(layer->root());
        }
    }
    return out;
}

void PanelTest::FailNext(const std::string& function, std::uint64_t nth, A_Err error) {
    const std::uint64_t before = H().ledger().CallCount(function);
    H().faults().FailNthCallOf(function, before + nth, error);
}

}  // namespace paneltest
