// Pictures of small compositions (100 x 100, black) checked at chosen pixels against values
// worked out by hand: a pixel (x, y) covers x..x+1 and y..y+1, so its centre is (x + .5, y + .5).
#include "render/RenderFixture.h"

namespace rendertest {
namespace {

// A horizontal line from (x0, 50) to (x1, 50): pixel row 50 lies inside a stroke around it.
ShapePath Horizontal(double x0, double x1, double y = 50) {
    return Polyline({{x0, y}, {x1, y}});
}

using Caps = RenderTest;

TEST_F(Caps, EachCapAtTheChosenPoints) {
    struct Case {
        int cap;
        std::uint32_t at_83_50, at_86_50, at_84_46, at_17_50;
    };
    // (83,50) lies within 4.2 of the end (80,50): inside a round or projecting cap.
    // (86,50) lies beyond x = 85: outside every cap. (84,46) is 5 or more from (80,50) but
    // inside the projecting square (x < 85, y > 45). (17,50) mirrors (82,50) at the start.
    const Case cases[] = {
        {1, kBlack, kBlack, kBlack, kBlack},
        {2, kWhite, kBlack, kBlack, kWhite},
        {3, kWhite, kBlack, kWhite, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cap);
        Layer& layer = AddShapeLayer("cap " + std::to_string(c.cap));
        StreamNode& root = Root(layer);
        PathItem(root, Horizontal(20, 80));
        Number(StrokeItem(root, 10), "ADBE Vector Stroke Line Cap", c.cap);
        const tlhost::RenderedImage image = Draw();
        EXPECT_TRUE(Near(image.At(83, 50), c.at_83_50));
        EXPECT_TRUE(Near(image.At(86, 50), c.at_86_50));
        EXPECT_TRUE(Near(image.At(84, 46), c.at_84_46));
        EXPECT_TRUE(Near(image.At(17, 50), c.at_17_50));
        // Switch this layer off for the next case.
        layer.set_flags(0);
    }
}

using Joins = RenderTest;

TEST_F(Joins, MiterFillsTheOuterCornerBevelCutsItRoundRoundsIt) {
    // An L of width 10: along y = 50 to (60, 50), then down to (60, 90). The outer corner of
    // the miter is (65, 45); the bevel cuts along x - y = 15; the round join is a circle of
    // radius 5 about (60, 50).
    struct Case {
        int join;
        double miter_limit;
        std::uint32_t at_64_45, at_63_47;
    };
    const Case cases[] = {
        {1, 4, kWhite, kWhite},  // miter: the whole square corner
        {3, 4, kBlack, kBlack},  // bevel: (64,45) and (63,47) lie beyond x - y = 15
        {2, 4, kBlack, kWhite},  // round: (63..64, 47..48) is within 5 of (60, 50)
        // A right angle's miter is 1.414 widths long: a limit of 1 turns it into a bevel, a
        // limit of 1.5 keeps it.
        {1, 1, kBlack, kBlack},
        {1, 1.5, kWhite, kWhite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "join " << c.join << " limit " << c.miter_limit);
        Layer& layer = AddShapeLayer();
        StreamNode& root = Root(layer);
        PathItem(root, Polyline({{20, 50}, {60, 50}, {60, 90}}));
        StreamNode& stroke = StrokeItem(root, 10);
        Number(stroke, "ADBE Vector Stroke Line Join", c.join);
        Number(stroke, "ADBE Vector Stroke Miter Limit", c.miter_limit);
        const tlhost::RenderedImage image = Draw();
        EXPECT_TRUE(Near(image.At(64, 45), c.at_64_45));
        EXPECT_TRUE(Near(image.At(63, 47), c.at_63_47));
        EXPECT_TRUE(Near(image.At(50, 50), kWhite));
        layer.set_flags(0);
    }
}

using DashPattern = RenderTest;

TEST_F(DashPattern, DashesAndGapsAlternateFromTheStartShiftedByTheOffset) {
    // Width 6 along y = 50 from x = 10; dash 10, gap 10: on 10..20, off 20..30, on 30..40.
    StreamNode& root = Root(AddShapeLayer());
    PathItem(root, Horizontal(10, 90));
    StreamNode& stroke = StrokeItem(root, 6);
    Dashes(stroke, {10, 10});
    tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(15, 50), kWhite));
    EXPECT_TRUE(Near(image.At(25, 50), kBlack));
    EXPECT_TRUE(Near(image.At(35, 50), kWhite));
    EXPECT_TRUE(Near(image.At(85, 50), kBlack));

