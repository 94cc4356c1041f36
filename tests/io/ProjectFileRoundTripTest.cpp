// Project files read back what was written: the bundled example, loaded, saved,
// loaded and saved again, gives the same project and the same bytes; Layer
// Control effects and resolved effects come back with their parameter values.
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "io/JsonLayout.h"
#include "io/ProjectFile.h"
#include "support/TestSupport.h"

namespace {

using namespace tlhost;

std::string ExampleText() {
    const std::string here = __FILE__;
    const std::string root = here.substr(0, here.rfind("/tests/io/"));
    std::ifstream in(root + "/examples/connections.json", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

nlohmann::json Example() {
    return nlohmann::json::parse(ExampleText());
}

// Places in the example.
const nlohmann::json::json_pointer kControllerStyles(
    "/items/0/layers/0/properties/children/0/children/0");
const nlohmann::json::json_pointer kConnection1Effects("/items/0/layers/1/properties/children/1");
const nlohmann::json::json_pointer kConnection1LayerParam(
    "/items/0/layers/1/properties/children/1/children/0/children/0");

void Load(const std::string& text, Project& project, const EffectResolver& resolver = {}) {
    LoadError error;
    ASSERT_TRUE(LoadProject(text, project, &error, resolver)) << error.message();
}

Layer& LayerNamed(const Project& project, const std::string& comp, const std::string& name) {
    Composition* c = project.FindComposition(comp);
    EXPECT_NE(c, nullptr) << comp;
    for (Layer* layer : c->layers()) {
        if (layer->name() == name) return *layer;
    }
    ADD_FAILURE() << "no layer " << name;
    return *c->layers().front();
}

// The first node below `node` with that match name and display name (any name when empty).
StreamNode* Find(StreamNode& node, const std::string& match_name, const std::string& name = "") {
    if (node.match_name() == match_name && (name.empty() || node.name() == name)) return &node;
    for (const auto& child : node.children()) {
        if (StreamNode* found = Find(*child, match_name, name)) return found;
    }
    return nullptr;
}

// Two trees hold the same properties, values, keyframes, expressions and flags.
void ExpectSameTree(const StreamNode& a, const StreamNode& b, const std::string& where) {
    ASSERT_EQ(a.match_name(), b.match_name()) << where;
    EXPECT_EQ(a.name(), b.name()) << where;
    EXPECT_EQ(a.grouping(), b.grouping()) << where;
    EXPECT_EQ(a.kind(), b.kind()) << where;
    EXPECT_EQ(a.value(), b.value()) << where;
    EXPECT_EQ(a.hidden(), b.hidden()) << where;
    EXPECT_EQ(a.eyeball, b.eyeball) << where;
    EXPECT_EQ(a.can_vary_over_time, b.can_vary_over_time) << where;
    EXPECT_EQ(a.expression, b.expression) << where;
    EXPECT_EQ(a.expression_enabled, b.expression_enabled) << where;
    EXPECT_EQ(a.expression_error, b.expression_error) << where;
    ASSERT_EQ(a.keyframes.size(), b.keyframes.size()) << where;
    for (std::size_t i = 0; i < a.keyframes.size(); ++i) {
        EXPECT_EQ(a.keyframes[i].time.value, b.keyframes[i].time.value) << where;
        EXPECT_EQ(a.keyframes[i].time.scale, b.keyframes[i].time.scale) << where;
        EXPECT_EQ(a.keyframes[i].value, b.keyframes[i].value) << where;
    }
    EXPECT_EQ(a.effect() != nullptr, b.effect() != nullptr) << where;
    EXPECT_EQ(a.param_index(), b.param_index()) << where;
    ASSERT_EQ(a.children().size(), b.children().size()) << where;
    for (std::size_t i = 0; i < a.children().size(); ++i)
        ExpectSameTree(*a.children()[i], *b.children()[i], where + "/" + a.children()[i]->name());
}

void ExpectSameProject(const Project& a, const Project& b) {
    ASSERT_EQ(a.items().size(), b.items().size());
    for (std::size_t i = 0; i < a.items().size(); ++i) {
        const Item& x = *a.items()[i];
        const Item& y = *b.items()[i];
        EXPECT_EQ(x.id(), y.id());
        EXPECT_EQ(x.name(), y.name());
        ASSERT_EQ(x.kind(), y.kind());
        if (x.kind() != ItemKind::Composition) continue;
        const auto& c = static_cast<const Composition&>(x);
        const auto& d = static_cast<const Composition&>(y);
        EXPECT_EQ(c.width, d.width);
        EXPECT_EQ(c.height, d.height);
        EXPECT_EQ(c.frame_rate, d.frame_rate);
        EXPECT_EQ(c.pixel_aspect.num, d.pixel_aspect.num);
        EXPECT_EQ(c.pixel_aspect.den, d.pixel_aspect.den);
        EXPECT_EQ(c.selection, d.selection);
        ASSERT_EQ(c.layers().size(), d.layers().size());
        for (std::size_t k = 0; k < c.layers().size(); ++k) {
            const Layer& l = *c.layers()[k];
            const Layer& m = *d.layers()[k];
            EXPECT_EQ(l.id(), m.id());
            EXPECT_EQ(l.name(), m.name());
            EXPECT_EQ(l.kind(), m.kind());
            EXPECT_EQ(l.flags(), m.flags());
            ASSERT_EQ(l.effects().size(), m.effects().size()) << l.name();
            for (std::size_t e = 0; e < l.effects().size(); ++e) {
                EXPECT_EQ(l.effects()[e]->match_name(), m.effects()[e]->match_name());
                EXPECT_EQ(l.effects()[e]->params().size(), m.effects()[e]->params().size());
            }
            ExpectSameTree(l.root(), m.root(), l.name());
        }
    }
    ASSERT_EQ(a.undo_groups().size(), b.undo_groups().size());
    for (std::size_t i = 0; i < a.undo_groups().size(); ++i) {
        EXPECT_EQ(a.undo_groups()[i].name, b.undo_groups()[i].name);
        EXPECT_EQ(a.undo_groups()[i].closed, b.undo_groups()[i].closed);
        EXPECT_EQ(a.undo_groups()[i].changes, b.undo_groups()[i].changes);
    }
}

// ---- The example as loaded.

TEST(ExampleProject, LoadsWithLayersInStackingOrderAndFoundById) {
    Project project;
    Load(ExampleText(), project);
    Composition* main = project.FindComposition("Main");
    ASSERT_NE(main, nullptr);
    std::vector<std::string> names;
    for (Layer* layer : main->layers()) names.push_back(layer->name());
    EXPECT_EQ(names, (std::vector<std::string>{"Controller", "Connection 1", "Connection 2",
                                               "Connection 3", "Connection 4", "Connection 5",
                                               "Controller 2", "Background"}));
    for (AEGP_LayerIDVal id = 1; id <= 10; ++id) ASSERT_NE(project.FindLayer(id), nullptr) << id;
    EXPECT_EQ(project.FindLayer(7)->name(), "Controller 2");
    EXPECT_EQ(project.FindLayer(9)->name(), "Styled Shape");
    EXPECT_EQ(&project.FindLayer(9)->comp(), project.FindComposition("Self Styled"));
    EXPECT_EQ(project.FindLayer(11), nullptr);

    EXPECT_EQ(project.FindLayer(1)->kind(), LayerKind::Null);
    EXPECT_EQ(project.FindLayer(1)->flags(),
              AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_NULL_LAYER);
    EXPECT_EQ(project.FindLayer(8)->flags(), AEGP_LayerFlag_VIDEO_ACTIVE | AEGP_LayerFlag_LOCKED);
    // A layer without "properties" keeps the host's tree for its kind.
    EXPECT_NE(project.FindLayer(8)->root().FindChild("ADBE Transform Group"), nullptr);

    EXPECT_EQ(main->frame_rate, 30.0);
    EXPECT_EQ(main->duration.value / static_cast<double>(main->duration.scale), 10.0);
    Composition* self = project.FindComposition("Self Styled");
    ASSERT_EQ(self->selection.size(), 1u);
    EXPECT_EQ(self->selection[0].layer_id, 9);
    EXPECT_EQ(project.items().size(), 4u);
    EXPECT_EQ(project.items()[2]->kind(), ItemKind::Folder);
    EXPECT_EQ(project.items()[3]->kind(), ItemKind::Footage);
}

TEST(ExampleProject, LayerControlEffectsPointAtTheirControllers) {
    Project project;
    Load(ExampleText(), project);
    const struct {
        const char* comp;
        const char* layer;
        AEGP_LayerIDVal target;
    } expected[] = {
        {"Main", "Connection 1", 1}, {"Main", "Connection 2", 1}, {"Main", "Connection 3", 1},
        {"Main", "Connection 4", 1}, {"Main", "Connection 5", 7}, {"Self Styled", "Neighbour", 9},
    };
    for (const auto& row : expected) {
        Layer& layer = LayerNamed(project, row.comp, row.layer);
        ASSERT_EQ(layer.effects().size(), 1u) << row.layer;
        EffectInstance& control = *layer.effects()[0];
        EXPECT_EQ(control.match_name(), "ADBE Layer Control");
        EXPECT_EQ(&control.group(), layer.effects_group().children()[0].get());
        ASSERT_EQ(control.params().size(), 2u);
        const HostParam& param = control.params()[1];
        EXPECT_EQ(param.def().param_type, PF_Param_LAYER);
        EXPECT_EQ(param.name(), "Layer");
        EXPECT_EQ(param.match_name, "ADBE Layer Control-0001");
        EXPECT_EQ(param.layer_id, row.target) << row.layer;
        // The parameter's stream is the node the file held, bound to the parameter.
        StreamNode* stream = control.ParamStream(1);
        ASSERT_NE(stream, nullptr);
        EXPECT_EQ(stream, control.group().children()[0].get());
        EXPECT_EQ(stream->effect(), &control);
        EXPECT_EQ(stream->value().layer_id, row.target);
    }
}

TEST(ExampleProject, WithoutAResolverThePluginsEffectStaysPlainNodes) {
    Project project;
    Load(ExampleText(), project);
    Layer& controller = *project.FindLayer(1);
    EXPECT_TRUE(controller.effects().empty());
    ASSERT_EQ(controller.effects_group().children().size(), 1u);
    EXPECT_EQ(controller.effects_group().children()[0]->match_name(), "LK TetherlineStyles");
    EXPECT_EQ(controller.effects_group().children()[0]->name(), "Tetherline - Styles");
}

TEST(ExampleProject, ShapePropertiesKeepValuesFlagsExpressionsAndKeyframes) {
    Project project;
    Load(ExampleText(), project);
    StreamNode& c1 = LayerNamed(project, "Main", "Connection 1").root();
    StreamNode* width = Find(c1, "ADBE Vector Stroke Width");
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->value(), StreamValue::OneD(5));
    EXPECT_NE(width->expression.find("fx(\"Stroke Width\")"), std::string::npos);
    EXPECT_TRUE(width->expression_enabled);  // an expression without the flag is switched on

    StreamNode* path = Find(c1, "ADBE Vector Shape");
    ASSERT_NE(path, nullptr);
    ASSERT_EQ(path->keyframes.size(), 2u);
    EXPECT_EQ(path->keyframes[1].seconds(), 2.0);
    EXPECT_EQ(path->ValueAt(0).path.vertices.size(), 2u);
    EXPECT_EQ(path->ValueAt(5).path.vertices[1].x, 400.0);

    StreamNode* cap = Find(c1, "ADBE Vector Stroke Line Cap");
    ASSERT_NE(cap, nullptr);
    EXPECT_FALSE(cap->can_vary_over_time);
    EXPECT_TRUE(Find(c1, "ADBE Vector Stroke Dash 1")->hidden());
    EXPECT_FALSE(Find(c1, "ADBE Vector Group", "Wiggle Paths")->eyeball);
    EXPECT_TRUE(Find(c1, "ADBE Vector Group", "Trim Paths")->eyeball);

    StreamNode& c2 = LayerNamed(project, "Main", "Connection 2").root();
    StreamNode* opacity = Find(c2, "ADBE Vector Stroke Opacity");
    EXPECT_FALSE(opacity->expression.empty());
    EXPECT_FALSE(opacity->expression_enabled);
    EXPECT_FALSE(Find(c2, "ADBE Vector Graphic - G-Stroke")->eyeball);
    EXPECT_EQ(
        Find(c2, "ADBE Vector Graphic - G-Stroke")->FindChild("ADBE Vector Grad Type")->value(),
        StreamValue::OneD(2));

    StreamNode& c4 = LayerNamed(project, "Main", "Connection 4").root();
    EXPECT_FALSE(Find(c4, "ADBE Vector Stroke Offset")->hidden());
    EXPECT_NE(Find(c4, "ADBE Vector Stroke Offset")->expression.find("LK TetherlineStyles-0094"),
              std::string::npos);
}

// ---- Round trips.

TEST(RoundTrip, ExampleSavedTwiceGivesTheSameBytesAndTheSameProject) {
    Project first;
    Load(ExampleText(), first);
    const std::string saved = SaveProject(first);
    Project second;
    Load(saved, second);
    ExpectSameProject(first, second);
    EXPECT_EQ(SaveProject(second), saved);
}

TEST(RoundTrip, TimesUndoLogSelectionAndOddValuesSurvive) {
    Project project;
    Composition& comp = project.AddComposition("Odd", 7);
    comp.frame_rate = 29.97;
    comp.duration = A_Time{1001, 30};  // not a whole number of seconds
    comp.work_area_start = A_Time{1, 3};
    comp.work_area_duration = A_Time{1, 2};
    comp.pixel_aspect = A_Ratio{10, 11};
    Layer& layer = project.AddLayer(comp, "Ünïcødé \"quoted\" / ~", LayerKind::Shape, 42);
    layer.in_point = A_Time{-3, 4};
    layer.set_flags(AEGP_LayerFlag_SHY | AEGP_LayerFlag_LAYER_IS_3D |
                    AEGP_LayerFlag_ENVIRONMENT_LAYER);
    StreamNode& leaf =
        project.FindLayer(42)
            ->root()
            .FindChild("ADBE Transform Group")
            ->AddChild(std::make_unique<StreamNode>("X Odd", "", Grouping::Leaf, ValueKind::Color));
    leaf.set_value(StreamValue::Color(0.1, 1.0 / 3, 1e-300, 0.5));
    leaf.keyframes.push_back({-1.5, StreamValue::Color(0, 0, 0, 0)});
    leaf.keyframes.push_back({0.1 + 0.2, StreamValue::Color(1, 1, 1, 1)});
    leaf.expression = "value\n/* \t */";
    leaf.expression_enabled = false;
    leaf.expression_error = "ReferenceError: x is not defined";
    comp.selection.push_back({42, {}});
    comp.selection.push_back({42, {2, 0}});
    project.AddItem(ItemKind::Folder, "Empty folder", 3);
    project.set_undo_groups(
        {{"Relink Expressions", true, {"Layer > Opacity: expression switched on"}},
         {"Open one", false, {}}});

    const std::string saved = SaveProject(project);
    Project back;
    Load(saved, back);
    ExpectSameProject(project, back);
    Composition& odd = *back.FindComposition("Odd");
    EXPECT_EQ(odd.id(), 7);
    EXPECT_EQ(odd.duration.value / static_cast<double>(odd.duration.scale), 1001.0 / 30);
    EXPECT_EQ(back.FindLayer(42)->in_point.value /
                  static_cast<double>(back.FindLayer(42)->in_point.scale),
              -0.75);
    EXPECT_EQ(SaveProject(back), saved);
    // Items added afterwards take ids after the ones read.
    EXPECT_EQ(back.AddComposition("New").id(), 8);
}

TEST(RoundTrip, EvaluatedValuesComeFromTheEvaluatorAndAreIgnoredOnLoad) {
    Project project;
    Load(ExampleText(), project);
    int calls = 0;
    const std::string saved = SaveProject(project, [&](StreamNode& leaf) {
        ++calls;
        return leaf.match_name() == "ADBE Vector Stroke Width" ? StreamValue::OneD(12.5)
                                                               : leaf.ValueAt(0);
    });
    EXPECT_GT(calls, 100);
    EXPECT_NE(saved.find("\"evaluated\": 12.5"), std::string::npos);
    Project back;
    Load(saved, back);
    EXPECT_EQ(
        Find(LayerNamed(back, "Main", "Connection 1").root(), "ADBE Vector Stroke Width")->value(),
        StreamValue::OneD(5));
}

// The writer writes a layer straight from the project, its numbers and layer
// values without building them as JSON: every kind of value, at every depth (so
// that each one fits on its line at some depths and is broken at others), with
// evaluated values of other kinds and values that are not finite, comes out as the
// whole document laid out at once.
TEST(RoundTrip, EveryValueAtEveryDepthIsLaidOutAsTheWholeDocument) {
    Project project;
    Composition& comp = project.AddComposition("Deep", 1);
    Layer& layer = project.AddLayer(comp, "Deep \"layer\"", LayerKind::Shape, 5);
    project.AddLayer(comp, "Other", LayerKind::Null, 2147483647);
    StreamValue path;
    path.kind = ValueKind::Path;
    path.path.closed = true;
    path.path.vertices = {{1, 2, 3, 4, 5, 6}, {0.1, 0.2, 0.3, 0.4, 0.5, 0.6}};
    StreamValue open_path;
    open_path.kind = ValueKind::Path;
    StreamValue arb;
    arb.kind = ValueKind::Arb;
    arb.bytes = {0, 1, 254, 255};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<StreamValue> values = {
        StreamValue{},
        StreamValue::OneD(1.0 / 3),
        StreamValue::OneD(nan),
        StreamValue::TwoD(-1e300, 12345.678901234),
        StreamValue::ThreeD(0.1 + 0.2, inf, -0.0),
        StreamValue::Color(1.0 / 3, 2.0 / 3, 1e-300, 0.123456789012345),
        StreamValue::Layer(2147483647),
        StreamValue::Layer(0),
        path,
        open_path,
        arb,
    };
    // Values one character longer than each other, so that at some depth each one
    // ends exactly at the line's end.
    for (double first : {1.0, 10.0, 100.0, 1000.0}) {
        values.push_back(StreamValue::ThreeD(first, 0.5, 0.25));
        StreamValue one_vertex = path;
        one_vertex.path.vertices = {{first, 0, 0, 0, 0, 0}};
        values.push_back(one_vertex);
        one_vertex.path.vertices.push_back({first, 1, 2, 3, 4, 5});
        values.push_back(one_vertex);
    }
    StreamNode* group = &layer.root();
    for (int depth = 0; depth < 24; ++depth) {
        for (const StreamValue& v : values) {
            auto leaf = std::make_unique<StreamNode>("X Leaf", "d" + std::to_string(depth),
                                                     Grouping::Leaf, v.kind);
            leaf->set_value(v);
            group->AddChild(std::move(leaf));
        }
        group = &group->AddChild(std::make_unique<StreamNode>(
            "X Group", std::string(depth % 3 == 0 ? 40 : 1, 'g'), Grouping::Named));
    }
    // Each leaf evaluates to the value after its own in the list, mostly of another kind.
    const std::size_t count = values.size();
    const auto evaluate = [&](StreamNode& leaf) {
        for (std::size_t i = 0; i < count; ++i) {
            if (values[i] == leaf.value()) return values[(i + 1) % count];
        }
        return StreamValue{};
    };
    const std::string saved = SaveProject(project, evaluate);
    EXPECT_EQ(saved, io::LayOut(io::LayoutJson::parse(saved)));
    EXPECT_NE(saved.find("\"value\": null"), std::string::npos);
    EXPECT_NE(saved.find("\"layer\": 2147483647"), std::string::npos);
}

// ---- Effects given their parameters by a resolver.

// Declares three parameters of a made-up effect, as parameter setup would.
bool DeclareThree(Layer&, EffectInstance& effect) {
    if (effect.match_name() != "LK TetherlineStyles") return false;
    PF_ParamDef input{};
    input.param_type = PF_Param_LAYER;
    effect.params().emplace_back(input);
    PF_ParamDef color{};
    color.param_type = PF_Param_COLOR;
    color.u.cd.value = {255, 255, 255, 255};
    PF_ParamDef width{};
    width.param_type = PF_Param_FLOAT_SLIDER;
    width.u.fs_d.value = 5;
    width.u.fs_d.valid_min = 0;
    width.u.fs_d.valid_max = 100;
    PF_ParamDef cap{};
    cap.param_type = PF_Param_POPUP;
    cap.flags = PF_ParamFlag_CANNOT_TIME_VARY;
    cap.u.pd.value = 1;
    cap.u.pd.num_choices = 3;
    const struct {
        PF_ParamDef def;
        const char* name;
        const char* match_name;
    } rows[] = {
        {color, "Stroke Color", "LK TetherlineStyles-0002"},
        {width, "Stroke Width", "LK TetherlineStyles-0008"},
        {cap, "Line Cap", "LK TetherlineStyles-0009"},
    };
    for (const auto& row : rows) {
        HostParam param(row.def);
        param.set_name(row.name);
        param.match_name = row.match_name;
        effect.params().push_back(param);
    }
    effect.AttachParamStreams();
    return true;
}

std::string WithStylesChildren(const std::string& children) {
    nlohmann::json doc = Example();
    doc[kControllerStyles]["children"] = nlohmann::json::parse("[" + children + "]");
    return doc.dump();
}

TEST(ResolvedEffects, ValuesAndHiddenFlagsInTheFileWinOverDefaults) {
    Project project;
    Load(
        WithStylesChildren(
            R"({"match_name": "LK TetherlineStyles-0008", "name": "Stroke Width", "kind": "one_d", "value": 7.5},
                {"match_name": "LK TetherlineStyles-0009", "name": "Line Cap", "kind": "one_d", "value": 2, "hidden": true})"),
        project, DeclareThree);
    for (AEGP_LayerIDVal id : {1, 9}) {
        Layer& layer = *project.FindLayer(id);
        ASSERT_EQ(layer.effects().size(), 1u);
        EXPECT_EQ(layer.effects()[0]->params().size(), 4u);
    }
    EffectInstance& styles = *project.FindLayer(1)->effects()[0];
    EXPECT_EQ(styles.params()[1].def().u.cd.value.red, 255);  // not in the file: the default
    EXPECT_EQ(styles.params()[2].def().u.fs_d.value, 7.5);
    EXPECT_EQ(styles.params()[3].def().u.pd.value, 2);
    EXPECT_TRUE(styles.params()[3].hidden);
    EXPECT_FALSE(styles.params()[2].hidden);
    EXPECT_FALSE(styles.ParamStream(3)->can_vary_over_time);
    // Streams the file did not hold are added after the ones it did.
    EXPECT_EQ(styles.group().children()[2]->match_name(), "LK TetherlineStyles-0002");

    styles.params()[2].def().u.fs_d.value = 9.25;  // as the plug-in would change it
    const std::string saved = SaveProject(project);
    Project back;
    Load(saved, back, DeclareThree);
    ExpectSameProject(project, back);
    EXPECT_EQ(back.FindLayer(1)->effects()[0]->params()[2].def().u.fs_d.value, 9.25);
    EXPECT_TRUE(back.FindLayer(1)->effects()[0]->params()[3].hidden);
    EXPECT_EQ(SaveProject(back), saved);
}

TEST(ResolvedEffects, AStreamOfTheWrongKindForItsParameterIsRefused) {
    Project project;
    LoadError error;
    EXPECT_FALSE(LoadProject(
        WithStylesChildren(
            R"({"match_name": "LK TetherlineStyles-0008", "name": "Stroke Width", "kind": "color", "value": [1, 0, 0, 1]})"),
        project, &error, DeclareThree));
    EXPECT_EQ(error.where, "/items/0/layers/0/properties/children/0/children/0/children/0/kind");
    EXPECT_NE(error.what.find("does not fit"), std::string::npos) << error.what;
    EXPECT_TRUE(project.items().empty());
}

TEST(ResolvedEffects, AnUnresolvedEffectStaysPlainAndLaterEffectsStillGetTheirGroups) {
    // An unknown effect before Connection 1's Layer Control.
    nlohmann::json doc = Example();
    auto& effects = doc[kConnection1Effects]["children"];
    effects.insert(effects.begin(), nlohmann::json::parse(R"(
        {"match_name": "ADBE Slider Control", "name": "Slider Control", "group": "named",
         "children": [{"match_name": "ADBE Slider Control-0001", "name": "Slider", "kind": "one_d",
                       "value": 3}]})"));
    const std::string text = doc.dump();
    for (bool with_resolver : {false, true}) {
        Project project;
        int asked = 0;
        Load(text, project,
             with_resolver ? EffectResolver([&](Layer&, EffectInstance& effect) {
                 asked += effect.match_name() == "ADBE Slider Control";
                 return false;
             })
                           : EffectResolver());
        Layer& layer = *project.FindLayer(2);
        ASSERT_EQ(layer.effects().size(), 1u);
        EXPECT_EQ(layer.effects()[0]->match_name(), "ADBE Layer Control");
        EXPECT_EQ(&layer.effects()[0]->group(), layer.effects_group().children()[1].get());
        EXPECT_EQ(layer.effects()[0]->params()[1].layer_id, 1);
        EXPECT_EQ(layer.effects_group().children()[0]->children()[0]->effect(), nullptr);
        EXPECT_EQ(asked, with_resolver ? 1 : 0);
    }
}

TEST(ResolvedEffects, ALayerControlParameterHiddenInTheFileStaysHidden) {
    nlohmann::json doc = Example();
    doc[kConnection1LayerParam]["hidden"] = true;
    const std::string text = doc.dump();
    Project project;
    Load(text, project);
    EXPECT_TRUE(project.FindLayer(2)->effects()[0]->params()[1].hidden);
    EXPECT_FALSE(project.FindLayer(3)->effects()[0]->params()[1].hidden);
}

// The plug-in's own parameters, declared by its parameter setup in this process.
TEST(ResolvedEffects, ThePluginsDeclaredParametersRoundTripThroughASession) {
    auto resolver_for = [](Session& session) {
        return [&session](Layer&, EffectInstance& effect) {
            if (effect.match_name() != session.registration().match_name) return false;
            session.Instantiate(effect);
            return true;
        };
    };
    auto first = tltest::StartInProcess();
    ASSERT_TRUE(first);
    ASSERT_EQ(first->ParamsSetup().result, PF_Err_NONE);
    const std::size_t declared = first->declared_params().size();
    ASSERT_GT(declared, 0u);
    Load(ExampleText(), first->host().project(), resolver_for(*first));
    EffectInstance* controller = first->FindEffect("Controller");
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->params().size(), declared + 1);
    ASSERT_NE(first->FindEffect("Styled Shape"), nullptr);
    const std::string saved = SaveProject(first->host().project());

    auto second = tltest::StartInProcess();
    ASSERT_TRUE(second);
    ASSERT_EQ(second->ParamsSetup().result, PF_Err_NONE);
    Load(saved, second->host().project(), resolver_for(*second));
    ExpectSameProject(first->host().project(), second->host().project());
    EXPECT_EQ(SaveProject(second->host().project()), saved);
}

}  // namespace
