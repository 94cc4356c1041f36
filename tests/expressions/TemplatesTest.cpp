// The expressions the plug-in writes, formatted as it formats them, evaluated over
// a project: miter limit, dashes, gradient highlight and arrowhead placeholders.
#include <cstdio>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "expressions/ExpressionFixture.h"

namespace tltest {
namespace {

using ::testing::HasSubstr;
using tlhost::StreamValue;

const char kMiterTemplate[] = "fx = thisComp.layer(\"%s\").effect(\"%s\"); fx(\"Miter Limit\");";
const char kDashTemplate[] =
    "fx = thisComp.layer(\"%s\").effect(\"%s\"); if (fx(\"Dashes\").value > 0) fx(\"Dash\"); "
    "else 0;";
const char kGapTemplate[] =
    "fx = thisComp.layer(\"%s\").effect(\"%s\"); if (fx(\"Dashes\").value > 0) fx(\"Gap\"); "
    "else 0;";
const char kOffsetTemplate[] =
    "fx = thisComp.layer(\"%s\").effect(\"%s\"); if (fx(\"Dashes\").value > 0) "
    "fx(\"%s-00%d\"); else 0;";
const char kHighlightTemplate[] =
    "fxMatchName = \"%s\"; fx = thisComp.layer(\"%s\").effect(fxMatchName); gradEnabB = "
    "(fx(fxMatchName+\"-00%d\").value > 0); gradType = 1; highlight = 0; try{ gradType = "
    "fx(fxMatchName+\"-00%d\").value; }catch(e){} if (gradEnabB && gradType == 2) { "
    "try{highlight = fx(fxMatchName+\"-00%d\");}catch(e){} highlight; } else 0;";

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char buf[1024];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

using Templates = ExpressionTest;

TEST_F(Templates, MiterLimitFollowsTheSlider) {
    const std::string text = Format(kMiterTemplate, "Controller", kStylesMatchName);
    EXPECT_DOUBLE_EQ(Number(text, miter), 4);
    Param(11).set_value(StreamValue::OneD(17.5));
    EXPECT_DOUBLE_EQ(Number(text, miter), 17.5);
}

TEST_F(Templates, DashesFollowTheSlidersWhileTheModuleIsOn) {
    const std::string dash_text = Format(kDashTemplate, "Controller", kStylesMatchName);
    const std::string gap_text = Format(kGapTemplate, "Controller", kStylesMatchName);
    const std::string offset_text =
        Format(kOffsetTemplate, "Controller", kStylesMatchName, kStylesMatchName, 94);
    EXPECT_THAT(offset_text, HasSubstr("fx(\"LK TetherlineStyles-0094\")"));
    EXPECT_DOUBLE_EQ(Number(dash_text, dash), 12);
    EXPECT_DOUBLE_EQ(Number(gap_text, gap), 6);
    EXPECT_DOUBLE_EQ(Number(offset_text, offset), 3);  // the Dashes slider, not checkbox 46
    Param(45).set_value(StreamValue::OneD(0));
    EXPECT_DOUBLE_EQ(Number(dash_text, dash), 0);
    EXPECT_DOUBLE_EQ(Number(gap_text, gap), 0);
    EXPECT_DOUBLE_EQ(Number(offset_text, offset), 0);
}

TEST_F(Templates, HighlightOnlyForAnEnabledRadialGradient) {
    const std::string length_text =
        Format(kHighlightTemplate, kStylesMatchName, "Controller", 12, 13, 14);
    const std::string angle_text =
        Format(kHighlightTemplate, kStylesMatchName, "Controller", 12, 13, 15);
    EXPECT_DOUBLE_EQ(Number(length_text, hilite_length), 35);
    EXPECT_DOUBLE_EQ(Number(angle_text, hilite_angle), 120);
    Param(13).set_value(StreamValue::OneD(1));  // linear
    EXPECT_DOUBLE_EQ(Number(length_text, hilite_length), 0);
    Param(13).set_value(StreamValue::OneD(2));
    Param(12).set_value(StreamValue::OneD(0));  // gradient off
    EXPECT_DOUBLE_EQ(Number(angle_text, hilite_angle), 0);
    // A missing parameter is caught by the template's own try: it gives 0.
    const std::string missing =
        Format(kHighlightTemplate, kStylesMatchName, "Controller", 12, 13, 99);
    Param(12).set_value(StreamValue::OneD(1));
    const tlhost::EvalResult r = Eval(missing, hilite_length);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_DOUBLE_EQ(r.value.v[0], 0);
}

TEST_F(Templates, LayerNamesWithQuotesAndBackslashes) {
    controller->set_name("Ctl \"A\" \\ B");
    // Escaped inside the string literal, the name reaches the layer.
    EXPECT_DOUBLE_EQ(
        Number(Format(kMiterTemplate, "Ctl \\\"A\\\" \\\\ B", kStylesMatchName), miter), 4);
    // Formatted in raw, the quote ends the literal early: a syntax error.
    EXPECT_THAT(Error(Format(kMiterTemplate, controller->name().c_str(), kStylesMatchName), miter),
                HasSubstr("SyntaxError"));
    // The expression naming the layer by its old name now fails.
    EXPECT_THAT(Error(Format(kMiterTemplate, "Controller", kStylesMatchName), miter),
                HasSubstr("Layer named 'Controller' is missing"));
}

TEST_F(Templates, EightBitNamesMatchInEitherEncoding) {
    controller->set_name("Ebene \xE4");  // Latin-1
    EXPECT_DOUBLE_EQ(Number(Format(kMiterTemplate, "Ebene \xE4", kStylesMatchName), miter), 4);
    controller->set_name("Ebene \xC3\xA4");  // UTF-8
    EXPECT_DOUBLE_EQ(Number(Format(kMiterTemplate, "Ebene \xC3\xA4", kStylesMatchName), miter), 4);
}

// ---- Arrowhead placeholders ---------------------------------------------------------

const char kGetMod[] =
    "function getMod(){\tvar mod = 0;\tif (trimB)\t{\t\tstart = "
    "fx(\"LK TetherlineStyles-0120\")/100;\t\tend = fx(\"LK TetherlineStyles-0121\")/100;\t\tdelta "
    "= fx(\"Both Ends\")/100;\t\toffset = fx(\"LK TetherlineStyles-0123\").value/360; while "
    "(offset < 0) offset += 1.0;\t\ttrimStart = delta + start; if (trimStart == 0) trimStart = "
    "0.00001; if (trimStart == 1) trimStart = 0.99999;\t\ttrimEnd = (1 - delta) * end; if "
    "(trimEnd == 1) trimEnd = 0.99999; if (trimEnd == 0) trimEnd = 0.00001;\t\ttrimVal = "
    "isStartB ? trimStart : trimEnd;\t\tmod = (trimVal + offset) % 1;\t}\telse\t{\t\tmod = "
    "isStartB ? 0.00001 : 0.99999;\t}\treturn mod;}isStartB = (name.split(\" \")[0] == "
    "\"Start\");isEndB = (name.split(\" \")[0] == \"End\");";

struct Names {
    std::string effect_layer, connection_layer, group;
    int n;
};

std::string Head(const Names& x) {
    return "is3dB = true; try { foo = orientation.value; } catch(e){ is3dB = false; }fx = is3dB ? "
           "thisComp.layer(\"" +
           x.effect_layer + "\").effect(\"" + kStylesMatchName + "\") : thisComp.layer(\"" +
           x.connection_layer + "\").effect(\"" + kStylesMatchName +
           "\");trimB = (fx(\"Trim\").value > 0);";
}

std::string PathLookup(const Names& x) {
    return "L = is3dB ? thisComp.layer(\"" + x.group + "\") : thisComp.layer(\"" +
           x.connection_layer + "\");path = L.content(\"" + x.group +
           "\").content(\"Paths\").content(\"Path " + std::to_string(x.n) +
           "\").content(\"Path\").path;";
}

std::string PositionText(const Names& x) {
    return kGetMod + Head(x) + "H = value;" + PathLookup(x) +
           "pts = path.points();startPt = pts[0];endPt = pts[pts.length-1];mod = getMod();H = "
           "path.pointOnPath(mod);if (is3dB) H = L.toWorld(H);H;";
}

std::string RotationText(const Names& x) {
    return kGetMod + Head(x) + "u = [1,0];" + PathLookup(x) +
           "mod = getMod();u = path.tangentOnPath(mod);a = "
           "Math.atan2(u[1],u[0]);radiansToDegrees(a) "
           "+ (isStartB ? 180 : 0);";
}

std::string OpacityText(const Names& x) {
    return Head(x) +
           "opa = value;if (trimB){   start = fx(\"LK TetherlineStyles-0120\")/100;   end = "
           "fx(\"LK TetherlineStyles-0121\")/100;   if (start == end)   {      opa = 0;   }}opa;";
}

class Arrowheads : public ExpressionTest {
  protected:
    // The 2D case: the connection layer carries the effect itself.
    Arrowheads() : own(AddStylesEffect(*connection)) {}