    // An offset of 5 moves the pattern back along the line: on 10..15, off 15..25, on 25..35.
    Number(Child(stroke, "ADBE Vector Stroke Dashes"), "ADBE Vector Stroke Offset", 5);
    image = Draw();
    EXPECT_TRUE(Near(image.At(12, 50), kWhite));
    EXPECT_TRUE(Near(image.At(20, 50), kBlack));
    EXPECT_TRUE(Near(image.At(27, 50), kWhite));
}

TEST_F(DashPattern, HiddenDashPropertiesAndAPatternOfZeroLengthStrokeSolid) {
    StreamNode& root = Root(AddShapeLayer());
    PathItem(root, Horizontal(10, 90));
    StreamNode& stroke = StrokeItem(root, 6);
    Dashes(stroke, {10, 10});
    StreamNode& dashes = Child(stroke, "ADBE Vector Stroke Dashes");
    // Hidden, as the host keeps them until dashes are added: no dashes.
    for (const auto& child : dashes.children()) child->set_hidden(true);
    EXPECT_TRUE(Near(Draw().At(25, 50), kWhite));

    // Shown, both 0 (the module switched off makes them 0): solid.
    for (const auto& child : dashes.children()) {
        child->set_hidden(false);
        child->set_value(StreamValue::OneD(0));
    }
    EXPECT_TRUE(Near(Draw().At(25, 50), kWhite));

    // A negative gap counts as 0 and a dash alone repeats as its own gap: 10 on, 10 off.
    Child(dashes, "ADBE Vector Stroke Dash 1").set_value(StreamValue::OneD(10));
    Child(dashes, "ADBE Vector Stroke Gap 1").set_hidden(true);
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(15, 50), kWhite));
    EXPECT_TRUE(Near(image.At(25, 50), kBlack));
}

TEST_F(DashPattern, EachDashGetsTheStrokesCaps) {
    // Dash 0 with round caps: dots of diameter 6 every 10 from x = 10.
    StreamNode& root = Root(AddShapeLayer());
    PathItem(root, Horizontal(10, 90));
    StreamNode& stroke = StrokeItem(root, 6);
    Number(stroke, "ADBE Vector Stroke Line Cap", 2);
    Dashes(stroke, {0, 10});
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(20, 50), kWhite, 40));  // about (20, 50): a dot's middle
    EXPECT_TRUE(Near(image.At(24, 50), kBlack));      // 3.5 or more from every dot
    EXPECT_TRUE(Near(image.At(29, 50), kWhite, 40));
}

using Gradients = RenderTest;

// The square 0..100 filled by a gradient fill of the given points.
StreamNode& GradientSquare(Layer& layer, int type, std::pair<double, double> start,
                           std::pair<double, double> end) {
    StreamNode& root = Root(layer);
    PathItem(root, Polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true));
    return GradientItem(root, kGradientFill, type, start, end);
}

TEST_F(Gradients, LinearRunsWhiteToBlackFromStartToEndAndKeepsTheEndColoursBeyond) {
    GradientSquare(AddShapeLayer(), 1, {20, 0}, {80, 0});
    const tlhost::RenderedImage image = Draw();
    // Pixel 35's centre lies a quarter of the way: 1 - 15.5 / 60.
    EXPECT_TRUE(Near(image.At(35, 10), Rgb(189, 189, 189)));
    EXPECT_TRUE(Near(image.At(65, 90), Rgb(62, 62, 62)));
    EXPECT_TRUE(Near(image.At(5, 50), kWhite));
    EXPECT_TRUE(Near(image.At(95, 50), kBlack));
    EXPECT_EQ(Notes().size(), 1u);  // the gradient's colours, said once
}

