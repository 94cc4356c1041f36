// Parameter changes sent as the user makes them, and what they leave on the connection layers
// and in the effect's own parameters.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "style/StyleFixture.h"
#include "support/TestSupport.h"

namespace styletest {
namespace {

constexpr char kJoin[] = "ADBE Vector Stroke Line Join";
constexpr char kCap[] = "ADBE Vector Stroke Line Cap";
constexpr char kMiterLimit[] = "ADBE Vector Stroke Miter Limit";
constexpr char kGradType[] = "ADBE Vector Grad Type";
constexpr char kHiLiteLength[] = "ADBE Vector Grad HiLite Length";
constexpr char kHiLiteAngle[] = "ADBE Vector Grad HiLite Angle";

std::string MiterLimitExpression(const std::string& escaped_layer_name) {
    return "fx = thisComp.layer(\"" + escaped_layer_name +
           "\").effect(\"LK TetherlineStyles\"); fx(\"Miter Limit\");";
}

std::string HighlightExpression(int enable_id, int type_id, int value_id) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "fxMatchName = \"LK TetherlineStyles\"; fx = "
                  "thisComp.layer(\"Controller\").effect(fxMatchName); gradEnabB = "
                  "(fx(fxMatchName+\"-00%d\").value > 0); gradType = 1; highlight = 0; try{ "
                  "gradType = fx(fxMatchName+\"-00%d\").value; }catch(e){} if (gradEnabB && "
                  "gradType == 2) { try{highlight = fx(fxMatchName+\"-00%d\");}catch(e){} "
                  "highlight; } else 0;",
                  enable_id, type_id, value_id);
    return text;
}

double ValueOf(StreamNode& group, const char* match_name) {
    return StyleTest::Child(group, match_name).value().v[0];
}

class ChangeCases : public StyleTest {
  protected:
    void ExpectClean(const CommandReport& report, A_Err result = A_Err_NONE) {
        EXPECT_EQ(report.result, result);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    }
};

TEST_F(ChangeCases, MiterJoinPutsEveryStrokesMiterLimitOnTheSlider) {
    Layer& first = AddLine("First", Controller().id());
    StreamNode& plain = AddPaint(Contents(first), kStroke, "Plain");
    StreamNode& switched_off = AddPaint(Contents(first), kStroke, "Switched off");
    switched_off.parent()->parent()->eyeball = false;
    Layer& second = AddLine("Second", Controller().id());
    StreamNode& gradient = AddPaint(Contents(second), kGradientStroke);
    Layer& unrelated = AddLine("Unrelated", 0);
    StreamNode& untouched = AddPaint(Contents(unrelated), kStroke);
    std::vector<StreamNode*> strokes = {&plain, &switched_off, &gradient};
    for (StreamNode* s : strokes) Child(*s, kJoin).set_value(tlhost::StreamValue::OneD(3));
    SetValue(11, 7);

    ExpectClean(Change(10, 1));
    for (StreamNode* s : strokes) {
        EXPECT_EQ(ValueOf(*s, kJoin), 1);
        EXPECT_EQ(Child(*s, kMiterLimit).expression, MiterLimitExpression("Controller"));
        if (HaveExpressions()) {
            EXPECT_EQ(Evaluated(Child(*s, kMiterLimit)), 7);
        }
    }
    EXPECT_EQ(Child(untouched, kMiterLimit).expression, "");

    // The expressions read the slider live.
    SetValue(11, 12);
    if (HaveExpressions()) {
        for (StreamNode* s : strokes) EXPECT_EQ(Evaluated(Child(*s, kMiterLimit)), 12);
    }
}

TEST_F(ChangeCases, OtherPopupsWriteOnlyTheirOwnProperty) {
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& stroke = AddPaint(Contents(line), kStroke);
    StreamNode& trim = Group(Contents(line), "ADBE Vector Filter - Trim", "Trim Paths");
    Leaf(trim, "ADBE Vector Trim Type", 1);
    ExpectClean(Change(10, 1));
    const std::string miter = Child(stroke, kMiterLimit).expression;
    ASSERT_NE(miter, "");

    struct Row {
        int index;
        double value;
        StreamNode* group;
        const char* property;
    } rows[] = {
        {10, 2, &stroke, kJoin},
        {10, 3, &stroke, kJoin},
        {9, 3, &stroke, kCap},
        {9, 2, &stroke, kCap},
        {124, 2, &trim, "ADBE Vector Trim Type"},
    };
    for (const Row& row : rows) {
        ExpectClean(Change(row.index, row.value));
        EXPECT_EQ(ValueOf(*row.group, row.property), row.value) << row.index;
    }
    // A join other than miter leaves the miter limit's expression as it was.
    EXPECT_EQ(Child(stroke, kMiterLimit).expression, miter);
}

