// The objects an expression sees: globals, layers, effects, parameters, shape
// contents, transforms and paths, and how a result becomes the property's value.
#include <cmath>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "expressions/ExpressionFixture.h"

namespace tltest {
namespace {

using ::testing::HasSubstr;
using tlhost::StreamValue;
using tlhost::ValueKind;

using ObjectModel = ExpressionTest;

TEST_F(ObjectModel, GlobalsDescribeTheEvaluatedProperty) {
    tlhost::StreamNode& opacity = Transform(*connection, "ADBE Opacity");
    opacity.keyframes = {{0, StreamValue::OneD(0)}, {4, StreamValue::OneD(80)}};
    EXPECT_DOUBLE_EQ(Number("time", &opacity, 2.5), 2.5);
    EXPECT_DOUBLE_EQ(Number("value", &opacity, 1), 20);  // before expressions, at that time
    EXPECT_DOUBLE_EQ(Number("thisProperty.name == 'Opacity' ? 1 : 0"), 1);
    // The layer's attributes are globals: name, index, effect, content, transform.
    EXPECT_DOUBLE_EQ(Number("name == 'Connection' && thisLayer.name == name ? 1 : 0"), 1);
    EXPECT_DOUBLE_EQ(Number("index"), 2);
    EXPECT_DOUBLE_EQ(Number("thisComp.numLayers"), 2);
    EXPECT_DOUBLE_EQ(Number("thisComp.name == 'Comp 1' ? 1 : 0"), 1);
    EXPECT_NEAR(Number("thisComp.frameDuration"), 1.0 / 30, 1e-12);
    EXPECT_DOUBLE_EQ(Number("comp('Comp 1').numLayers"), 2);
    // Assigning to a layer attribute makes it an ordinary variable.
    EXPECT_DOUBLE_EQ(Number("name = 3; name + 1"), 4);
}

TEST_F(ObjectModel, LayersByNameOrStackingIndex) {
    EXPECT_DOUBLE_EQ(Number("thisComp.layer(1).name == 'Controller' ? 1 : 0"), 1);
    EXPECT_DOUBLE_EQ(Number("thisComp.layer('Connection').index"), 2);
    EXPECT_DOUBLE_EQ(Number("thisComp.layer(thisLayer, -1).index"), 1);
    EXPECT_THAT(Error("thisComp.layer('Nope').index"), HasSubstr("Layer named 'Nope' is missing"));
    EXPECT_THAT(Error("thisComp.layer(3).index"), HasSubstr("Layer index 3 is out of range"));
    EXPECT_THAT(Error("thisComp.layer(0).index"), HasSubstr("out of range"));
    EXPECT_THAT(Error("comp('Other').numLayers"), HasSubstr("Composition named 'Other'"));
}

TEST_F(ObjectModel, EffectsByNameMatchNameOrIndex) {
    const std::string layer = "thisComp.layer('Controller')";
    EXPECT_DOUBLE_EQ(Number(layer + ".effect('Tetherline - Styles')('Miter Limit')"), 4);
    EXPECT_DOUBLE_EQ(Number(layer + ".effect('LK TetherlineStyles')('Miter Limit')"), 4);
    EXPECT_DOUBLE_EQ(Number(layer + ".effect(1)('Miter Limit')"), 4);
    EXPECT_DOUBLE_EQ(Number(layer + ".effect(1).name == 'Tetherline - Styles' ? 1 : 0"), 1);
    EXPECT_THAT(Error(layer + ".effect('Blur')"), HasSubstr("Effect named 'Blur' is missing"));
    EXPECT_THAT(Error(layer + ".effect(2)"), HasSubstr("Effect index 2 is out of range"));
    EXPECT_THAT(Error("effect('LK TetherlineStyles')"), HasSubstr("Effect named"));
}

TEST_F(ObjectModel, ParametersByFirstDisplayNameMatchNameOrIndex) {
    const std::string fx = "fx = thisComp.layer('Controller').effect('LK TetherlineStyles'); ";
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Miter Limit').value"), 4);
    EXPECT_DOUBLE_EQ(Number(fx + "fx('LK TetherlineStyles-0011').value"), 4);
    EXPECT_DOUBLE_EQ(Number(fx + "fx(11).value"), 4);
    EXPECT_DOUBLE_EQ(Number(fx + "fx.param('Gap').value"), 6);
    // A repeated display name finds the first parameter: "Dashes" is the checkbox
    // (45), not the group start (91); "Offset" is the checkbox (46), not the slider.
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Dashes').value"), 1);
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Offset').value"), 0);
    EXPECT_DOUBLE_EQ(Number(fx + "fx('LK TetherlineStyles-0094').value"), 3);
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Miter Limit').name == 'Miter Limit' ? 1 : 0"), 1);
    EXPECT_THAT(Error(fx + "fx('Mitre Limit')"), HasSubstr("Property named 'Mitre Limit'"));
    EXPECT_THAT(Error(fx + "fx(0)"), HasSubstr("Property index 0 is out of range"));
    // The group start holds no value.
    EXPECT_THAT(Error(fx + "fx(91).value"), HasSubstr("has no value"));
}

TEST_F(ObjectModel, PropertiesActAsTheirValues) {
    const std::string fx = "fx = thisComp.layer('Controller').effect('LK TetherlineStyles'); ";
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Miter Limit') * 2"), 8);
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Miter Limit') + fx('Gap')"), 10);
    EXPECT_DOUBLE_EQ(Number(fx + "if (fx('Dashes') > 0) 1; else 2;"), 1);
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Gap') == 6 ? 1 : 0"), 1);
    EXPECT_DOUBLE_EQ(Number(fx + "Math.max(fx('Gap'), fx('Dash'))"), 12);
    // A property as the final result gives its value.
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Dash');"), 12);
    EXPECT_DOUBLE_EQ(Number(fx + "p = fx('Dash'); p"), 12);
}

TEST_F(ObjectModel, ValueAtTimeFollowsKeyframes) {
    Param(92).keyframes = {{0, StreamValue::OneD(0)}, {2, StreamValue::OneD(10)}};
    const std::string fx = "fx = thisComp.layer('Controller').effect('LK TetherlineStyles'); ";
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Dash').valueAtTime(1)"), 5);
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Dash').value", nullptr, 2), 10);
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Dash').numKeys"), 2);
}

TEST_F(ObjectModel, LayerParametersReadAsTheLayersIndex) {
    styles->params()[124].layer_id = connection->id();
    const std::string fx = "fx = thisComp.layer('Controller').effect('LK TetherlineStyles'); ";
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Layer').value"), 2);
    EXPECT_DOUBLE_EQ(Number(fx + "thisComp.layer(fx('Layer')).name == 'Connection' ? 1 : 0"), 1);
    styles->params()[124].layer_id = 0;
    EXPECT_DOUBLE_EQ(Number(fx + "fx('Layer').value"), 0);
}

TEST_F(ObjectModel, ContentsByNameOrMatchName) {
    const std::string stroke = "thisComp.layer('Connection').content('Stroke Group')";
    EXPECT_DOUBLE_EQ(Number(stroke + ".content('Stroke 1').property('Miter Limit').value"), 1);
    EXPECT_DOUBLE_EQ(
        Number(stroke + ".content('ADBE Vector Graphic - Stroke')"
                        ".property('ADBE Vector Stroke Dashes').property(2).name == 'Gap' ? 1 : 0"),
        1);
    EXPECT_DOUBLE_EQ(Number("content('Stroke Group').content(1).name == 'Stroke 1' ? 1 : 0"), 1);
    EXPECT_DOUBLE_EQ(Number(stroke + ".content('Stroke 1').propertyGroup(2).name == "
                                     "'Stroke Group' ? 1 : 0"),
                     1);
    EXPECT_THAT(Error(stroke + ".content('Fill 1')"),
                HasSubstr("Property named 'Fill 1' is missing"));
    EXPECT_THAT(Error("thisComp.layer('Connection').content('Stroke 1')"),
                HasSubstr("'Stroke 1' is missing"));
}

TEST_F(ObjectModel, TransformAndOrientation) {
    Transform(*controller, "ADBE Position").set_value(StreamValue::ThreeD(10, 20, 0));
    Transform(*controller, "ADBE Rotate Z").set_value(StreamValue::OneD(45));
    const std::string ctl = "thisComp.layer('Controller')";
    EXPECT_DOUBLE_EQ(Number(ctl + ".position[1]"), 20);
    EXPECT_DOUBLE_EQ(Number(ctl + ".transform.position.value[0]"), 10);
    EXPECT_DOUBLE_EQ(Number(ctl + ".rotation"), 45);
    EXPECT_DOUBLE_EQ(Number(ctl + ".opacity"), 100);
    // Through the layer's transform: turned 45 degrees, then moved to (10, 20).
    EXPECT_NEAR(Number(ctl + ".toWorld([4, 0])[0]"), 10 + 4 / std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(Number(ctl + ".toWorld([4, 0])[1]"), 20 + 4 / std::sqrt(2.0), 1e-9);
    // Orientation exists on 3D layers only; scripts detect 3D by reading it.
    const std::string probe =
        "is3dB = true; try { foo = orientation.value; } catch(e){ is3dB = false; }"
        "is3dB ? 1 : 0";
    EXPECT_DOUBLE_EQ(Number(probe), 0);
    EXPECT_THAT(Error(ctl + ".orientation"), HasSubstr("not 3D"));
    connection->set_flags(connection->flags() | AEGP_LayerFlag_LAYER_IS_3D);
    EXPECT_DOUBLE_EQ(Number(probe), 1);
    EXPECT_DOUBLE_EQ(Number("orientation.value[2]"), 0);
    tlhost::StreamNode& transform = *connection->root().FindChild("ADBE Transform Group");
    AddLeaf(transform, "ADBE Orientation", "Orientation", StreamValue::ThreeD(0, 90, 0));
    EXPECT_DOUBLE_EQ(Number("orientation[1]"), 90);
}

// How each kind of property takes an expression's result.
struct Conversion {
    StreamValue target;  // the property's kind and value before expressions
    const char* text;
    StreamValue expected;  // meaningful when error is null
    const char* error;
};

const Conversion kConversions[] = {
    {StreamValue::OneD(5), "true", StreamValue::OneD(1), nullptr},
    {StreamValue::OneD(5), "value * 2", StreamValue::OneD(10), nullptr},
    {StreamValue::OneD(5), "[1, 2]", {}, "must be of dimension 1, not 2"},
    {StreamValue::OneD(5), "undefined", {}, "result is undefined"},
    {StreamValue::OneD(5), "var x = 1;", {}, "result is undefined"},
    {StreamValue::OneD(5), "0 / 0", {}, "finite"},
    {StreamValue::OneD(5), "'12'", {}, "must be a number, not string"},
    {StreamValue::TwoD(1, 2), "[3, 4]", StreamValue::TwoD(3, 4), nullptr},
    {StreamValue::TwoD(1, 2), "[3, 4, 5]", StreamValue::TwoD(3, 4), nullptr},
    {StreamValue::TwoD(1, 2), "7", {}, "must be of dimension 2, not 1"},
    {StreamValue::TwoD(1, 2), "[value[1], value[0]]", StreamValue::TwoD(2, 1), nullptr},
    {StreamValue::ThreeD(1, 2, 3), "[4, 5]", StreamValue::ThreeD(4, 5, 0), nullptr},
    {StreamValue::ThreeD(1, 2, 3), "[4]", {}, "must be of dimension 3, not 1"},
    {StreamValue::ThreeD(1, 2, 3), "[4, 'x', 6]", {}, "must be a number, not string"},
    {StreamValue::Color(0, 0, 0, 1), "[0.25, 0.5, 0.75]", StreamValue::Color(0.25, 0.5, 0.75, 1),
     nullptr},
    {StreamValue::Color(0, 0, 0, 1), "[1, 0, 0, 0.5]", StreamValue::Color(1, 0, 0, 0.5), nullptr},
    {StreamValue::Color(0, 0, 0, 1), "[1, 0]", {}, "must be of dimension 4, not 2"},
};

TEST_F(ObjectModel, ResultsTakeThePropertysKind) {
    tlhost::StreamNode& transform = *connection->root().FindChild("ADBE Transform Group");
    for (const Conversion& c : kConversions) {
        tlhost::StreamNode& node = AddLeaf(transform, "Test", "Test", c.target);
        const tlhost::EvalResult r = Eval(c.text, &node);
        if (c.error) {
            EXPECT_FALSE(r.ok) << c.text;
            EXPECT_THAT(r.error, HasSubstr(c.error)) << c.text;
            EXPECT_EQ(r.value, c.target) << c.text << ": falls back to the value before";
        } else {
            EXPECT_TRUE(r.ok) << c.text << ": " << r.error;
            EXPECT_EQ(r.value, c.expected) << c.text;
        }
        transform.RemoveChild(transform.children().size() - 1);
    }
}

TEST_F(ObjectModel, LayerPropertiesTakeALayerOrItsIndex) {
    tlhost::StreamNode& node = Param(124);
    const tlhost::EvalResult by_index = Eval("2", &node);
    ASSERT_TRUE(by_index.ok) << by_index.error;
    EXPECT_EQ(by_index.value, StreamValue::Layer(connection->id()));
    const tlhost::EvalResult by_object = Eval("thisComp.layer('Controller')", &node);
    ASSERT_TRUE(by_object.ok) << by_object.error;
    EXPECT_EQ(by_object.value, StreamValue::Layer(controller->id()));
    EXPECT_EQ(Eval("0", &node).value, StreamValue::Layer(0));
    EXPECT_THAT(Eval("9", &node).error, HasSubstr("Layer index 9"));
}

TEST_F(ObjectModel, PathsGivePointsAndTheirPlaceAlongTheArc) {
    const std::string p =
        "p = thisComp.layer('Connection').content('Connection').content('Paths')"
        ".content('Path 1').content('Path').path; ";
    EXPECT_DOUBLE_EQ(Number(p + "p.points().length"), 3);
    EXPECT_DOUBLE_EQ(Number(p + "p.points()[2][1]"), 100);
    EXPECT_DOUBLE_EQ(Number(p + "p.isClosed() ? 1 : 0"), 0);
    // Half of the arc length is the corner; a quarter is half of the first leg.
    EXPECT_NEAR(Number(p + "p.pointOnPath(0.5)[0]"), 100, 1e-9);
    EXPECT_NEAR(Number(p + "p.pointOnPath(0.25)[0]"), 50, 1e-9);
    EXPECT_NEAR(Number(p + "p.pointOnPath(0.75)[1]"), 50, 1e-9);
    EXPECT_NEAR(Number(p + "p.pointOnPath(2)[1]"), 100, 1e-9);  // clamped to the end
    EXPECT_NEAR(Number(p + "p.tangentOnPath(0.25)[0]"), 1, 1e-9);
    EXPECT_NEAR(Number(p + "p.tangentOnPath(0.75)[1]"), 1, 1e-9);
    EXPECT_NEAR(Number(p + "p.value.pointOnPath(1)[0]"), 100, 1e-9);

    // A curved segment: a quarter circle by Bezier handles; its middle lies on the
    // diagonal and its tangent there is at 45 degrees.
    const double k = 0.5522847498 * 100;
    path->set_value([&] {
        StreamValue v;
        v.kind = ValueKind::Path;
        v.path.vertices = {{100, 0, 0, 0, 0, k}, {0, 100, k, 0, 0, 0}};
        return v;
    }());
    EXPECT_NEAR(Number(p + "pt = p.pointOnPath(0.5); pt[0] - pt[1]"), 0, 1e-6);
    EXPECT_NEAR(Number(p + "pt = p.pointOnPath(0.5); Math.sqrt(pt[0]*pt[0] + pt[1]*pt[1])"), 100,
                0.05);
    EXPECT_NEAR(Number(p + "t = p.tangentOnPath(0.5); t[0] + t[1]"), 0, 1e-6);
    EXPECT_NEAR(Number(p + "t = p.tangentOnPath(0.5); t[0]*t[0] + t[1]*t[1]"), 1, 1e-9);
}

TEST_F(ObjectModel, PathPropertiesTakeAPath) {
    const tlhost::EvalResult same = Eval("value", path);
    ASSERT_TRUE(same.ok) << same.error;
    EXPECT_EQ(same.value, path->value());
    const tlhost::EvalResult made =
        Eval("createPath([[0, 0], [10, 0]], [[0, 0], [-1, 2]], [[3, 4], [0, 0]], false)", path);
    ASSERT_TRUE(made.ok) << made.error;
    ASSERT_EQ(made.value.path.vertices.size(), 2u);
    EXPECT_EQ(made.value.path.vertices[1], (tlhost::PathVertex{10, 0, -1, 2, 0, 0}));
    EXPECT_EQ(made.value.path.vertices[0], (tlhost::PathVertex{0, 0, 0, 0, 3, 4}));
    EXPECT_FALSE(made.value.path.closed);
    EXPECT_THAT(Eval("[1, 2]", path).error, HasSubstr("must be a path"));
}

TEST_F(ObjectModel, MathHelpers) {
    EXPECT_NEAR(Number("radiansToDegrees(Math.PI)"), 180, 1e-12);
    EXPECT_NEAR(Number("degreesToRadians(90)"), std::acos(0.0), 1e-12);
    EXPECT_DOUBLE_EQ(Number("clamp(5, 0, 3)"), 3);
    EXPECT_DOUBLE_EQ(Number("clamp(-5, 3, 0)"), 0);
    EXPECT_DOUBLE_EQ(Number("clamp([5, -5], 0, 3)[1]"), 0);
    EXPECT_DOUBLE_EQ(Number("linear(0.5, 0, 1, 10, 20)"), 15);
    EXPECT_DOUBLE_EQ(Number("linear(2, 0, 1, 10, 20)"), 20);
    EXPECT_DOUBLE_EQ(Number("linear(0.25, [0, 100], [100, 0])[1]"), 75);
    EXPECT_DOUBLE_EQ(Number("add([1, 2], [3, 4])[1] + sub([1], [1, 1])[1]"), 5);
    EXPECT_DOUBLE_EQ(Number("length([3, 4])"), 5);
    EXPECT_DOUBLE_EQ(Number("length([1, 1], [4, 5])"), 5);
    EXPECT_DOUBLE_EQ(Number("normalize([0, 2])[1]"), 1);
}

}  // namespace
}  // namespace tltest
