// "Relink Expressions" driven through the stand-in host: which expressions come back on,
// what happens to an orientation, and the undo group around it.
#include <gtest/gtest.h>

#include "assistant/AssistantFixture.h"
#include "support/TestSupport.h"

namespace assistanttest {
namespace {

using tlhost::StreamValue;

class Relink : public AssistantTest {};

TEST_F(Relink, BakedPropertiesGetTheirExpressionsBackAndKeepTheirKeys) {
    SetTime(A_Time{1, 10}, A_Time{0, 1}, A_Time{3, 10});
    const Line line = AddAnimatedLine("Line");
    ASSERT_EQ(Press(kBakeStyles).result, A_Err_NONE);
    ASSERT_FALSE(line.width->expression_enabled);

    const CommandReport report = Press(kRelink);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(line.width->expression_enabled);
    EXPECT_EQ(line.width->keyframes.size(), 3u);
    EXPECT_EQ(LastUndoGroup().name, "Relink Expressions");
    EXPECT_TRUE(LastUndoGroup().closed);
}

TEST_F(Relink, OnlySwitchedOffExpressionsOnTimeVaryingPropertiesComeBack) {
    const Line line = AddAnimatedLine("Line");
    // Switched off without keys: not time-varying, so it stays off.
    line.width->expression_enabled = false;
    // Switched off with one key: time-varying, so it comes back on.
    line.position->expression_enabled = false;
    line.position->keyframes = {{0.5, StreamValue::ThreeD(1, 2, 3)}};
    const CommandReport report = Press(kRelink);
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_FALSE(line.width->expression_enabled);
    EXPECT_TRUE(line.position->expression_enabled);
    EXPECT_EQ(line.position->keyframes.size(), 1u);
    // The path's expression was on and stays so.
    EXPECT_TRUE(line.path->expression_enabled);
    EXPECT_EQ(LastUndoGroup().changes.size(), 1u);
}

TEST_F(Relink, AnOrientationEndsWithoutKeysHoldingItsValueAtTimeZero) {
    const Line line = AddAnimatedLine("Line");
    line.orientation->expression_enabled = false;
    line.orientation->keyframes = {{0.0, StreamValue::ThreeD(0, 0, 10)},
                                   {1.0, StreamValue::ThreeD(0, 0, 50)},
                                   {2.0, StreamValue::ThreeD(0, 0, 90)}};
    const CommandReport report = Press(kRelink);
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(line.orientation->keyframes.empty());
    EXPECT_TRUE(line.orientation->expression_enabled);
    EXPECT_EQ(line.orientation->value(), StreamValue::ThreeD(0, 0, 10));
    EXPECT_EQ(S().host().ledger().CallCount("AEGP_DeleteKeyframe"), 3u);
}

TEST_F(Relink, NestedGroupsAreReachedAndOnlyThisControllersLinesTouched) {
    const Line mine = AddAnimatedLine("Mine");
    Layer& other = P().AddLayer(Comp(), "Other", LayerKind::Null);
    const Line theirs = AddAnimatedLine("Theirs", other.id());
    for (const Line* line : {&mine, &theirs}) {
        line->path->expression_enabled = false;
        line->path->keyframes = {{0.0, line->path->value()}};
    }
    ASSERT_EQ(Press(kRelink).result, A_Err_NONE);
    EXPECT_TRUE(mine.path->expression_enabled);
    EXPECT_FALSE(theirs.path->expression_enabled);
}

TEST_F(Relink, OnTheEffectsOwnShapeLayerOnlyThatLayerIsWalked) {
    Layer& shape = P().AddLayer(Comp(), "Self", LayerKind::Shape);
    const Line own = Animate(shape);
    tlhost::EffectInstance& effect = S().Apply(shape);
    const Line pointing = AddAnimatedLine("Pointing", shape.id());
    for (const Line* line : {&own, &pointing}) {
        line->width->expression_enabled = false;
        line->width->keyframes = {{0.0, StreamValue::OneD(1)}};
    }
    ASSERT_EQ(Press(kRelink, &effect).result, A_Err_NONE);
    EXPECT_TRUE(own.width->expression_enabled);
    EXPECT_FALSE(pointing.width->expression_enabled);
}

TEST_F(Relink, AControllerAloneStillOpensAndClosesItsUndoGroup) {
    const CommandReport report = Press(kRelink);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    ASSERT_EQ(P().undo_groups().size(), 1u);
    EXPECT_EQ(LastUndoGroup().name, "Relink Expressions");
    EXPECT_TRUE(LastUndoGroup().closed);
    EXPECT_TRUE(LastUndoGroup().changes.empty());
}

// A failure while an orientation's keys go: the batch around the deletion is closed, the
// undo group ended, and the failure is the result.
TEST_F(Relink, AFailureWhileRemovingKeysClosesTheBatchAndTheGroup) {
    const Line line = AddAnimatedLine("Line");
    line.orientation->expression_enabled = false;
    line.orientation->keyframes = {{0.0, StreamValue::ThreeD(0, 0, 10)},
                                   {1.0, StreamValue::ThreeD(0, 0, 50)}};
    FailNext("AEGP_DeleteKeyframe", 2, A_Err_CONST_PROJECT_MODIFICATION);
    const CommandReport report = Press(kRelink);
    EXPECT_EQ(report.result, A_Err_CONST_PROJECT_MODIFICATION);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(LastUndoGroup().closed);
    // The last key went before the failure; the first stayed.
    EXPECT_EQ(line.orientation->keyframes.size(), 1u);
}

}  // namespace
}  // namespace assistanttest