TEST_F(ChangeCases, GradientTypeWritesItsOwnGradientAndItsHighlights) {
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& stroke = AddPaint(Contents(line), kGradientStroke);
    StreamNode& fill = AddPaint(Contents(line), kGradientFill);
    SetValue(12, 1);
    SetValue(14, 40);
    SetValue(15, 30);
    SetValue(34, 1);
    SetValue(36, -20);
    SetValue(37, 90);

    ExpectClean(Change(13, 2));
    EXPECT_EQ(ValueOf(stroke, kGradType), 2);
    EXPECT_EQ(ValueOf(fill, kGradType), 1);
    EXPECT_EQ(Child(stroke, kHiLiteLength).expression, HighlightExpression(12, 13, 14));
    EXPECT_EQ(Child(stroke, kHiLiteAngle).expression, HighlightExpression(12, 13, 15));
    EXPECT_TRUE(Child(stroke, kHiLiteLength).expression_enabled);
    EXPECT_EQ(Child(fill, kHiLiteLength).expression, "");
    if (HaveExpressions()) {
        EXPECT_EQ(Evaluated(Child(stroke, kHiLiteLength)), 40);
        EXPECT_EQ(Evaluated(Child(stroke, kHiLiteAngle)), 30);
        SetValue(12, 0);
        EXPECT_EQ(Evaluated(Child(stroke, kHiLiteLength)), 0);
    }

    ExpectClean(Change(35, 2));
    EXPECT_EQ(ValueOf(fill, kGradType), 2);
    EXPECT_EQ(Child(fill, kHiLiteLength).expression, HighlightExpression(34, 35, 36));
    EXPECT_EQ(Child(fill, kHiLiteAngle).expression, HighlightExpression(34, 35, 37));
    if (HaveExpressions()) {
        EXPECT_EQ(Evaluated(Child(fill, kHiLiteLength)), -20);
        EXPECT_EQ(Evaluated(Child(fill, kHiLiteAngle)), 90);
    }

    // Back to linear: only the type is written, the expressions stay (and now give 0).
    SetValue(12, 1);
    ExpectClean(Change(13, 1));
    EXPECT_EQ(ValueOf(stroke, kGradType), 1);
    EXPECT_EQ(Child(stroke, kHiLiteLength).expression, HighlightExpression(12, 13, 14));
    if (HaveExpressions()) {
        EXPECT_EQ(Evaluated(Child(stroke, kHiLiteLength)), 0);
    }
}

TEST_F(ChangeCases, EnableFillAndTheFillGradientExcludeEachOther) {
    struct Row {
        int changed;
        double changed_to;
        int other;
        double other_before;
        double other_after;
    } rows[] = {
        {21, 1, 34, 1, 0}, {34, 1, 21, 1, 0},  // switching one on switches the other off
        {21, 0, 34, 1, 0}, {34, 0, 21, 1, 0},  // whatever the new value
        {21, 1, 34, 0, 0}, {34, 0, 21, 0, 0},  // an other already off stays off
    };
    for (const Row& row : rows) {
        SetValue(row.other, row.other_before);
        ExpectClean(Change(row.changed, row.changed_to));
        EXPECT_EQ(Value(row.changed), row.changed_to) << row.changed;
        EXPECT_EQ(Value(row.other), row.other_after) << row.changed;
    }
}

TEST_F(ChangeCases, PresetsWriteTheirRowAndNoneOrUnknownWritesTheFirst) {
    const double third = 100.0 / 3;
    struct Row {
        int popup;
        int item;
        std::vector<std::pair<int, double>> written;
    } rows[] = {
        {74, 1, {{76, 100}, {77, 50}, {78, third}}},        // None
        {74, 5, {{76, 1}, {77, 0}, {78, 25}}},              // Playdoh
        {74, 7, {{76, 85}, {77, 30}, {78, 20}}},            // Soft Metal
        {74, 10, {{76, 20}, {77, 90}, {78, 20}}},           // Very Elastic
        {74, 11, {{76, 100}, {77, 50}, {78, third}}},       // outside the table
        {75, 1, {{83, 50}, {84, 5}, {85, 10}, {86, 0}}},    // None
        {75, 3, {{83, 50}, {84, 10}, {85, 10}, {86, 25}}},  // Low Gravity
        {75, 5, {{83, 5}, {84, 1}, {85, 10}, {86, 0}}},     // Zero Gravity Flexible
        {75, 0, {{83, 50}, {84, 5}, {85, 10}, {86, 0}}},    // outside the table
    };
    for (const Row& row : rows) {
        for (const auto& [index, value] : row.written) SetValue(index, -1);
        ExpectClean(Change(row.popup, row.item));
        for (const auto& [index, value] : row.written) {
            EXPECT_DOUBLE_EQ(Value(index), value) << row.popup << " item " << row.item;
        }
        EXPECT_EQ(Value(row.popup), row.item);
    }
}

