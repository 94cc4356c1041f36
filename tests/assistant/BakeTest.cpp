// The two "Bake Work Area" buttons driven through the stand-in host: which layers and
// properties get keys, at which times, holding what, and what the press leaves behind (one
// closed undo group, the Info panel, nothing acquired).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>

#include "assistant/AssistantFixture.h"
#include "assistant/Bake.h"
#include "support/TestSupport.h"

namespace assistanttest {
namespace {

#define REQUIRE_EXPRESSIONS() \
    if (!styletest::HaveExpressions()) GTEST_SKIP() << "no expression engine in this build"

class Bake : public AssistantTest {};

TEST_F(Bake, OneSecondAt25FpsKeysFrames0To24WithTheExpressionsValues) {
    REQUIRE_EXPRESSIONS();
    SetTime(A_Time{1, 25}, A_Time{0, 1}, A_Time{1, 1});
    const Line line = AddAnimatedLine("Line");

    const CommandReport report = Press(kBakeStyles);
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);

    const std::vector<A_Time> times = KeyTimes(*line.width);
    ASSERT_EQ(times.size(), 25u);
    for (A_long k = 0; k < 25; ++k) {
        EXPECT_TRUE(SameTime(times[k], A_Time{k, 25})) << k;
        // "time * 100" at frame k.
        EXPECT_DOUBLE_EQ(line.width->keyframes[k].value.v[0], k / 25.0 * 100) << k;
    }
    EXPECT_FALSE(line.width->expression_enabled);
    EXPECT_EQ(line.width->expression, "time * 100");
    // One Info-panel update per frame, the last one saying so.
    const tlhost::InfoPanel& panel = S().host().info_panel();
    EXPECT_EQ(panel.updates, 25u);
    const std::array<std::string, 5> last = {"Evaluating...", "Layer", "#2", "Frame", "25 of 25"};
    EXPECT_EQ(panel.texts, last);
}

TEST_F(Bake, TheProgressCountsFromOne) {
    SetTime(A_Time{1, 25}, A_Time{0, 1}, A_Time{1, 1});
    const Line line = AddAnimatedLine("Line");
    // The second update fails: the first said "1 of 25".
    FailNext("PF_InfoDrawText3Plus", 2, A_Err_GENERIC);
    EXPECT_EQ(Press(kBakeStyles).result, A_Err_GENERIC);
    EXPECT_EQ(S().host().info_panel().texts[4], "1 of 25");
    // The seventh update fails: the panel still shows the sixth frame of 25.
    FailNext("PF_InfoDrawText3Plus", 7, A_Err_GENERIC);
    const CommandReport report = Press(kBakeStyles);
    EXPECT_EQ(report.result, A_Err_GENERIC);
    EXPECT_EQ(S().host().info_panel().texts[4], "6 of 25");
    // The batch of the failed property was dropped; its expression stays on.
    EXPECT_TRUE(line.width->keyframes.empty());
    EXPECT_TRUE(line.width->expression_enabled);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(LastUndoGroup().closed);
}

TEST_F(Bake, EachPathKeyHoldsThePathAtItsFrame) {
    REQUIRE_EXPRESSIONS();
    SetTime(A_Time{1, 10}, A_Time{2, 10}, A_Time{3, 10});
    const Line line = AddAnimatedLine("Line");

    ASSERT_EQ(Press(kBakePaths).result, A_Err_NONE);
    ASSERT_EQ(line.path->keyframes.size(), 3u);
    for (A_long k = 0; k < 3; ++k) {
        const tlhost::Keyframe& key = line.path->keyframes[k];
        EXPECT_TRUE(SameTime(key.time, A_Time{2 + k, 10}));
        ASSERT_EQ(key.value.path.vertices.size(), 2u);
        EXPECT_DOUBLE_EQ(key.value.path.vertices[1].x, 100 * (2 + k) / 10.0);
        EXPECT_FALSE(key.value.path.closed);
    }
    EXPECT_FALSE(line.path->expression_enabled);
    // Position and orientation follow the paths on a connection layer; styles stay.
    EXPECT_EQ(line.position->keyframes.size(), 3u);
    EXPECT_DOUBLE_EQ(line.position->keyframes[2].value.v[0], 4.0);
    EXPECT_EQ(line.orientation->keyframes.size(), 3u);
    EXPECT_TRUE(line.width->keyframes.empty());
    EXPECT_TRUE(line.width->expression_enabled);
}

// At 30 and 60 frames per second most frame starts, worked out in single precision, fall
// just short of their frame; exact arithmetic keys the work area's own frames.
TEST_F(Bake, AWorkAreaStartingOnFrameSevenAt30FpsKeysFrameSevenFirst) {
    SetTime(A_Time{1, 30}, A_Time{7, 30}, A_Time{3, 30});
    const Line line = AddAnimatedLine("Line");
    ASSERT_EQ(Press(kBakeStyles).result, A_Err_NONE);
    const std::vector<A_Time> times = KeyTimes(*line.width);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_TRUE(SameTime(times[0], A_Time{7, 30}));
    EXPECT_TRUE(SameTime(times[2], A_Time{9, 30}));
}

TEST_F(Bake, AStartShortOfAWholeFrameCountsAsTheFrameBefore) {
    // 0.99 of a frame in is frame 0; two frames from there end before frame 2.
    SetTime(A_Time{1, 30}, A_Time{99, 3000}, A_Time{2, 30});
    const Line line = AddAnimatedLine("Line");
    ASSERT_EQ(Press(kBakeStyles).result, A_Err_NONE);
    const std::vector<A_Time> times = KeyTimes(*line.width);
    ASSERT_EQ(times.size(), 2u);
    EXPECT_TRUE(SameTime(times[0], A_Time{0, 30}));
    EXPECT_TRUE(SameTime(times[1], A_Time{1, 30}));
}

// Frame 3,000,000 of a 29.97 fps composition is at 3,003,000,000/30000 s: a key time whose
// value does not fit 32 bits is refused, not wrapped to a time before the composition.
TEST_F(Bake, AKeyTimeBeyondThirtyTwoBitsIsAnErrorAndTheBatchIsDropped) {
    SetTime(A_Time{1001, 30000}, A_Time{100100, 1}, A_Time{1, 1});
    Comp().duration = A_Time{200000, 1};
    const Line line = AddAnimatedLine("Line");
    line.layer->duration = A_Time{200000, 1};

    const CommandReport report = Press(kBakeStyles);
    EXPECT_EQ(report.result, A_Err_PARAMETER);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(line.width->keyframes.empty());
    EXPECT_TRUE(line.width->expression_enabled);
    EXPECT_EQ(LastUndoGroup().name, "Convert Style Expressions");
    EXPECT_TRUE(LastUndoGroup().closed);
}

TEST_F(Bake, ALayerOutsideTheWorkAreaGetsNoKeysButItsExpressionsAreSwitchedOff) {
    SetTime(A_Time{1, 25}, A_Time{0, 1}, A_Time{1, 1});
    const Line line = AddAnimatedLine("Late");
    line.layer->in_point = A_Time{5, 1};
    line.layer->duration = A_Time{1, 1};

    ASSERT_EQ(Press(kBakePaths).result, A_Err_NONE);
    ASSERT_EQ(Press(kBakeStyles).result, A_Err_NONE);
    for (StreamNode* node : {line.path, line.width, line.position, line.orientation}) {
        EXPECT_TRUE(node->keyframes.empty()) << node->match_name();
        EXPECT_FALSE(node->expression_enabled) << node->match_name();
    }
}

TEST_F(Bake, ALayerKeysOnlyThePartOfTheWorkAreaItSpans) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{1, 1});
    const Line line = AddAnimatedLine("Short");
    line.layer->in_point = A_Time{7, 10};
    line.layer->duration = A_Time{1, 1};
    ASSERT_EQ(Press(kBakeStyles).result, A_Err_NONE);
    const std::vector<A_Time> times = KeyTimes(*line.width);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_TRUE(SameTime(times.front(), A_Time{7, 10}));
    EXPECT_TRUE(SameTime(times.back(), A_Time{9, 10}));
}