TEST_F(Gradients, RadialReachesTheEndColourAtTheEndPointsDistance) {
    // Centre (50.5, 50.5), radius 40: pixel (70, 50) is 20 out, half way.
    GradientSquare(AddShapeLayer(), 2, {50.5, 50.5}, {90.5, 50.5});
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(50, 50), kWhite));
    EXPECT_TRUE(Near(image.At(70, 50), Rgb(128, 128, 128)));
    EXPECT_TRUE(Near(image.At(50, 30), Rgb(128, 128, 128)));  // the same distance, upward
    EXPECT_TRUE(Near(image.At(40, 50), Rgb(191, 191, 191)));
    EXPECT_TRUE(Near(image.At(95, 95), kBlack));
}

TEST_F(Gradients, HighlightMovesTheFocusAlongTheTurnedDirection) {
    // Highlight 50 % of the radius: the focus sits 20 from the centre. Along the axis through
    // focus F and centre C the gradient's parameter t solves |P - F - t (C - F)| = 40 t:
    // t = s / 20 on the side away from C (s = distance from F), s / 60 toward it.
    Layer& layer = AddShapeLayer();
    StreamNode& paint = GradientSquare(layer, 2, {50.5, 50.5}, {90.5, 50.5});
    Number(paint, "ADBE Vector Grad HiLite Length", 50);
    Number(paint, "ADBE Vector Grad HiLite Angle", 0);
    tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(70, 50), kWhite, 8));           // at the focus
    EXPECT_TRUE(Near(image.At(80, 50), Rgb(128, 128, 128)));  // s = 10 away: t = 1/2
    EXPECT_TRUE(Near(image.At(40, 50), Rgb(128, 128, 128)));  // s = 30 toward: t = 1/2
    EXPECT_TRUE(Near(image.At(90, 50), kBlack, 3));           // s = 20 away: t = 1

    // Turned 90 degrees: clockwise on the screen, so the focus moves down to (50.5, 70.5).
    Number(paint, "ADBE Vector Grad HiLite Angle", 90);
    image = Draw();
    EXPECT_TRUE(Near(image.At(50, 70), kWhite, 8));
    EXPECT_TRUE(Near(image.At(50, 80), Rgb(128, 128, 128)));
    EXPECT_TRUE(Near(image.At(50, 40), Rgb(128, 128, 128)));

    // A highlight of 100 % is kept at 99 %: the focus stays inside the circle.
    Number(paint, "ADBE Vector Grad HiLite Angle", 0);
    Number(paint, "ADBE Vector Grad HiLite Length", 100);
    image = Draw();
    // The focus at (90.1, 50.5): toward the centre t = s / 79.6, so pixel 50 (s = 39.6) is
    // half way and pixel 10 (s = 79.6) at the end.
    EXPECT_TRUE(Near(image.At(89, 50), kWhite, 8));
    EXPECT_TRUE(Near(image.At(50, 50), Rgb(128, 128, 128), 3));
    EXPECT_TRUE(Near(image.At(10, 50), kBlack, 3));
}

TEST_F(Gradients, CoincidingPointsPaintTheLastColourAndAGradientStrokeFollowsItsPoints) {
    GradientSquare(AddShapeLayer(), 1, {50, 50}, {50, 50});
    EXPECT_TRUE(Near(Draw().At(10, 10), kBlack));

    Layer& line = AddShapeLayer();
    StreamNode& root = Root(line);
    PathItem(root, Horizontal(0, 100, 20));
    StreamNode& stroke = GradientItem(root, kGradientStroke, 1, {0, 0}, {100, 0});
    Number(stroke, "ADBE Vector Stroke Width", 10);
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(25, 20), Rgb(190, 190, 190)));
    EXPECT_TRUE(Near(image.At(75, 20), Rgb(62, 62, 62)));
    EXPECT_TRUE(Near(image.At(25, 30), kBlack));  // below the stroke: the square, all black
}

using TrimPaths = RenderTest;

