// The effect layer's name inside the expressions: whatever the layer is called, every expression
// the plug-in writes names that layer and evaluates to the parameter it reads.
#include <string>
#include <vector>

#include "AE_EffectCB.h"
#include "style/ExpressionText.h"
#include "style/StyleFixture.h"
#include "style/Writers.h"
#include "support/TestSupport.h"

namespace styletest {
namespace {

constexpr char kMiterLimit[] = "ADBE Vector Stroke Miter Limit";
constexpr char kHiLiteLength[] = "ADBE Vector Grad HiLite Length";
constexpr char kHiLiteAngle[] = "ADBE Vector Grad HiLite Angle";
constexpr char kDash[] = "ADBE Vector Stroke Dash 1";
constexpr char kGap[] = "ADBE Vector Stroke Gap 1";
constexpr char kOffset[] = "ADBE Vector Stroke Offset";

struct NameCase {
    const char* label;
    std::string name;
};

// 255 bytes of UTF-8 whose characters straddle every short buffer a name was once cut to.
std::string LongUtf8Name() {
    std::string name = "Rig ";
    while (name.size() + 3 <= 253) name += "\xE2\x82\xAC";  // the euro sign, three bytes
    name += "\xC3\xA9";                                     // two more: 255
    return name;
}

std::vector<NameCase> Names() {
    return {
        {"ThirtyFiveBytes", "Tetherline Controller - Main Rig 01"},
        {"TwoHundredFiftyFiveBytesOfUtf8", LongUtf8Name()},
        {"LineBreaks", "Main\nRig\r\nLeft"},
        {"Separators",
         "Left\xE2\x80\xA8Right\xE2\x80\xA9"
         "End"},
        {"ControlCharacters",
         "Tab\tBell\x07"
         "Escape\x1b"
         "Delete\x7f"
         "Unit\x1f"},
        {"QuotesAndBackslashes", "\"Rig\" \\ 'one' \\"},
        {"FormatDirectives", "100% %s %d %n"},
        {"FourThousandBytes", "Long " + std::string(4091, 'L')},
    };
}

class LayerNames : public StyleTest, public ::testing::WithParamInterface<NameCase> {
  protected:
    void ExpectClean(const CommandReport& report) {
        EXPECT_EQ(report.result, A_Err_NONE) << report.return_msg;
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    }
};

TEST_P(LayerNames, EveryExpressionNamesTheLayerAndReadsItsParameter) {
    Controller().set_name(GetParam().name);
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& stroke = AddPaint(Contents(line), kGradientStroke);
    SetValue(11, 7.25);  // "Miter Limit"
    SetValue(12, 1);     // stroke "Enable Gradient"
    SetValue(14, 40);    // "Highlight Length"
    SetValue(15, 30);    // "Highlight Angle"
    SetValue(45, 1);     // "Dashes"
    SetValue(92, 6);
    SetValue(93, 3);
    SetValue(94, 2);

    ExpectClean(Change(10, 1));  // "Miter Join"
    ExpectClean(Change(13, 2));  // "Radial"
    ExpectClean(Run([](PF_InData* in_data) -> PF_Err {
        AEGP_SuiteHandler suites(in_data->pica_basicP);
        RunningError err;
        RunOnConnectionLayers(in_data, suites, err,
                              [&](AEGP_StreamRefH root, AEGP_LayerIDVal id, AEGP_LayerIDVal fx) {
                                  return SetupDashes(in_data, root, id, fx);
                              });
        return err.get();
    }));

    const std::string literal = "layer(\"" + EscapeForStringLiteral(GetParam().name) + "\")";
    StreamNode& dashes = Child(stroke, "ADBE Vector Stroke Dashes");
    const struct {
        StreamNode& property;
        double value;
    } reads[] = {
        {Child(stroke, kMiterLimit), 7.25}, {Child(stroke, kHiLiteLength), 40},
        {Child(stroke, kHiLiteAngle), 30},  {Child(dashes, kDash), 6},
        {Child(dashes, kGap), 3},           {Child(dashes, kOffset), 2},
    };
    for (const auto& read : reads) {
        EXPECT_NE(read.property.expression.find(literal), std::string::npos)
            << read.property.match_name();
        if (HaveExpressions()) {
            EXPECT_EQ(Evaluated(read.property), read.value) << read.property.match_name();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AnyName, LayerNames, ::testing::ValuesIn(Names()),
                         [](const auto& info) { return std::string(info.param.label); });

// A name no expression can hold is refused with a message the user can act on; nothing is
// written and nothing is left acquired.
TEST_F(StyleTest, ANameTooLongForAnyExpressionIsRefusedWithAMessage) {
    Controller().set_name("Endless " + std::string(kMaxExpressionTextSize, 'z'));
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& stroke = AddPaint(Contents(line), kStroke);
    const CommandReport report = Change(10, 1);
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(report.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE);
    EXPECT_EQ(report.return_msg.rfind(
                  "Tetherline - Styles cannot write an expression naming \"Endless zzz", 0),
              0u)
        << report.return_msg;
    EXPECT_NE(report.return_msg.find("Shorten the name"), std::string::npos);
    // The join was written before the expressions were tried; no expression was.
    EXPECT_EQ(Child(stroke, "ADBE Vector Stroke Line Join").value().v[0], 1);
    EXPECT_EQ(Child(stroke, kMiterLimit).expression, "");
}

// A rename between two changes is honoured: the name is read again for every expression.
TEST_F(StyleTest, ARenamedEffectLayerIsNamedByItsNewName) {
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& stroke = AddPaint(Contents(line), kStroke);
    SetValue(11, 5);
    EXPECT_EQ(Change(10, 1).result, A_Err_NONE);
    Controller().set_name("Renamed\nController");
    EXPECT_EQ(Child(stroke, kMiterLimit).expression.find("Renamed"), std::string::npos);
    EXPECT_EQ(Change(10, 1).result, A_Err_NONE);
    EXPECT_NE(Child(stroke, kMiterLimit).expression.find("layer(\"Renamed\\nController\")"),
              std::string::npos);
    if (HaveExpressions()) {
        EXPECT_EQ(Evaluated(Child(stroke, kMiterLimit)), 5);
    }
}

}  // namespace
}  // namespace styletest
