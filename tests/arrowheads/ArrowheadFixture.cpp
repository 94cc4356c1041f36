#include "arrowheads/ArrowheadFixture.h"

#include <functional>

#ifdef TL_HAVE_EXPRESSIONS
#include "expressions/Expressions.h"
#endif

namespace arrowtest {

using tlhost::Grouping;
using tlhost::ValueKind;

namespace {

StreamNode& NamedGroup(StreamNode& parent, const std::string& match_name, const std::string& name,
                       Grouping grouping = Grouping::Named) {
    return parent.AddChild(std::make_unique<StreamNode>(match_name, name, grouping));
}

// A shape group and its contents group, which is returned.
StreamNode& ShapeGroup(StreamNode& parent, const std::string& name) {
    StreamNode& group = NamedGroup(parent, "ADBE Vector Group", name);
    return NamedGroup(group, "ADBE Vectors Group", "Contents", Grouping::Indexed);
}

// A path operator named `name` holding `path`.
void PathOperator(StreamNode& parent, const std::string& name, const tlhost::ShapePath& path) {
    StreamNode& op = NamedGroup(parent, "ADBE Vector Shape - Group", name);
    StreamNode& leaf = op.AddChild(
        std::make_unique<StreamNode>("ADBE Vector Shape", "Path", Grouping::Leaf, ValueKind::Path));
    StreamValue value;
    value.kind = ValueKind::Path;
    value.path = path;
    leaf.set_value(value);
}

tlhost::ShapePath Line(double y) {
    tlhost::ShapePath path;
    path.vertices = {tlhost::PathVertex{PathStartX(), y, 0, 0, 60, 0},
                     tlhost::PathVertex{PathEndX(), y, -60, 0, 0, 0}};
    return path;
}

tlhost::ShapePath Triangle() {
    tlhost::ShapePath path;
    path.closed = true;
    path.vertices = {tlhost::PathVertex{-12, -8, 0, 0, 0, 0}, tlhost::PathVertex{12, 0, 0, 0, 0, 0},
                     tlhost::PathVertex{-12, 8, 0, 0, 0, 0}};
    return path;
}

void Collect(StreamNode& node, const std::string& name, std::vector<StreamNode*>& out) {
    if (node.is_group() && node.name() == name && node.parent()) out.push_back(&node);
    for (const auto& child : node.children()) Collect(*child, name, out);
}

}  // namespace

void ArrowheadTest::SetUp() {
    StyleTest::SetUp();
#ifdef TL_HAVE_EXPRESSIONS
    tlhost::InstallExpressionEngine(S().host());
#endif
}

void ArrowheadTest::Build(Layer& layer, const Connection& connection) {
    StreamNode& inner =
        ShapeGroup(Contents(layer), connection.group.empty() ? layer.name() : connection.group);
    StreamNode& paths = ShapeGroup(inner, "Paths");
    for (int n : connection.paths) {
        PathOperator(ShapeGroup(paths, "Path " + std::to_string(n)), "Path", Line(PathY(n)));
    }
    StreamNode& arrowheads = ShapeGroup(inner, "Arrowheads");
    for (const auto& [set, operators] : connection.sets) {
        StreamNode& contents = ShapeGroup(arrowheads, set);
        for (const std::string& op : operators) PathOperator(contents, op, Triangle());
        StreamNode& fill = NamedGroup(contents, "ADBE Vector Graphic - Fill", "Fill 1");
        Leaf(fill, "ADBE Vector Fill Opacity", 100);
    }
}

Layer& ArrowheadTest::AddConnection(const std::string& name, const Connection& connection,
                                    AEGP_LayerIDVal target) {
    Layer& layer = AddLine(name, target != 0 ? target : Controller().id());
    if (connection.three_d) P().SetLayer3D(layer, true);
    Build(layer, connection);
    return layer;
}

CommandReport ArrowheadTest::Press(tlhost::EffectInstance* on) {
    return S().UserChangedParam(on ? *on : Effect(), kCreatePlaceholders);
}

std::vector<Layer*> ArrowheadTest::Placeholders(tlhost::Composition* comp) {
    std::vector<Layer*> out;
    for (Layer* layer : (comp ? *comp : Comp()).layers()) {
        const tlhost::Item* source = layer->source();
        if (source && source->kind() == tlhost::ItemKind::Composition &&
            source->name() == "TL_Arrowhead") {
            out.push_back(layer);
        }
    }
    return out;
}

std::vector<tlhost::Composition*> ArrowheadTest::PlaceholderComps() {
    std::vector<tlhost::Composition*> out;
    for (const auto& item : P().items()) {
        if (item->kind() == tlhost::ItemKind::Composition && item->name() == "TL_Arrowhead") {
            out.push_back(static_cast<tlhost::Composition*>(item.get()));
        }
    }
    return out;
}

StreamNode* ArrowheadTest::TransformProperty(Layer& layer, const std::string& match_name) {
    StreamNode* transform = layer.root().FindChild("ADBE Transform Group");
    return transform ? transform->FindChild(match_name) : nullptr;
}

StreamValue ArrowheadTest::After(Layer& layer, const std::string& match_name) {
    StreamNode* node = TransformProperty(layer, match_name);
    if (!node) {
        ADD_FAILURE() << layer.name() << " has no " << match_name;
        return StreamValue{};
    }
#ifdef TL_HAVE_EXPRESSIONS
    const StreamValue value = tlhost::ValueAfterExpressions(P(), *node, 0);
    EXPECT_EQ(node->expression_error, "") << layer.name() << " " << match_name;
    return value;
#else
    return node->ValueAt(0);
#endif
}

std::vector<std::uint8_t> ArrowheadTest::Record() {
    return S().host().handles().Bytes(Effect().params()[kModulesParam].def().u.arb_d.value);
}

std::vector<StreamNode*> ArrowheadTest::GroupsNamed(Layer& layer, const std::string& name) {
    std::vector<StreamNode*> out;
    Collect(layer.root(), name, out);
    return out;
}

const tlhost::UndoGroupRecord& ArrowheadTest::LastUndoGroup() {
    static const tlhost::UndoGroupRecord kNone{"(none)", false, {}};
    const auto& groups = P().undo_groups();
    if (groups.empty()) {
        ADD_FAILURE() << "no undo group";
        return kNone;
    }
    return groups.back();
}

}  // namespace arrowtest