TEST_F(Bake, SwitchedOffGroupsAreSkippedInBothBakes) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    const Line line = AddAnimatedLine("Line");
    Child(Contents(*line.layer), "ADBE Vector Group").eyeball = false;

    ASSERT_EQ(Press(kBakePaths).result, A_Err_NONE);
    ASSERT_EQ(Press(kBakeStyles).result, A_Err_NONE);
    for (StreamNode* node : {line.path, line.width}) {
        EXPECT_TRUE(node->keyframes.empty()) << node->match_name();
        EXPECT_TRUE(node->expression_enabled) << node->match_name();
    }
    // The transform is outside the switched-off group.
    EXPECT_EQ(line.position->keyframes.size(), 2u);
}

TEST_F(Bake, OnTheEffectsOwnShapeLayerPositionAndOrientationAreStyles) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    Layer& shape = P().AddLayer(Comp(), "Self", LayerKind::Shape);
    const Line own = Animate(shape);
    tlhost::EffectInstance& effect = S().Apply(shape);
    // A line pointing at the shape layer is not baked: only the shape layer is.
    const Line other = AddAnimatedLine("Other", shape.id());

    ASSERT_EQ(Press(kBakePaths, &effect).result, A_Err_NONE);
    EXPECT_EQ(own.path->keyframes.size(), 2u);
    EXPECT_TRUE(own.position->keyframes.empty());
    EXPECT_TRUE(own.orientation->keyframes.empty());

    ASSERT_EQ(Press(kBakeStyles, &effect).result, A_Err_NONE);
    EXPECT_EQ(own.position->keyframes.size(), 2u);
    EXPECT_EQ(own.orientation->keyframes.size(), 2u);
    EXPECT_EQ(own.width->keyframes.size(), 2u);
    EXPECT_TRUE(other.width->keyframes.empty());
    EXPECT_TRUE(other.path->keyframes.empty());
}

