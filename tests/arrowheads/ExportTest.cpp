// "Create Placeholders" driven through the stand-in host: which arrowhead paths become
// placeholder layers, what the layers are and where their expressions put them, the module
// switched off afterwards, and the undo group around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "arrowheads/ArrowheadFixture.h"
#include "support/TestSupport.h"

namespace arrowtest {
namespace {

using tlhost::ValueKind;

constexpr double kNear = 0.05;

std::vector<std::string> Names(const std::vector<Layer*>& layers) {
    std::vector<std::string> out;
    for (const Layer* layer : layers) out.push_back(layer->name());
    std::sort(out.begin(), out.end());
    return out;
}

Layer* Named(const std::vector<Layer*>& layers, const std::string& name) {
    for (Layer* layer : layers) {
        if (layer->name() == name) return layer;
    }
    ADD_FAILURE() << "no placeholder " << name;
    return nullptr;
}

class Export : public ArrowheadTest {};

TEST_F(Export, EachArrowheadPathBecomesAPlaceholderOnItsConnectionsTrimmedEnd) {
    AddConnection("Line 1");
    AddConnection("Line 2");
    const CommandReport report = Press();
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);

    const std::vector<Layer*> placeholders = Placeholders();
    EXPECT_EQ(Names(placeholders),
              (std::vector<std::string>{"End Arrowhead - Controller - Arrowheads 1 - Line 1",
                                        "End Arrowhead - Controller - Arrowheads 1 - Line 2",
                                        "Start Arrowhead - Controller - Arrowheads 1 - Line 1",
                                        "Start Arrowhead - Controller - Arrowheads 1 - Line 2"}));
    ASSERT_EQ(PlaceholderComps().size(), 1u);
    for (Layer* layer : placeholders) {
        EXPECT_EQ(layer->source(), PlaceholderComps()[0]);
        EXPECT_TRUE(layer->is_3d()) << layer->name();
        for (const char* match :
             {"ADBE Position", "ADBE Rotate Z", "ADBE Orientation", "ADBE Opacity"}) {
            StreamNode* node = TransformProperty(*layer, match);
            ASSERT_NE(node, nullptr) << match;
            EXPECT_TRUE(node->expression_enabled) << match;
        }
    }
    if (!styletest::HaveExpressions()) return;
    // Trim off: the start sits a hair past the path's first point and looks back along it,
    // the end a hair before its last point and looks forward.
    Layer* start = Named(placeholders, "Start Arrowhead - Controller - Arrowheads 1 - Line 1");
    Layer* end = Named(placeholders, "End Arrowhead - Controller - Arrowheads 1 - Line 1");
    ASSERT_TRUE(start && end);
    const StreamValue start_at = After(*start, "ADBE Position");
    const StreamValue end_at = After(*end, "ADBE Position");
    EXPECT_NEAR(start_at.v[0], PathStartX(), kNear);
    EXPECT_NEAR(start_at.v[1], PathY(1), kNear);
    EXPECT_NEAR(end_at.v[0], PathEndX(), kNear);
    EXPECT_NEAR(end_at.v[1], PathY(1), kNear);
    EXPECT_NEAR(After(*start, "ADBE Rotate Z").v[0], 180, 0.01);
    EXPECT_NEAR(After(*end, "ADBE Rotate Z").v[0], 0, 0.01);
    EXPECT_EQ(After(*end, "ADBE Opacity").v[0], 100);
    EXPECT_EQ(After(*end, "ADBE Orientation"), StreamValue::ThreeD(0, 0, 0));
}

// A connection layer moved and turned: the placeholders stand on its path in the
// composition, turned with it.
TEST_F(Export, PlaceholdersOfAMovedConnectionStandOnItsPathInTheComposition) {
    if (!styletest::HaveExpressions()) GTEST_SKIP() << "needs the expression engine";
    Layer& line = AddConnection("Line");
    TransformProperty(line, "ADBE Position")->set_value(StreamValue::ThreeD(50, 30, 0));
    TransformProperty(line, "ADBE Rotate Z")->set_value(StreamValue::OneD(90));
    ASSERT_EQ(Press().result, A_Err_NONE);
    Layer* start = Named(Placeholders(), "Start Arrowhead - Controller - Arrowheads 1 - Line");
    Layer* end = Named(Placeholders(), "End Arrowhead - Controller - Arrowheads 1 - Line");
    ASSERT_TRUE(start && end);
    // (x, y) turned a quarter clockwise is (-y, x), then moved by (50, 30).
    const StreamValue start_at = After(*start, "ADBE Position");
    const StreamValue end_at = After(*end, "ADBE Position");
    EXPECT_NEAR(start_at.v[0], 50 - PathY(1), kNear);
    EXPECT_NEAR(start_at.v[1], 30 + PathStartX(), kNear);
    EXPECT_NEAR(end_at.v[0], 50 - PathY(1), kNear);
    EXPECT_NEAR(end_at.v[1], 30 + PathEndX(), kNear);
    EXPECT_NEAR(start_at.v[2], 0, kNear);
}

TEST_F(Export, ThePressIsOneClosedUndoGroupAndSwitchesTheArrowheadsModuleOff) {
    Layer& line = AddConnection("Line");
    SetValue(kArrowheadsCheckbox, 1);
    const std::size_t groups = P().undo_groups().size();
    const CommandReport report = Press();
    ASSERT_EQ(report.result, A_Err_NONE);
    ASSERT_EQ(P().undo_groups().size(), groups + 1);
    EXPECT_EQ(LastUndoGroup().name, "Export Arrowheads as Placeholders");
    EXPECT_TRUE(LastUndoGroup().closed);
    EXPECT_EQ(Record()[0], 0);
    EXPECT_EQ(Value(kArrowheadsCheckbox), 0);
    EXPECT_NE(std::find(report.changed_params.begin(), report.changed_params.end(), kModulesParam),
              report.changed_params.end());
    const std::vector<StreamNode*> arrowheads = GroupsNamed(line, "Arrowheads");
    ASSERT_EQ(arrowheads.size(), 1u);
    EXPECT_FALSE(arrowheads[0]->eyeball);
}

TEST_F(Export, WithoutConnectionLayersTheGroupStillOpensAndClosesAndTheModuleGoesOff) {
    SetValue(kArrowheadsCheckbox, 1);
    const CommandReport report = Press();
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(LastUndoGroup().name, "Export Arrowheads as Placeholders");
    EXPECT_TRUE(LastUndoGroup().closed);
    EXPECT_TRUE(PlaceholderComps().empty());
    EXPECT_EQ(Record()[0], 0);
    EXPECT_EQ(Value(kArrowheadsCheckbox), 0);
}

// A failure before the dispatch (here the effect handle of the interface pass): no export, the
// checkbox left alone, but the record's byte cleared and "Modules" flagged changed.
TEST_F(Export, AfterAnEarlierFailureOnlyTheRecordIsClearedAndFlagged) {
    AddConnection("Line");
    SetValue(kArrowheadsCheckbox, 1);
    const std::size_t groups = P().undo_groups().size();
    FailNext("AEGP_GetNewEffectForEffect", 1, A_Err_GENERIC);
    const CommandReport report = Press();
    EXPECT_EQ(report.result, A_Err_GENERIC);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(Placeholders().empty());
    EXPECT_EQ(P().undo_groups().size(), groups);
    EXPECT_EQ(Value(kArrowheadsCheckbox), 1);
    EXPECT_EQ(Record()[0], 0);
    EXPECT_NE(std::find(report.changed_params.begin(), report.changed_params.end(), kModulesParam),
              report.changed_params.end());
}

TEST_F(Export, TheSetNameNumbersThePathTheExpressionsFollow) {
    Connection numbered;
    numbered.sets = {{"Arrowheads 3", {"End Arrowhead"}}};
    numbered.paths = {1, 3};
    AddConnection("Line", numbered);
    ASSERT_EQ(Press().result, A_Err_NONE);
    const std::vector<Layer*> placeholders = Placeholders();
    ASSERT_EQ(placeholders.size(), 1u);
    EXPECT_NE(TransformProperty(*placeholders[0], "ADBE Position")
                  ->expression.find(".content(\"Path 3\").content(\"Path\").path"),
              std::string::npos);
    if (!styletest::HaveExpressions()) return;
    EXPECT_NEAR(After(*placeholders[0], "ADBE Position").v[1], PathY(3), kNear);
}

// One piece, three pieces (also through two spaces in a row): path 1.
TEST_F(Export, SetNamesOfOtherThanTwoPiecesFollowPathOne) {
    Connection sets;
    sets.sets = {{"Arrowheads", {"Start Arrowhead"}},
                 {"Arrowheads 3 b", {"Start Arrowhead"}},
                 {"Arrowheads  3", {"Start Arrowhead"}}};
    sets.paths = {1, 3};
    AddConnection("Line", sets);
    ASSERT_EQ(Press().result, A_Err_NONE);
    const std::vector<Layer*> placeholders = Placeholders();
    ASSERT_EQ(placeholders.size(), 3u);
    for (Layer* layer : placeholders) {
        EXPECT_NE(TransformProperty(*layer, "ADBE Position")->expression.find("\"Path 1\""),
                  std::string::npos)
            << layer->name();
    }
}

TEST_F(Export, OnlyPathOperatorsNamedExactlySoAreExported) {
    Layer& line = AddConnection(
        "Line",
        WithSets({{"Arrowheads 1", {"start arrowhead", "End Arrowhead ", "End Arrowhead"}}}));
    // A group (not a path operator) named "Start Arrowhead" is searched like any other.
    StreamNode& set = *GroupsNamed(line, "Arrowheads 1")[0]->children()[0];
    StreamNode& group = set.AddChild(std::make_unique<StreamNode>(
        "ADBE Vector Group", "Start Arrowhead", tlhost::Grouping::Named));
    group.AddChild(
        std::make_unique<StreamNode>("ADBE Vectors Group", "Contents", tlhost::Grouping::Indexed));
    ASSERT_EQ(Press().result, A_Err_NONE);
    EXPECT_EQ(Names(Placeholders()),
              (std::vector<std::string>{"End Arrowhead - Controller - Arrowheads 1 - Line"}));
}

TEST_F(Export, ALayerWithoutArrowheadsExportsNothing) {
    AddConnection("Line", WithSets({}));
    const CommandReport report = Press();
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(Placeholders().empty());
    EXPECT_TRUE(PlaceholderComps().empty());
}

// On the effect's own shape layer the placeholders stay 2D, read the effect on that layer and
// get no orientation expression.
TEST_F(Export, OnTheEffectsOwnShapeLayerThePlaceholdersAre2D) {
    Layer& shape = P().AddLayer(Comp(), "Self", LayerKind::Shape, 0, Comp().layers().size());
    Build(shape, Connection{});
    tlhost::EffectInstance& effect = S().Apply(shape);
    const CommandReport report = Press(&effect);
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    const std::vector<Layer*> placeholders = Placeholders();
    ASSERT_EQ(placeholders.size(), 2u);
    for (Layer* layer : placeholders) {
        EXPECT_FALSE(layer->is_3d());
        EXPECT_EQ(TransformProperty(*layer, "ADBE Orientation"), nullptr);
        EXPECT_EQ(layer->name().find(" - Self - Arrowheads 1 - Self"), layer->name().find(" - "));
        if (styletest::HaveExpressions()) {
            EXPECT_EQ(After(*layer, "ADBE Position").v[1], PathY(1));
        }
    }
}

TEST_F(Export, APlaceholderOfA3DConnectionFollowsItsOrientation) {
    Layer& line = AddConnection("Line", WithSets({{"Arrowheads 1", {"End Arrowhead"}}}));
    TransformProperty(line, "ADBE Orientation")->set_value(StreamValue::ThreeD(10, 20, 30));
    ASSERT_EQ(Press().result, A_Err_NONE);
    ASSERT_EQ(Placeholders().size(), 1u);
    Layer& placeholder = *Placeholders()[0];
    EXPECT_EQ(TransformProperty(placeholder, "ADBE Orientation")->expression,
              "thisComp.layer(\"Line\").orientation;");
    if (!styletest::HaveExpressions()) return;
    EXPECT_EQ(After(placeholder, "ADBE Orientation"), StreamValue::ThreeD(10, 20, 30));
}

TEST_F(Export, ASecondPressAddsASecondSetShowingTheSameComposition) {
    AddConnection("Line");
    ASSERT_EQ(Press().result, A_Err_NONE);
    ASSERT_EQ(Press().result, A_Err_NONE);
    const std::vector<Layer*> placeholders = Placeholders();
    ASSERT_EQ(placeholders.size(), 4u);
    ASSERT_EQ(PlaceholderComps().size(), 1u);
    for (Layer* layer : placeholders) EXPECT_EQ(layer->source(), PlaceholderComps()[0]);
    EXPECT_EQ(PlaceholderComps()[0]->layers().size(), 1u);
}

// Trim on: the placeholders follow the trimmed ends, wrapped by the offset, and vanish when
// the trim leaves nothing.
TEST_F(Export, TrimMovesThePlaceholdersAndAnEmptyTrimHidesThem) {
    if (!styletest::HaveExpressions()) GTEST_SKIP() << "needs the expression engine";
    AddConnection("Line");
    ASSERT_EQ(Press().result, A_Err_NONE);
    Layer* start = Named(Placeholders(), "Start Arrowhead - Controller - Arrowheads 1 - Line");
    Layer* end = Named(Placeholders(), "End Arrowhead - Controller - Arrowheads 1 - Line");
    ASSERT_TRUE(start && end);
    const double length = PathEndX() - PathStartX();

    SetValue(kTrim, 1);
    SetValue(kTrimStart, 25);
    SetValue(kTrimEnd, 75);
    EXPECT_NEAR(After(*start, "ADBE Position").v[0], PathStartX() + 0.25 * length, kNear);
    EXPECT_NEAR(After(*end, "ADBE Position").v[0], PathStartX() + 0.75 * length, kNear);
    EXPECT_EQ(After(*end, "ADBE Opacity").v[0], 100);

    // Both Ends moves both inward; an offset of a quarter turn moves them on, wrapping.
    SetValue(kTrimStart, 0);
    SetValue(kTrimEnd, 100);
    SetValue(kTrimBothEnds, 10);
    EXPECT_NEAR(After(*start, "ADBE Position").v[0], PathStartX() + 0.10 * length, kNear);
    EXPECT_NEAR(After(*end, "ADBE Position").v[0], PathStartX() + 0.90 * length, kNear);
    SetValue(kTrimOffset, 90);
    EXPECT_NEAR(After(*start, "ADBE Position").v[0], PathStartX() + 0.35 * length, kNear);
    EXPECT_NEAR(After(*end, "ADBE Position").v[0], PathStartX() + 0.15 * length, kNear);

    SetValue(kTrimBothEnds, 0);
    SetValue(kTrimOffset, 0);
    SetValue(kTrimStart, 40);
    SetValue(kTrimEnd, 40);
    EXPECT_EQ(After(*start, "ADBE Opacity").v[0], 0);
    EXPECT_EQ(After(*end, "ADBE Opacity").v[0], 0);
}

// Quotes, backslashes, line breaks and text beyond Latin in the effect layer's, the connection
// layer's and the group's names: every expression still evaluates and finds the path. (A 3D
// placeholder finds the connection layer by the group's name, which the sibling effect gives
// the layer's name.)
TEST_F(Export, NamesOfAnyKindAreEscapedInEveryExpression) {
    if (!styletest::HaveExpressions()) GTEST_SKIP() << "needs the expression engine";
    Controller().set_name("Ctl \"A\" \\ \xE2\x80\xA8 end");
    AddConnection("Line \"1\" \\n \t \xF0\x9F\x99\x82\n");
    ASSERT_EQ(Press().result, A_Err_NONE);
    ASSERT_EQ(Placeholders().size(), 2u);
    for (Layer* layer : Placeholders()) {
        EXPECT_EQ(layer->name().find(Controller().name()), layer->name().find(" - ") + 3);
        EXPECT_NEAR(After(*layer, "ADBE Position").v[1], PathY(1), kNear);
        After(*layer, "ADBE Rotate Z");
        After(*layer, "ADBE Opacity");
        After(*layer, "ADBE Orientation");
    }
}

TEST_F(Export, AGroupNameOfAnyKindIsEscapedOnTheEffectsOwnLayer) {
    if (!styletest::HaveExpressions()) GTEST_SKIP() << "needs the expression engine";
    Layer& shape = P().AddLayer(Comp(), "Self \"q\"", LayerKind::Shape, 0, Comp().layers().size());
    Connection connection;
    connection.group = "Grp \"x\"\n\\ \xCE\xBB";
    Build(shape, connection);
    tlhost::EffectInstance& effect = S().Apply(shape);
    ASSERT_EQ(Press(&effect).result, A_Err_NONE);
    ASSERT_EQ(Placeholders().size(), 2u);
    for (Layer* layer : Placeholders()) {
        EXPECT_NEAR(After(*layer, "ADBE Position").v[1], PathY(1), kNear);
        After(*layer, "ADBE Rotate Z");
        After(*layer, "ADBE Opacity");
    }
}

}  // namespace
}  // namespace arrowtest
