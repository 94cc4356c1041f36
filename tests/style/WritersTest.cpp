// The writers run directly over the connection layers, and the bounded text helpers they
// format expressions with.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AE_EffectCB.h"
#include "style/StyleFixture.h"
#include "style/Writers.h"
#include "support/TestSupport.h"

namespace styletest {
namespace {

// ---- bounded formatting into fixed buffers
// ----------------------------------------------------------

int g_sprintf_calls = 0;
int CountingSprintf(A_char* dst, const A_char* format, ...) {
    ++g_sprintf_calls;
    va_list args;
    va_start(args, format);
    const int n = std::vsprintf(dst, format, args);
    va_end(args);
    return n;
}

TEST(FixedText, ATextThatWouldNotFitIsRefusedWithoutTouchingTheBufferBeyondIt) {
    PF_UtilCallbacks utils{};
    utils.ansi.sprintf = CountingSprintf;
    PF_InData in{};
    in.utils = &utils;
    PF_InData* in_data = &in;

    struct Guarded {
        A_char text[8];
        A_char guard[8];
    } buffer;
    std::memset(&buffer, '#', sizeof buffer);
    g_sprintf_calls = 0;
    // Eight characters and the terminator need nine bytes.
    EXPECT_EQ(FormatText(in_data, buffer.text, sizeof buffer.text, "%s-%d", "abcd", 123),
              kTextTooLong);
    EXPECT_STREQ(buffer.text, "");
    EXPECT_EQ(std::string(buffer.guard, sizeof buffer.guard), "########");
    EXPECT_EQ(g_sprintf_calls, 0);

    // Seven fit exactly.
    EXPECT_EQ(FormatText(in_data, buffer.text, sizeof buffer.text, "%s-%d", "abcd", 12),
              A_Err_NONE);
    EXPECT_STREQ(buffer.text, "abcd-12");
    EXPECT_EQ(FormatText(in_data, buffer.text, sizeof buffer.text, "%s-%d", "abcd", 123),
              kTextTooLong);
    EXPECT_EQ(std::string(buffer.guard, sizeof buffer.guard), "########");
    EXPECT_EQ(g_sprintf_calls, 1);
}

// ---- the writers -------------------------------------------------------------------------------

using Writer = A_Err (*)(PF_InData*, AEGP_StreamRefH, AEGP_LayerIDVal, AEGP_LayerIDVal);

class Writers : public StyleTest {
  protected:
    // Runs a writer on the root stream of every connection layer.
    CommandReport RunOnLines(Writer writer) {
        return Run([&](PF_InData* in_data) -> PF_Err {
            AEGP_SuiteHandler suites(in_data->pica_basicP);
            RunningError err;
            RunOnConnectionLayers(
                in_data, suites, err,
                [&](AEGP_StreamRefH root, AEGP_LayerIDVal id, AEGP_LayerIDVal effect_id) {
                    return writer(in_data, root, id, effect_id);
                });
            return err.get();
        });
    }
};

const char* const kDashExpressions[] = {
    "fx = thisComp.layer(\"Controller\").effect(\"LK TetherlineStyles\"); if "
    "(fx(\"Dashes\").value > 0) fx(\"Dash\"); else 0;",
    "fx = thisComp.layer(\"Controller\").effect(\"LK TetherlineStyles\"); if "
    "(fx(\"Dashes\").value > 0) fx(\"Gap\"); else 0;",
    "fx = thisComp.layer(\"Controller\").effect(\"LK TetherlineStyles\"); if "
    "(fx(\"Dashes\").value > 0) fx(\"LK TetherlineStyles-0094\"); else 0;",
};

TEST_F(Writers, DashesAreSetUpAndRemovedAtAnyDepthOfEveryStroke) {
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& outer = Group(Contents(line), "ADBE Vector Group", "Outer");
    StreamNode& outer_contents = Group(outer, "ADBE Vectors Group", "Contents", Grouping::Indexed);
    StreamNode& deep = AddPaint(outer_contents, kStroke, "Deep");
    StreamNode& gradient = AddPaint(Contents(line), kGradientStroke, "Gradient");
    gradient.parent()->parent()->eyeball = false;  // switched-off groups are written too
    std::vector<StreamNode*> dash_properties;
    for (StreamNode* paint : {&deep, &gradient}) {
        for (const auto& p : Child(*paint, "ADBE Vector Stroke Dashes").children()) {
            dash_properties.push_back(p.get());
        }
    }
    ASSERT_EQ(dash_properties.size(), 6u);
    SetValue(45, 1);  // "Dashes" on
    const double dash_gap_offset[] = {6, 3, 2};
    SetValue(92, dash_gap_offset[0]);
    SetValue(93, dash_gap_offset[1]);
    SetValue(94, dash_gap_offset[2]);

    CommandReport report = RunOnLines(SetupDashes);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    for (std::size_t i = 0; i < dash_properties.size(); ++i) {
        StreamNode& p = *dash_properties[i];
        EXPECT_FALSE(p.hidden()) << p.match_name();
        EXPECT_EQ(p.expression, kDashExpressions[i % 3]);
        if (HaveExpressions()) {
            EXPECT_EQ(Evaluated(p), dash_gap_offset[i % 3]) << p.match_name();
        }
    }
    SetValue(45, 0);
    if (HaveExpressions()) {
        EXPECT_EQ(Evaluated(*dash_properties[0]), 0);
    }

    report = RunOnLines(RemoveDashes);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    for (StreamNode* p : dash_properties) {
        EXPECT_TRUE(p->hidden()) << p->match_name();
        EXPECT_EQ(p->expression, "");
    }
}

TEST_F(Writers, GroupsAreSwitchedByDisplayNameAndAMatchIsNotSearchedFurther) {
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& top = Group(Contents(line), "ADBE Vector Group", "Repeater");
    StreamNode& inside_match =
        Group(Group(top, "ADBE Vectors Group", "Contents", Grouping::Indexed), "ADBE Vector Group",
              "Repeater");
    StreamNode& holder = Group(Contents(line), "ADBE Vector Group", "Holder");
    StreamNode& deep = Group(Group(holder, "ADBE Vectors Group", "Contents", Grouping::Indexed),
                             "ADBE Vector Group", "Repeater");

    CommandReport report =
        RunOnLines([](PF_InData* in_data, AEGP_StreamRefH root, AEGP_LayerIDVal, AEGP_LayerIDVal) {
            return SetStreamVisibility(in_data, root, "Repeater", TRUE, FALSE);
        });
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_FALSE(top.eyeball);
    EXPECT_FALSE(deep.eyeball);
    EXPECT_TRUE(inside_match.eyeball);
    EXPECT_TRUE(holder.eyeball);

    report =
        RunOnLines([](PF_InData* in_data, AEGP_StreamRefH root, AEGP_LayerIDVal, AEGP_LayerIDVal) {
            return SetStreamVisibility(in_data, root, "No such group", TRUE, TRUE);
        });
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_FALSE(top.eyeball);
    EXPECT_FALSE(deep.eyeball);
}

}  // namespace
}  // namespace styletest
