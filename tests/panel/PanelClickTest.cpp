// Clicking the panel: which button a click hits, the record and checkbox kept in step, and each
// module's effect on the connection layers.
#include <algorithm>

#include "panel/ButtonImages.h"
#include "panel/ModuleTable.h"
#include "panel/PanelFixture.h"
#include "support/TestSupport.h"

#ifdef TL_HAVE_EXPRESSIONS
#include "expressions/Expressions.h"
#endif

namespace paneltest {
namespace {

using PanelClick = PanelTest;

// ---- hit testing ------------------------------------------------------------------------------

TEST_F(PanelClick, AClickInAButtonSwitchesItsModuleOnAndAsksForARedraw) {
    const UIEventReport click = ClickModule(4);
    ASSERT_EQ(click.report.result, PF_Err_NONE);
    EXPECT_TRUE(click.report.clean()) << tltest::Leftovers(click.report);
    EXPECT_EQ(Record(), (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(click.out_flags, PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW);
    ASSERT_EQ(click.display.invalidated.size(), 1u);
    EXPECT_FALSE(click.display.invalidated[0].whole_pane);
    const PF_Rect& r = click.display.invalidated[0].rect;
    EXPECT_EQ(r.left, kFrame.left);
    EXPECT_EQ(r.top, kFrame.top);
    EXPECT_EQ(r.right, kFrame.right);
    EXPECT_EQ(r.bottom, kFrame.bottom);
    // A click draws nothing itself.
    EXPECT_TRUE(click.display.ops.empty());
}

TEST_F(PanelClick, EdgesGapsAndTheCaptionStripFollowTheHitRule) {
    struct Probe {
        A_long x, y;
        int module;  // -1: nothing switches
    } probes[] = {
        {kH + 27 * 3, kV + 12, -1},       // button 3's left edge: in the gap before it
        {kH + 27 * 3 + 1, kV + 12, 3},    // just inside
        {kH + 27 * 3 + 24, kV + 12, 3},   // right edge: inside
        {kH + 27 * 3 + 25, kV + 12, -1},  // the gap
        {kH + 27 * 3 + 27, kV + 12, -1},
        {kH + 5, kV, -1},         // top edge
        {kH + 5, kV + 24, 0},     // bottom edge
        {kH + 5, kV + 30, -1},    // the caption strip
        {kH + 267, kV + 1, 9},    // the panel's right edge is button 9's
        {kH + 268, kV + 10, -1},  // outside the box
        {kH, kV + 10, -1},
    };
    for (const Probe& probe : probes) {
        SCOPED_TRACE(testing::Message() << probe.x << "," << probe.y);
        const std::vector<std::uint8_t> before = Record();
        const UIEventReport click = Click(probe.x, probe.y);
        EXPECT_EQ(click.report.result, PF_Err_NONE);
        std::vector<std::uint8_t> expected = before;
        if (probe.module >= 0) expected[static_cast<std::size_t>(probe.module)] ^= 1;
        EXPECT_EQ(Record(), expected);
        EXPECT_EQ(click.out_flags, probe.module >= 0 ? PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW : 0);
        EXPECT_EQ(click.display.invalidated.empty(), probe.module < 0);
    }
}

TEST_F(PanelClick, AClickOutsideTheControlAreaChangesNothing) {
    AddConnection("Line 1");
    const std::string before = DescribeProject();
    PF_EventExtra event{};
    event.e_type = PF_Event_DO_CLICK;
    event.effect_win.index = 41;
    event.effect_win.area = PF_EA_PARAM_TITLE;
    event.effect_win.current_frame = kFrame;
    event.u.do_click.screen_point = PF_Point{kH + 12, kV + 12};
    const UIEventReport click = S().CustomUIEvent(Effect(), event);
    EXPECT_EQ(click.report.result, PF_Err_NONE);
    EXPECT_EQ(Record(), std::vector<std::uint8_t>(10, 0));
    EXPECT_EQ(Checkbox(0), 0);
    EXPECT_EQ(click.out_flags, 0);
    EXPECT_EQ(DescribeProject(), before);
}

TEST_F(PanelClick, ARecordThatCannotBeLockedMakesTheClickDoNothingAndIsTheResult) {
    AddConnection("Line 1");
    const std::string before = DescribeProject();
    FailNext("host_lock_handle", 1, A_Err_GENERIC);
    const UIEventReport click = ClickModule(0);
    EXPECT_EQ(click.report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(click.report.clean()) << tltest::Leftovers(click.report);
    EXPECT_EQ(Record(), std::vector<std::uint8_t>(10, 0));
    EXPECT_EQ(Checkbox(0), 0);
    EXPECT_EQ(click.out_flags, 0);
    EXPECT_TRUE(click.display.invalidated.empty());
    EXPECT_EQ(DescribeProject(), before);
}

// ---- record and checkboxes --------------------------------------------------------------------

TEST_F(PanelClick, TheRecordAndTheCheckboxesStayInStepOverAnySequenceOfClicks) {
    const int sequence[] = {0, 2, 2, 9, 1, 0, 5, 5, 5, 7, 3, 9, 1};
    for (int module : sequence) {
        ASSERT_EQ(ClickModule(module).report.result, PF_Err_NONE);
        const std::vector<std::uint8_t> record = Record();
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(Checkbox(i), record[static_cast<std::size_t>(i)]) << "after " << module;
            EXPECT_EQ(CheckboxStream(i), record[static_cast<std::size_t>(i)]);
        }
    }
    EXPECT_EQ(Record(), (std::vector<std::uint8_t>{0, 0, 0, 1, 0, 1, 0, 1, 0, 0}));
}

TEST_F(PanelClick, AnyNonZeroByteCountsAsOnAndTurnsOff) {
    SetRecord({0, 0, 0, 0, 0, 0, 7, 0, 0, 0});
    ASSERT_EQ(ClickModule(6).report.result, PF_Err_NONE);
    EXPECT_EQ(Record()[6], 0);
    EXPECT_EQ(Checkbox(6), 0);
}

TEST_F(PanelClick, TheSwitchedModuleIsDrawnPressedAtTheNextDraw) {
    auto image_of = [&](int module) {
        const UIEventReport draw = Draw();
        const auto images = draw.display.Of(DrawOpKind::DrawImage);
        return images.at(static_cast<std::size_t>(module))->image->bytes;
    };
    const std::vector<std::uint8_t> pressed(imgsPressedData[8], imgsPressedData[8] + 2304);
    const std::vector<std::uint8_t> released(imgsData[8], imgsData[8] + 2304);
    ASSERT_EQ(ClickModule(8).report.result, PF_Err_NONE);
    EXPECT_EQ(image_of(8), pressed);
    ASSERT_EQ(ClickModule(8).report.result, PF_Err_NONE);
    EXPECT_EQ(image_of(8), released);
}

// ---- connection layers ------------------------------------------------------------------------

// Module i's named groups on every connection layer follow the module; the same groups on a
// layer that styles itself elsewhere do not.
class PanelNamedGroups : public PanelTest, public ::testing::WithParamInterface<int> {};

TEST_P(PanelNamedGroups, AreSwitchedOnAndOffWithTheModuleOnEveryConnectionLayer) {
    const int module = GetParam();
    Layer& line1 = AddConnection("Line 1");
    Layer& line2 = AddConnection("Line 2");
    Layer& other = AddConnection("Elsewhere", 999);
    const char* name = moduleNames[static_cast<std::size_t>(module)];

    const UIEventReport on = ClickModule(module);
    ASSERT_EQ(on.report.result, PF_Err_NONE);
    EXPECT_TRUE(on.report.clean()) << tltest::Leftovers(on.report);
    EXPECT_EQ(Checkbox(module), 1);
    for (Layer* layer : {&line1, &line2}) {
        const auto groups = GroupsNamed(*layer, name);
        ASSERT_EQ(groups.size(), 1u);
        EXPECT_TRUE(groups[0]->eyeball) << layer->name();
        // Only that module's groups.
        for (const ModuleRow& row : kModuleTable) {
            if (row.group_name == name || row.shapes != ModuleShapes::NamedGroup) continue;
            for (StreamNode* g : GroupsNamed(*layer, row.group_name)) EXPECT_FALSE(g->eyeball);
        }
    }
    EXPECT_FALSE(GroupsNamed(other, name)[0]->eyeball);

    ASSERT_EQ(ClickModule(module).report.result, PF_Err_NONE);
    EXPECT_EQ(Checkbox(module), 0);
    EXPECT_FALSE(GroupsNamed(line1, name)[0]->eyeball);
    EXPECT_FALSE(GroupsNamed(line2, name)[0]->eyeball);
}

INSTANTIATE_TEST_SUITE_P(Modules, PanelNamedGroups, ::testing::Values(0, 3, 4, 5, 6, 7, 8, 9),
                         [](const ::testing::TestParamInfo<int>& info) {
                             std::string name = moduleNames[static_cast<std::size_t>(info.param)];
                             name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                             return name;
                         });

TEST_F(PanelClick, CurvinessChangesTheRecordAndCheckboxButNoShapeLayer) {
    AddConnection("Line 1");
    AddConnection("Line 2");
    const std::string before = DescribeProject();
    const UIEventReport click = ClickModule(1);
    ASSERT_EQ(click.report.result, PF_Err_NONE);
    EXPECT_EQ(Record()[1], 1);
    EXPECT_EQ(Checkbox(1), 1);
    EXPECT_EQ(DescribeProject(), before);
}

constexpr char kDashExpression[] =
    "fx = thisComp.layer(\"Controller\").effect(\"LK TetherlineStyles\"); "
    "if (fx(\"Dashes\").value > 0) fx(\"Dash\"); else 0;";

TEST_F(PanelClick, DashesSetsUpTheDashPropertiesAndRemovesThemAgain) {
    Layer& line1 = AddConnection("Line 1");
    Layer& line2 = AddConnection("Line 2");
    const UIEventReport on = ClickModule(2);
    ASSERT_EQ(on.report.result, PF_Err_NONE);
    EXPECT_TRUE(on.report.clean()) << tltest::Leftovers(on.report);
    EXPECT_EQ(Checkbox(2), 1);
    for (Layer* layer : {&line1, &line2}) {
        const auto dashes = DashProperties(*layer);
        ASSERT_EQ(dashes.size(), 3u);
        for (StreamNode* p : dashes) {
            EXPECT_FALSE(p->hidden()) << p->match_name();
            EXPECT_NE(p->expression.find("thisComp.layer(\"Controller\")"), std::string::npos)
                << p->expression;
        }
        EXPECT_EQ(dashes[0]->expression, kDashExpression);
    }

    ASSERT_EQ(ClickModule(2).report.result, PF_Err_NONE);
    EXPECT_EQ(Checkbox(2), 0);
    for (Layer* layer : {&line1, &line2}) {
        for (StreamNode* p : DashProperties(*layer)) {
            EXPECT_TRUE(p->hidden()) << p->match_name();
            EXPECT_EQ(p->expression, "");
        }
    }
}

#ifdef TL_HAVE_EXPRESSIONS
TEST_F(PanelClick, DashExpressionsReadTheEffectsDashSettingsWhileTheModuleIsOn) {
    Layer& line = AddConnection("Line 1");
    tlhost::InstallExpressionEngine(H());
    auto& params = Effect().params();
    params[92].def().u.fs_d.value = 14;  // Dash
    params[93].def().u.fs_d.value = 6;   // Gap
    ASSERT_EQ(ClickModule(2).report.result, PF_Err_NONE);
    const auto dashes = DashProperties(line);
    ASSERT_EQ(dashes.size(), 3u);
    EXPECT_DOUBLE_EQ(H().ValueAfterExpressions(*dashes[0], 0).v[0], 14);
    EXPECT_DOUBLE_EQ(H().ValueAfterExpressions(*dashes[1], 0).v[0], 6);
    EXPECT_EQ(dashes[0]->expression_error, "");
    EXPECT_EQ(dashes[2]->expression_error, "");

    // The expressions answer 0 once the module's checkbox is off.
    params[45].def().u.bd.value = 0;
    EXPECT_DOUBLE_EQ(H().ValueAfterExpressions(*dashes[0], 0).v[0], 0);
}
#endif

TEST_F(PanelClick, DashesWithoutConnectionLayersChangesRecordAndCheckboxOnly) {
    const std::string before = DescribeProject();
    const UIEventReport click = ClickModule(2);
    EXPECT_EQ(click.report.result, PF_Err_NONE);
    EXPECT_TRUE(click.report.clean()) << tltest::Leftovers(click.report);
    EXPECT_EQ(Record()[2], 1);
    EXPECT_EQ(Checkbox(2), 1);
    EXPECT_EQ(DescribeProject(), before);
}

TEST_F(PanelClick, AFailureOnALaterLayerKeepsTheNewStateAndTheEarlierLayersChanges) {
    Layer& line1 = AddConnection("Line 1");
    Layer& line2 = AddConnection("Line 2");
    // The second connection layer's switch fails.
    FailNext("AEGP_SetDynamicStreamFlag", 2, 42);
    const UIEventReport click = ClickModule(0);
    EXPECT_EQ(click.report.result, 42);
    EXPECT_TRUE(click.report.clean()) << tltest::Leftovers(click.report);
    EXPECT_EQ(Record()[0], 1);
    EXPECT_EQ(Checkbox(0), 1);
    EXPECT_TRUE(GroupsNamed(line1, "Arrowheads")[0]->eyeball);
    EXPECT_FALSE(GroupsNamed(line2, "Arrowheads")[0]->eyeball);
    EXPECT_EQ(click.out_flags, PF_EO_HANDLED_EVENT | PF_EO_UPDATE_NOW);
}

// The redraw request's suite is missing: the scoped suite throws, and by then both the record
// and the checkbox it mirrors have been flagged changed, so the host keeps the pair together.
TEST_F(PanelClick, AMissingAppSuiteStillFlagsTheRecordAndItsCheckboxChanged) {
    Layer& line = AddConnection("Line 1");
    H().faults().FailSuite(kPFAppSuite, -1, 1);
    const UIEventReport click = ClickModule(3);
    EXPECT_EQ(click.report.result, A_Err_MISSING_SUITE);
    EXPECT_TRUE(click.report.clean()) << tltest::Leftovers(click.report);
    EXPECT_EQ(click.report.changed_params, (std::vector<A_long>{41, 46}));
    EXPECT_EQ(Record()[3], 1);
    EXPECT_EQ(Checkbox(3), 1);
    EXPECT_FALSE(GroupsNamed(line, "Offset Paths")[0]->eyeball);
}

TEST_F(PanelClick, AFailedRedrawRequestStillKeepsTheNewStateButTouchesNoLayer) {
    Layer& line = AddConnection("Line 1");
    FailNext("PF_InvalidateRect", 1, 21);
    const UIEventReport click = ClickModule(3);
    EXPECT_EQ(click.report.result, 21);
    EXPECT_TRUE(click.report.clean()) << tltest::Leftovers(click.report);
    EXPECT_EQ(click.report.changed_params, (std::vector<A_long>{41, 46}));
    EXPECT_EQ(Record()[3], 1);
    EXPECT_EQ(Checkbox(3), 1);
    EXPECT_FALSE(GroupsNamed(line, "Offset Paths")[0]->eyeball);
}

}  // namespace
}  // namespace paneltest