    tlhost::Layer& Placeholder(const std::string& arrowhead) {
        return project.AddLayer(comp, arrowhead + " - Connection - Arrowheads 1 - Connection",
                                tlhost::LayerKind::Precomp);
    }

    StreamValue Value(const std::string& text, tlhost::Layer& layer, const char* match_name) {
        tlhost::StreamNode& node = Transform(layer, match_name);
        node.expression = text;
        node.expression_enabled = true;
        const StreamValue v = tlhost::ValueAfterExpressions(project, node, 0);
        EXPECT_EQ(node.expression_error, "") << match_name;
        return v;
    }

    void SetTrim(double on, double start, double end, double offset_degrees) {
        own.ParamStream(49)->set_value(StreamValue::OneD(on));
        own.ParamStream(120)->set_value(StreamValue::OneD(start));
        own.ParamStream(121)->set_value(StreamValue::OneD(end));
        own.ParamStream(123)->set_value(StreamValue::OneD(offset_degrees));
    }

    const Names same_layer{"Connection", "Connection", "Connection", 1};
    tlhost::EffectInstance& own;
};

TEST_F(Arrowheads, PlaceholdersSitOnThePathEnds) {
    tlhost::Layer& end = Placeholder("End Arrowhead");
    tlhost::Layer& start = Placeholder("Start Arrowhead");
    const StreamValue end_pos = Value(PositionText(same_layer), end, "ADBE Position");
    EXPECT_EQ(end_pos.kind, tlhost::ValueKind::ThreeD);
    EXPECT_NEAR(end_pos.v[0], 100, 1e-9);
    EXPECT_NEAR(end_pos.v[1], 99.998, 1e-6);
    EXPECT_EQ(end_pos.v[2], 0);
    const StreamValue start_pos = Value(PositionText(same_layer), start, "ADBE Position");
    EXPECT_NEAR(start_pos.v[0], 0.002, 1e-6);
    EXPECT_NEAR(start_pos.v[1], 0, 1e-9);
    // The end points down the last leg; the start is turned round.
    EXPECT_NEAR(Value(RotationText(same_layer), end, "ADBE Rotate Z").v[0], 90, 1e-6);
    EXPECT_NEAR(Value(RotationText(same_layer), start, "ADBE Rotate Z").v[0], 180, 1e-6);
    EXPECT_DOUBLE_EQ(Value(OpacityText(same_layer), end, "ADBE Opacity").v[0], 100);
}

TEST_F(Arrowheads, TrimMovesAndHidesThem) {
    tlhost::Layer& end = Placeholder("End Arrowhead");
    tlhost::Layer& start = Placeholder("Start Arrowhead");
    SetTrim(1, 20, 80, 0);
    StreamValue p = Value(PositionText(same_layer), end, "ADBE Position");
    EXPECT_NEAR(p.v[0], 100, 1e-9);
    EXPECT_NEAR(p.v[1], 60, 1e-6);
    p = Value(PositionText(same_layer), start, "ADBE Position");
    EXPECT_NEAR(p.v[0], 40, 1e-6);
    // A negative offset is brought into one turn by the template's loop: -90 degrees
    // is three quarters of a turn on, 0.8 + 0.75 wraps to 0.55 (110 along the path).
    SetTrim(1, 20, 80, -90);
    p = Value(PositionText(same_layer), end, "ADBE Position");
    EXPECT_NEAR(p.v[0], 100, 1e-6);
    EXPECT_NEAR(p.v[1], 10, 1e-6);
    EXPECT_DOUBLE_EQ(Value(OpacityText(same_layer), end, "ADBE Opacity").v[0], 100);
    SetTrim(1, 50, 50, 0);
    EXPECT_DOUBLE_EQ(Value(OpacityText(same_layer), end, "ADBE Opacity").v[0], 0);
}

TEST_F(Arrowheads, ThreeDPlaceholdersReadTheEffectLayer) {
    tlhost::Layer& end = Placeholder("End Arrowhead");
    end.set_flags(end.flags() | AEGP_LayerFlag_LAYER_IS_3D);
    tlhost::StreamNode& transform = *end.root().FindChild("ADBE Transform Group");
    AddLeaf(transform, "ADBE Orientation", "Orientation", StreamValue::ThreeD(0, 0, 0));
    const Names other{"Controller", "Connection", "Connection", 1};
    // Trim on the connection's own effect does not matter: fx is the controller's.
    SetTrim(1, 20, 80, 0);
    const StreamValue p = Value(PositionText(other), end, "ADBE Position");
    EXPECT_NEAR(p.v[1], 99.998, 1e-6);

    connection->set_flags(connection->flags() | AEGP_LayerFlag_LAYER_IS_3D);
    AddLeaf(*connection->root().FindChild("ADBE Transform Group"), "ADBE Orientation",
            "Orientation", StreamValue::ThreeD(0, 90, 0));
    const std::string orientation = "thisComp.layer(\"Connection\").orientation;";
    EXPECT_EQ(Value(orientation, end, "ADBE Orientation"), StreamValue::ThreeD(0, 90, 0));
}

TEST_F(Arrowheads, AMissingPathGroupIsAnError) {
    tlhost::Layer& end = Placeholder("End Arrowhead");
    const Names wrong{"Connection", "Connection", "Connection", 3};
    tlhost::StreamNode& node = Transform(end, "ADBE Position");
    node.expression = PositionText(wrong);
    node.expression_enabled = true;
    EXPECT_EQ(tlhost::ValueAfterExpressions(project, node, 0), node.value());
    EXPECT_THAT(node.expression_error, HasSubstr("Property named 'Path 3' is missing"));
}

}  // namespace
}  // namespace tltest
