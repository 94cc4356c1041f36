// What a shape layer's contents paint: which paints, in which order, over which paths in which
// space, with which values, and what is said about the items that are not drawn.
#include "render/RenderFixture.h"
#include "render/ShapeContents.h"

namespace rendertest {
namespace {

using tlhost::ShapePaint;

class LayerContents : public RenderTest {
  protected:
    std::vector<ShapePaint> Paints(Layer& layer, double time = 0) {
        notes = tlhost::RenderNotes{};
        return tlhost::ShapeLayerPaints(layer, time, read, &notes);
    }
    tlhost::RenderNotes notes;
};

std::string Name(const ShapePaint& paint) {
    return paint.node ? paint.node->name() : std::string();
}

TEST_F(LayerContents, PaintsComeBackToFrontEachWithThePathsAboveIt) {
    Layer& layer = AddShapeLayer();
    StreamNode& root = Root(layer);
    PathItem(root, Polyline({{0, 0}, {10, 0}}), "Top path");
    StrokeItem(root, 4, 1, 1, 1, "A");
    StreamNode& group = GroupItem(root);
    PathItem(Contents(group), Polyline({{0, 20}, {10, 20}}), "Inner path");
    FillItem(Contents(group), 1, 1, 1, "B");
    FillItem(root, 1, 1, 1, "C");
    PathItem(root, Polyline({{0, 40}, {10, 40}}), "Below every paint");

    const std::vector<ShapePaint> paints = Paints(layer);
    ASSERT_EQ(paints.size(), 3u);
    EXPECT_EQ(Name(paints[0]), "C");  // lowest in the list: drawn first
    EXPECT_EQ(Name(paints[1]), "B");
    EXPECT_EQ(Name(paints[2]), "A");
    EXPECT_EQ(paints[0].outlines.size(), 2u);  // the top path and the group's
    EXPECT_EQ(paints[1].outlines.size(), 1u);  // only its own group's
    ASSERT_EQ(paints[2].outlines.size(), 1u);  // only the top path
    EXPECT_DOUBLE_EQ(paints[2].outlines[0].points[0].y, 0);
    EXPECT_TRUE(Notes().empty());
    EXPECT_TRUE(notes.texts().empty());
}

TEST_F(LayerContents, AGroupsPathsReachPaintsAroundItThroughItsTransformAndItsPaintsLiveInIt) {
    Layer& layer = AddShapeLayer();
    StreamNode& root = Root(layer);
    StreamNode& group = GroupItem(root);
    Leaf(TransformOf(group), "ADBE Vector Position", StreamValue::TwoD(100, 200));
    Number(TransformOf(group), "ADBE Vector Group Opacity", 40);
    PathItem(Contents(group), Polyline({{1, 2}, {3, 4}}));
    Number(StrokeItem(Contents(group), 3, 1, 1, 1, "Inside"), "ADBE Vector Stroke Opacity", 50);
    StrokeItem(root, 5, 1, 1, 1, "Around");

    const std::vector<ShapePaint> paints = Paints(layer);
    ASSERT_EQ(paints.size(), 2u);
    const ShapePaint& around = paints[0];
    const ShapePaint& inside = paints[1];
    // The paint around the group sees the path moved into its space; its own space is the
    // layer's, and the group's opacity does not reach it.
    EXPECT_DOUBLE_EQ(around.outlines[0].points[0].x, 101);
    EXPECT_DOUBLE_EQ(around.outlines[0].points[0].y, 202);
    EXPECT_DOUBLE_EQ(around.to_layer.x0, 0);
    EXPECT_DOUBLE_EQ(around.opacity, 1);
    // The paint inside sees the path where it is, and carries the group's move and opacity.
    EXPECT_DOUBLE_EQ(inside.outlines[0].points[0].x, 1);
    EXPECT_DOUBLE_EQ(inside.to_layer.x0, 100);
    EXPECT_DOUBLE_EQ(inside.to_layer.y0, 200);
    EXPECT_DOUBLE_EQ(inside.opacity, 0.2);
    EXPECT_DOUBLE_EQ(inside.width, 3);  // in its own space
}

TEST_F(LayerContents, ATrimInAGroupWorksInThatGroupsSpace) {
    // The inner group moves its path by 1000; the trim around it cuts 0 .. 50 % either way.
    Layer& layer = AddShapeLayer();
    StreamNode& root = Root(layer);
    StreamNode& group = GroupItem(root);
    Leaf(TransformOf(group), "ADBE Vector Position", StreamValue::TwoD(1000, 0));
    PathItem(Contents(group), Polyline({{0, 0}, {100, 0}}));
    StrokeItem(Contents(group), 1);
    TrimItem(root, 0, 50);
    const std::vector<ShapePaint> paints = Paints(layer);
    ASSERT_EQ(paints.size(), 1u);
    ASSERT_EQ(paints[0].outlines.size(), 1u);
    EXPECT_NEAR(paints[0].outlines[0].points.front().x, 0, 1e-9);
    EXPECT_NEAR(paints[0].outlines[0].points.back().x, 50, 1e-9);  // back in the group's space
}

TEST_F(LayerContents, MissingPropertiesTakeTheHostsDefaultsAndValuesComeThroughTheReader) {
    Layer& layer = AddShapeLayer();
    StreamNode& root = Root(layer);
    PathItem(root, Polyline({{0, 0}, {10, 0}}));
    auto bare = std::make_unique<StreamNode>(kStroke, "Bare", Grouping::Named);
    root.AddChild(std::move(bare));
    auto gradient = std::make_unique<StreamNode>(kGradientFill, "Bare gradient", Grouping::Named);
    root.AddChild(std::move(gradient));
    std::vector<ShapePaint> paints = Paints(layer);
    ASSERT_EQ(paints.size(), 2u);
    const ShapePaint& fill = paints[0];
    EXPECT_TRUE(fill.gradient);
    EXPECT_EQ(fill.gradient_type, 1);
    EXPECT_DOUBLE_EQ(fill.end.x, 100);
    ASSERT_EQ(fill.stops.size(), 2u);
    EXPECT_DOUBLE_EQ(fill.stops[0].red, 1);
    EXPECT_DOUBLE_EQ(fill.stops[1].red, 0);
    EXPECT_EQ(notes.texts().size(), 1u);  // the gradient's colours
    const ShapePaint& stroke = paints[1];
    EXPECT_DOUBLE_EQ(stroke.width, 2);
    EXPECT_EQ(stroke.line_cap, 1);
    EXPECT_EQ(stroke.line_join, 1);
    EXPECT_DOUBLE_EQ(stroke.miter_limit, 4);
    EXPECT_DOUBLE_EQ(stroke.opacity, 1);
    EXPECT_DOUBLE_EQ(stroke.red, 1);

    // Every value comes from the reader: here one that doubles numbers.
    Number(*root.FindChild(kStroke), "ADBE Vector Stroke Width", 7);
    read = [](const StreamNode& node, double time) {
        StreamValue v = node.ValueAt(time);
        if (v.kind == ValueKind::OneD) v.v[0] *= 2;
        return v;
    };
    paints = Paints(layer);
    EXPECT_DOUBLE_EQ(paints[1].width, 14);
}

TEST_F(LayerContents, OutOfRangeValuesAreKeptToWhatTheHostAllows) {
    Layer& layer = AddShapeLayer();
    StreamNode& root = Root(layer);
    PathItem(root, Polyline({{0, 0}, {10, 0}}));
    StreamNode& stroke = StrokeItem(root, -5, 2, -1, 0.5);
    Number(stroke, "ADBE Vector Stroke Opacity", 250);
    Number(stroke, "ADBE Vector Stroke Miter Limit", 0);
    Dashes(stroke, {10, -4, 3});
    const std::vector<ShapePaint> paints = Paints(layer);
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_DOUBLE_EQ(paints[0].width, 0);
    EXPECT_DOUBLE_EQ(paints[0].red, 1);
    EXPECT_DOUBLE_EQ(paints[0].green, 0);
    EXPECT_DOUBLE_EQ(paints[0].opacity, 1);
    EXPECT_DOUBLE_EQ(paints[0].miter_limit, 1);
    EXPECT_EQ(paints[0].dashes, (std::vector<double>{10, 0, 3}));
}

TEST_F(LayerContents, ItemsNotDrawnAreSaidOnceEachWithTheFirstPlace) {
    Layer& layer = AddShapeLayer("Lines");
    StreamNode& root = Root(layer);
    PathItem(root, Polyline({{0, 0}, {10, 0}}));
    for (const char* name : {"Repeater 1", "Repeater 2"}) {
        root.AddChild(
            std::make_unique<StreamNode>("ADBE Vector Filter - Repeater", name, Grouping::Named));
    }
    root.AddChild(
        std::make_unique<StreamNode>("ADBE Vector Shape - Star", "Polystar 1", Grouping::Named));
    auto off =
        std::make_unique<StreamNode>("ADBE Vector Filter - Twist", "Twist 1", Grouping::Named);
    off->eyeball = false;  // switched off: not applied by the host either, nothing to say
    root.AddChild(std::move(off));
    StreamNode& group = GroupItem(root);
    Number(TransformOf(group), "ADBE Vector Skew", 10);
    StrokeItem(root, 1);
    Number(*root.FindChild(kStroke), "ADBE Vector Composite Order", 2);
    Number(*root.FindChild(kStroke), "ADBE Vector Blend Mode", 3);

    Paints(layer);
    ASSERT_EQ(notes.texts().size(), 5u);
    EXPECT_EQ(notes.texts()[0],
              "shape item \"Repeater 1\" (ADBE Vector Filter - Repeater) is not applied: the "
              "paths above it are drawn as they are (first met in Lines > Contents > Repeater 1)");
    EXPECT_NE(notes.texts()[1].find("Polystar 1"), std::string::npos);
    EXPECT_NE(notes.texts()[2].find("skew"), std::string::npos);
    EXPECT_NE(notes.texts()[3].find("blend modes"), std::string::npos);
    EXPECT_NE(notes.texts()[4].find("Below Previous in Same Group"), std::string::npos);
}

TEST_F(LayerContents, RectanglesAndEllipsesStartWhereTheHostStartsThem) {
    Layer& layer = AddShapeLayer();
    StreamNode& root = Root(layer);
    StreamNode& rect = root.AddChild(
        std::make_unique<StreamNode>("ADBE Vector Shape - Rect", "Rectangle", Grouping::Named));
    Leaf(rect, "ADBE Vector Rect Size", StreamValue::TwoD(40, 20));
    Leaf(rect, "ADBE Vector Rect Position", StreamValue::TwoD(50, 50));
    StreamNode& ellipse = root.AddChild(
        std::make_unique<StreamNode>("ADBE Vector Shape - Ellipse", "Ellipse", Grouping::Named));
    Leaf(ellipse, "ADBE Vector Ellipse Size", StreamValue::TwoD(30, 10));
    FillItem(root);
    const std::vector<ShapePaint> paints = Paints(layer);
    ASSERT_EQ(paints.size(), 1u);
    ASSERT_EQ(paints[0].outlines.size(), 2u);
    const tlhost::Outline& r = paints[0].outlines[0];
    EXPECT_TRUE(r.closed);
    EXPECT_EQ(r.Segments(), 4u);
    EXPECT_DOUBLE_EQ(r.points[0].x, 70);  // top right, then down the right side
    EXPECT_DOUBLE_EQ(r.points[0].y, 40);
    EXPECT_DOUBLE_EQ(r.points[3].y, 60);
    const tlhost::Outline& e = paints[0].outlines[1];
    EXPECT_DOUBLE_EQ(e.points[0].x, 0);  // the top, then to the right
    EXPECT_DOUBLE_EQ(e.points[0].y, -5);
    EXPECT_DOUBLE_EQ(e.points[3].x, 15);
    EXPECT_NEAR(tlhost::Length(tlhost::Section(r, 0, 1000)), 120, 1e-6);
}

}  // namespace
}  // namespace rendertest