TEST_F(Bake, OnlyLinesOfThisControllerAreBakedAndNeverTheControllerItself) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    const Line mine = AddAnimatedLine("Mine");
    Layer& other_controller = P().AddLayer(Comp(), "Other", LayerKind::Null);
    const Line theirs = AddAnimatedLine("Theirs", other_controller.id());
    StreamNode& own_opacity =
        Child(Child(Controller().root(), "ADBE Transform Group"), "ADBE Opacity");
    own_opacity.expression = "50";
    own_opacity.expression_enabled = true;

    ASSERT_EQ(Press(kBakeStyles).result, A_Err_NONE);
    EXPECT_EQ(mine.width->keyframes.size(), 2u);
    EXPECT_TRUE(theirs.width->keyframes.empty());
    EXPECT_TRUE(own_opacity.keyframes.empty());
    EXPECT_TRUE(own_opacity.expression_enabled);
}

TEST_F(Bake, TheStyleBakeLeavesSwitchedOffAndStillPropertiesAlone) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    const Line line = AddAnimatedLine("Line");
    line.width->expression_enabled = false;
    // Keyed but without an expression: it varies, and there is nothing to bake.
    StreamNode& opacity = Child(Child(line.layer->root(), "ADBE Transform Group"), "ADBE Opacity");
    opacity.keyframes = {{0.0, tlhost::StreamValue::OneD(0)},
                         {1.0, tlhost::StreamValue::OneD(100)}};
    ASSERT_EQ(Press(kBakeStyles).result, A_Err_NONE);
    EXPECT_TRUE(line.width->keyframes.empty());
    EXPECT_EQ(opacity.keyframes.size(), 2u);
}

TEST_F(Bake, APathWithoutAnExpressionIsKeyedWithItsOwnValue) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    const Line line = AddAnimatedLine("Line");
    line.path->expression.clear();
    line.path->expression_enabled = false;
    ASSERT_EQ(Press(kBakePaths).result, A_Err_NONE);
    ASSERT_EQ(line.path->keyframes.size(), 2u);
    EXPECT_EQ(line.path->keyframes[1].value, line.path->value());
}