TEST_F(TrimPaths, KeepsTheSpanBetweenStartAndEndMovedByTheOffset) {
    struct Case {
        double start, end, offset;
        std::vector<int> white, black;  // pixel columns on row 50
    };
    const Case cases[] = {
        {25, 75, 0, {30, 50, 69}, {20, 80}},
        {75, 25, 0, {30, 50, 69}, {20, 80}},           // swapped
        {0, 50, 90, {30, 60, 74}, {20, 80}},           // a quarter turn: 25 .. 75
        {25, 75, 180, {5, 20, 80, 95}, {30, 50, 70}},  // past the end: two pieces
        {40, 40, 0, {}, {10, 40, 50, 90}},             // nothing
        {0, 100, 123, {2, 50, 97}, {}},                // the whole length
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.end << " " << c.offset);
        Layer& layer = AddShapeLayer();
        StreamNode& root = Root(layer);
        PathItem(root, Horizontal(0, 100));
        StrokeItem(root, 10);
        TrimItem(root, c.start, c.end, c.offset);
        const tlhost::RenderedImage image = Draw();
        for (int x : c.white) EXPECT_TRUE(Near(image.At(x, 50), kWhite)) << x;
        for (int x : c.black) EXPECT_TRUE(Near(image.At(x, 50), kBlack)) << x;
        layer.set_flags(0);
    }
}

TEST_F(TrimPaths, OnAClosedPathThePiecesAcrossTheStartJoinWithTheStrokesJoin) {
    // A square from (10, 10) clockwise, 320 long; 75 % to 100 % turned by 45 degrees keeps
    // 280 .. 320 (up the left side to the start) and 0 .. 40 (along the top): one piece
    // through (10, 10), whose miter fills the outer corner 5..10 x 5..10.
    StreamNode& root = Root(AddShapeLayer());
    PathItem(root, Polyline({{10, 10}, {90, 10}, {90, 90}, {10, 90}}, true));
    StrokeItem(root, 10);
    TrimItem(root, 75, 100, 45);
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(6, 6), kWhite));    // the join's corner
    EXPECT_TRUE(Near(image.At(10, 45), kWhite));  // up the left side
    EXPECT_TRUE(Near(image.At(45, 10), kWhite));  // along the top
    EXPECT_TRUE(Near(image.At(10, 60), kBlack));
    EXPECT_TRUE(Near(image.At(60, 10), kBlack));
    EXPECT_TRUE(Near(image.At(90, 50), kBlack));
}

TEST_F(TrimPaths, IndividuallyRunsOverThePathsInOrderSimultaneouslyTrimsEachAlike) {
    for (int type : {1, 2}) {
        SCOPED_TRACE(type);
        Layer& layer = AddShapeLayer();
        StreamNode& root = Root(layer);
        PathItem(root, Horizontal(0, 100, 30), "Top");
        PathItem(root, Horizontal(0, 100, 70), "Bottom");
        StrokeItem(root, 10);
        TrimItem(root, 0, 50, 0, type);
        const tlhost::RenderedImage image = Draw();
        EXPECT_TRUE(Near(image.At(20, 30), kWhite));
        EXPECT_TRUE(Near(image.At(80, 30), type == 2 ? kWhite : kBlack));
        EXPECT_TRUE(Near(image.At(20, 70), type == 2 ? kBlack : kWhite));
        EXPECT_TRUE(Near(image.At(80, 70), kBlack));
        layer.set_flags(0);
    }
}

TEST_F(TrimPaths, ReachesStrokesAboveItAndInsideGroupsAboveIt) {
    // Group (path, its own stroke), then a stroke between it and the trim, then the trim:
    // every stroke paints the trimmed path.
    StreamNode& root = Root(AddShapeLayer());
    StreamNode& group = GroupItem(root);
    PathItem(Contents(group), Horizontal(0, 100, 30));
    StrokeItem(Contents(group), 10);
    PathItem(root, Horizontal(0, 100, 70));
    StrokeItem(root, 10);
    TrimItem(root, 0, 50);
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(20, 30), kWhite));
    EXPECT_TRUE(Near(image.At(80, 30), kBlack));
    EXPECT_TRUE(Near(image.At(20, 70), kWhite));
    EXPECT_TRUE(Near(image.At(80, 70), kBlack));
}