TEST_F(ChangeCases, AnEffectLayerNamedWithQuotesAndBackslashesIsStillAddressed) {
    Controller().set_name("Say \"hi\" \\o/");
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& stroke = AddPaint(Contents(line), kGradientStroke);
    SetValue(11, 9);
    SetValue(12, 1);
    SetValue(14, 40);

    ExpectClean(Change(10, 1));
    EXPECT_EQ(Child(stroke, kMiterLimit).expression, MiterLimitExpression("Say \\\"hi\\\" \\\\o/"));
    ExpectClean(Change(13, 2));
    EXPECT_NE(Child(stroke, kHiLiteLength).expression.find("layer(\"Say \\\"hi\\\" \\\\o/\")"),
              std::string::npos);
    if (HaveExpressions()) {
        EXPECT_EQ(Evaluated(Child(stroke, kMiterLimit)), 9);
        EXPECT_EQ(Evaluated(Child(stroke, kHiLiteLength)), 40);
    }
}

TEST_F(ChangeCases, AFailurePartWayKeepsTheEarlierLayersAndIsTheResult) {
    Layer& first = AddLine("First", Controller().id());
    StreamNode& a = AddPaint(Contents(first), kStroke);
    Layer& second = AddLine("Second", Controller().id());
    StreamNode& b = AddPaint(Contents(second), kStroke);
    FailNext("AEGP_SetExpression", 2, A_Err_CONST_PROJECT_MODIFICATION);

    ExpectClean(Change(10, 1), A_Err_CONST_PROJECT_MODIFICATION);
    EXPECT_EQ(Child(a, kMiterLimit).expression, MiterLimitExpression("Controller"));
    EXPECT_EQ(Child(b, kMiterLimit).expression, "");
}

// A radial gradient change with two connection layers and one unrelated layer, with one host
// call failing. Every failure is the command's result, those inside the controller lookup too
// (a layer that cannot be read is not quietly left out), and no reference is left behind.
TEST_F(ChangeCases, EveryReferenceIsReleasedWhenAHostCallFails) {
    struct Fault {
        const char* function;
        std::uint64_t nth;
        bool reported;
    } faults[] = {
        {"AEGP_GetLayerObjectType", 1, true},
        {"AEGP_GetCompLayerByIndex", 2, true},
        {"AEGP_GetLayerEffectByIndex", 1, true},
        {"AEGP_GetEffectMatchName", 1, true},
        {"AEGP_GetMatchName", 1, true},
        {"AEGP_GetNewStreamValue", 1, true},
        {"AEGP_GetNewStreamRefForLayer", 2, true},
        {"AEGP_GetNewStreamRefByIndex", 4, true},
        {"AEGP_GetNewParentStreamRef", 1, true},
        {"AEGP_SetStreamValue", 1, true},
        {"AEGP_SetExpression", 2, true},
        {"AEGP_SetExpressionState", 1, true},
        {"AEGP_GetLayerName", 1, true},
        {"AEGP_LockMemHandle", 1, true},
        {"AEGP_GetMemHandleSize", 1, true},
    };
    for (const char* name : {"A", "B"}) {
        Layer& line = AddLine(name, Controller().id());
        AddPaint(Contents(line), kGradientStroke);
        AddPaint(Contents(line), kGradientFill);
    }
    AddPaint(Contents(AddLine("Unrelated", 0)), kGradientStroke);
    SetValue(12, 1);

    for (const Fault& fault : faults) {
        FailNext(fault.function, fault.nth, A_Err_CONST_PROJECT_MODIFICATION);
        CommandReport report = Change(13, 2);
        EXPECT_EQ(report.result, fault.reported ? A_Err_CONST_PROJECT_MODIFICATION : A_Err_NONE)
            << fault.function << " #" << fault.nth;
        EXPECT_TRUE(report.clean()) << fault.function << "\n" << tltest::Leftovers(report);
        S().host().faults().Clear();
    }
}

}  // namespace
}  // namespace styletest