TEST_F(Bake, AnyKindButExactlyPathRunsTheStyleBake) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    const Line line = AddAnimatedLine("Line");
    const CommandReport report = Run([&](PF_InData* in_data) {
        PF_OutData out_data{};
        std::vector<PF_ParamDef> defs;
        for (const auto& p : Effect().params()) defs.push_back(p.def());
        std::vector<PF_ParamDef*> params;
        for (auto& d : defs) params.push_back(&d);
        return ExecuteConvertExpressions(in_data, &out_data, params.data(), "Lower", "path", 1,
                                         kBakePaths);
    });
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(line.path->keyframes.empty());
    EXPECT_EQ(line.width->keyframes.size(), 2u);
    EXPECT_EQ(LastUndoGroup().name, "Lower");
}

TEST_F(Bake, EachPressIsOneClosedUndoGroupThatLogsItsChanges) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    const Line line = AddAnimatedLine("Line");
    ASSERT_EQ(Press(kBakePaths).result, A_Err_NONE);
    const tlhost::UndoGroupRecord& group = LastUndoGroup();
    EXPECT_EQ(group.name, "Convert Path Expressions");
    EXPECT_TRUE(group.closed);
    EXPECT_EQ(P().undo_groups().size(), 1u);
    const std::string path = tlhost::PropertyPath(*line.path);
    EXPECT_NE(std::find(group.changes.begin(), group.changes.end(), path + ": 2 keyframes added"),
              group.changes.end());
    EXPECT_NE(
        std::find(group.changes.begin(), group.changes.end(), path + ": expression switched off"),
        group.changes.end());
}

// Per baked frame the bake makes its three key calls (add the key, read the value, set the
// key), gives the value back, formats the progress and updates the Info panel once: twice the
// frames costs exactly that many calls more, and nothing else.
TEST_F(Bake, EachFrameCostsThreeKeyCallsAndOneInfoUpdate) {
    const Line line = AddAnimatedLine("Line");
    auto calls_for = [&](A_long frames) {
        Unbake(*line.width);
        SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{frames, 10});
        const std::map<std::string, std::uint64_t> before = S().host().ledger().CallCounts();
        EXPECT_EQ(Press(kBakeStyles).result, A_Err_NONE);
        std::map<std::string, std::uint64_t> after = S().host().ledger().CallCounts();
        for (auto& [function, count] : after) {
            count -= before.count(function) ? before.at(function) : 0;
        }
        return after;
    };
    const auto ten = calls_for(10);
    const auto twenty = calls_for(20);
    const std::map<std::string, std::uint64_t> per_frame = {
        {"AEGP_AddKeyframes", 1},
        {"AEGP_GetNewStreamValue", 1},
        {"AEGP_SetAddKeyframe", 1},
        {"AEGP_DisposeStreamValue", 1},
        {"sprintf", 1},
        {"PF_InfoDrawText3Plus", 1},
    };
    for (const auto& [function, count] : twenty) {
        const std::uint64_t base = ten.count(function) ? ten.at(function) : 0;
        const std::uint64_t expected = per_frame.count(function) ? 10 * per_frame.at(function) : 0;
        EXPECT_EQ(count - base, expected) << function;
    }
    EXPECT_EQ(twenty.at("AEGP_AddKeyframes"), 20u);
    EXPECT_EQ(twenty.at("PF_InfoDrawText3Plus"), 20u);
}

TEST_F(Bake, AMissingKeyframeSuiteLeavesNothingOpen) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    const Line line = AddAnimatedLine("Line");
    S().host().faults().FailSuite("AEGP Keyframe Suite", 4, A_Err_GENERIC);
    const CommandReport report = Press(kBakeStyles);
    EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(LastUndoGroup().closed);
    EXPECT_TRUE(line.width->expression_enabled);
}

// The ends of the undo group and of the batch answer like any step; a failed end is not
// tried again (the host may have ended it), so this test checks only the result.
TEST_F(Bake, AFailedEndIsTheResult) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{2, 10});
    AddAnimatedLine("Line");
    FailNext("AEGP_EndUndoGroup", 1, A_Err_GENERIC);
    EXPECT_EQ(Press(kBakeStyles).result, A_Err_GENERIC);
    FailNext("AEGP_EndAddKeyframes", 1, A_Err_GENERIC);
    EXPECT_EQ(Press(kBakePaths).result, A_Err_GENERIC);
}

}  // namespace
}  // namespace assistanttest