TEST_F(TrimPaths, LeavesPathsBelowItAlone) {
    StreamNode& root = Root(AddShapeLayer());
    TrimItem(root, 0, 50);
    PathItem(root, Horizontal(0, 100));
    StrokeItem(root, 10);
    EXPECT_TRUE(Near(Draw().At(80, 50), kWhite));
}

using Painting = RenderTest;

TEST_F(Painting, HigherInTheListIsOnTopAndPaintsOnlyPathsAboveThem) {
    StreamNode& root = Root(AddShapeLayer());
    PathItem(root, Polyline({{10, 10}, {60, 10}, {60, 60}, {10, 60}}, true));
    FillItem(root, 1, 0, 0, "Red");
    FillItem(root, 0, 0, 1, "Blue");
    PathItem(root, Polyline({{40, 40}, {90, 40}, {90, 90}, {40, 90}}, true), "Below the fills");
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(30, 30), Rgb(255, 0, 0)));
    EXPECT_TRUE(Near(image.At(80, 80), kBlack));  // the second path has no paint below it
}

TEST_F(Painting, OpacitiesMultiplyAndOverlapsUnderOnePaintArePaintedOnce) {
    StreamNode& root = Root(AddShapeLayer());
    StreamNode& group = GroupItem(root);
    Number(TransformOf(group), "ADBE Vector Group Opacity", 50);
    PathItem(Contents(group), Polyline({{0, 0}, {60, 0}, {60, 60}, {0, 60}}, true));
    PathItem(Contents(group), Polyline({{40, 40}, {100, 40}, {100, 100}, {40, 100}}, true));
    Number(FillItem(Contents(group)), "ADBE Vector Fill Opacity", 50);
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(20, 20), Rgb(64, 64, 64)));
    EXPECT_TRUE(Near(image.At(50, 50), Rgb(64, 64, 64)));  // the overlap, once
    EXPECT_TRUE(Near(image.At(80, 80), Rgb(64, 64, 64)));
}

TEST_F(Painting, LayerOpacityAppliesToTheLayerAsAWholeAndLayersStackBottomUp) {
    Layer& bottom = AddShapeLayer("Bottom");
    PathItem(Root(bottom), Polyline({{0, 0}, {60, 0}, {60, 100}, {0, 100}}, true));
    FillItem(Root(bottom), 0, 0, 1);
    Layer& top = AddShapeLayer("Top");  // added on top
    StreamNode& root = Root(top);
    PathItem(root, Polyline({{40, 0}, {100, 0}, {100, 100}, {40, 100}}, true));
    StrokeItem(root, 20, 1, 1, 1);
    FillItem(root, 1, 0, 0);
    Number(Child(top.root(), "ADBE Transform Group"), "ADBE Opacity", 50);
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(20, 50), Rgb(0, 0, 255)));
    // Inside the layer the stroke (30..50) covers the fill: white, at half over blue (not
    // white at half over red at half over blue).
    EXPECT_TRUE(Near(image.At(45, 50), Rgb(128, 128, 255)));
    EXPECT_TRUE(Near(image.At(55, 50), Rgb(128, 0, 127)));  // red at half over blue
    EXPECT_TRUE(Near(image.At(70, 50), Rgb(128, 0, 0)));    // red at half over black
}

TEST_F(Painting, FillRulesAndOpenPathsFilledAsIfClosed) {
    Layer& layer = AddShapeLayer();
    StreamNode& root = Root(layer);
    PathItem(root, Polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true), "Outer");
    PathItem(root, Polyline({{30, 30}, {70, 30}, {70, 70}, {30, 70}}, true), "Inner");
    StreamNode& fill = FillItem(root);
    EXPECT_TRUE(Near(Draw().At(50, 50), kWhite));
    Number(fill, "ADBE Vector Fill Rule", 2);
    EXPECT_TRUE(Near(Draw().At(50, 50), kBlack));
    EXPECT_TRUE(Near(Draw().At(10, 50), kWhite));
    layer.set_flags(0);

    StreamNode& open = Root(AddShapeLayer());
    PathItem(open, Polyline({{10, 10}, {90, 10}, {50, 90}}));
    FillItem(open);
    EXPECT_TRUE(Near(Draw().At(50, 30), kWhite));
    EXPECT_TRUE(Near(Draw().At(10, 80), kBlack));
}

TEST_F(Painting, SwitchedOffItemsGroupsAndLayersAreLeftOut) {
    Layer& layer = AddShapeLayer();
    StreamNode& root = Root(layer);
    StreamNode& group = GroupItem(root);
    PathItem(Contents(group), Horizontal(0, 100, 30));
    PathItem(root, Horizontal(0, 100, 70));
    StreamNode& off = StrokeItem(root, 10, 1, 0, 0, "Switched off");
    StrokeItem(root, 10);
    off.eyeball = false;
    tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(50, 30), kWhite));
    EXPECT_TRUE(Near(image.At(50, 70), kWhite));

    group.eyeball = false;  // its path is no longer painted by the stroke around it
    image = Draw();
    EXPECT_TRUE(Near(image.At(50, 30), kBlack));
    EXPECT_TRUE(Near(image.At(50, 70), kWhite));

    layer.set_flags(layer.flags() & ~AEGP_LayerFlag_VIDEO_ACTIVE);
    EXPECT_TRUE(Near(Draw().At(50, 70), kBlack));
}

TEST_F(Painting, LayersOutsideTheirTimeSpanOrBesideASoloLayerAreNotDrawn) {
    Layer& first = AddShapeLayer("First");
    PathItem(Root(first), Horizontal(0, 100, 30));
    StrokeItem(Root(first), 10);
    first.in_point = {1, 1};
    first.duration = {1, 1};
    Layer& second = AddShapeLayer("Second");
    PathItem(Root(second), Horizontal(0, 100, 70));
    StrokeItem(Root(second), 10);

    EXPECT_TRUE(Near(Draw(0.99).At(50, 30), kBlack));
    EXPECT_TRUE(Near(Draw(1).At(50, 30), kWhite));
    EXPECT_TRUE(Near(Draw(1.99).At(50, 30), kWhite));
    EXPECT_TRUE(Near(Draw(2).At(50, 30), kBlack));

    first.set_flags(first.flags() | AEGP_LayerFlag_SOLO);
    const tlhost::RenderedImage image = Draw(1.5);
    EXPECT_TRUE(Near(image.At(50, 30), kWhite));
    EXPECT_TRUE(Near(image.At(50, 70), kBlack));
}

TEST_F(Painting, ValuesAtTheTimeDrawnKeyframesInterpolated) {
    StreamNode& root = Root(AddShapeLayer());
    PathItem(root, Horizontal(0, 100));
    StreamNode& width = Child(StrokeItem(root, 2), "ADBE Vector Stroke Width");
    width.keyframes = {{0.0, StreamValue::OneD(2)}, {1.0, StreamValue::OneD(20)}};
    // At 0.5 s the width is 11: row 54 (centre 54.5) lies 4.5 from the line at y = 50.
    EXPECT_TRUE(Near(Draw(0).At(50, 54), kBlack));
    EXPECT_TRUE(Near(Draw(0.5).At(50, 54), kWhite));
    EXPECT_TRUE(Near(Draw(0.5).At(50, 56), kBlack));
}

TEST_F(Painting, TheScaleEnlargesThePicture) {
    StreamNode& root = Root(AddShapeLayer());
    PathItem(root, Horizontal(0, 100));
    StrokeItem(root, 10);
    const tlhost::RenderedImage image = Draw(0, 2);
    ASSERT_EQ(image.width, 200);
    ASSERT_EQ(image.height, 200);
    EXPECT_TRUE(Near(image.At(100, 91), kWhite));  // 45.5 in the composition
    EXPECT_TRUE(Near(image.At(100, 88), kBlack));  // 44
}

}  // namespace
}  // namespace rendertest
