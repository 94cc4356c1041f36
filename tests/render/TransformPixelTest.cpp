// Layers and shape groups placed by their transforms, 3D layers seen through the default
// camera, and compositions shown as layers, checked at pixels worked out by hand (100 x 100
// compositions: the default camera's zoom is 100 x 50 / 36 = 138.89).
#include "render/RenderFixture.h"

#ifdef TL_HAVE_EXPRESSIONS
#include "expressions/Expressions.h"
#endif

namespace rendertest {
namespace {

constexpr double kZoom = 100 * 50.0 / 36.0;

StreamNode& LayerTransform(Layer& layer) {
    return Child(layer.root(), "ADBE Transform Group");
}

void Set3(Layer& layer, const char* match_name, double x, double y, double z = 0) {
    Child(LayerTransform(layer), match_name).set_value(StreamValue::ThreeD(x, y, z));
}

using Transforms = RenderTest;

TEST_F(Transforms, ALayerTurnsClockwiseAboutItsAnchorScaledThenMovedToItsPosition) {
    Layer& layer = AddShapeLayer();
    PathItem(Root(layer), Polyline({{0, 0}, {20, 0}}));
    StrokeItem(Root(layer), 4);
    Set3(layer, "ADBE Anchor Point", 5, 0);
    Set3(layer, "ADBE Position", 50, 50);
    Set3(layer, "ADBE Scale", 200, 100, 100);
    Number(LayerTransform(layer), "ADBE Rotate Z", 90);
    // The line runs 40 long from the anchor's place back 10 and on 30, turned to point down:
    // x 48..52, y 40..80.
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(50, 42), kWhite));
    EXPECT_TRUE(Near(image.At(50, 77), kWhite));
    EXPECT_TRUE(Near(image.At(50, 38), kBlack));
    EXPECT_TRUE(Near(image.At(50, 82), kBlack));
    EXPECT_TRUE(Near(image.At(53, 60), kBlack));  // the width is not scaled across
    EXPECT_TRUE(Near(image.At(48, 60), kWhite));
}

TEST_F(Transforms, AGroupsTransformCarriesItsPathsAndScalesTheStrokesInsideIt) {
    Layer& layer = AddShapeLayer();
    StreamNode& group = GroupItem(Root(layer));
    Leaf(TransformOf(group), "ADBE Vector Position", StreamValue::TwoD(50, 30));
    Leaf(TransformOf(group), "ADBE Vector Scale", StreamValue::TwoD(50, 50));
    PathItem(Contents(group), Polyline({{-60, 0}, {60, 0}}));
    // The path lands on x 20..80 at y = 30. The group's own stroke is scaled with it: 10
    // wide, y 25..35. A red stroke around the group paints the same path 4 wide (y 28..32),
    // under the group, which is higher in the list.
    StrokeItem(Contents(group), 20);
    StrokeItem(Root(layer), 4, 1, 0, 0, "Around");
    tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(50, 26), kWhite));
    EXPECT_TRUE(Near(image.At(50, 36), kBlack));
    EXPECT_TRUE(Near(image.At(22, 26), kWhite));
    EXPECT_TRUE(Near(image.At(18, 30), kBlack));
    EXPECT_TRUE(Near(image.At(50, 30), kWhite));

    // With the group's stroke switched off, the red one shows its width of 4, not scaled.
    Contents(group).children().back()->eyeball = false;
    image = Draw();
    EXPECT_TRUE(Near(image.At(50, 30), Rgb(255, 0, 0)));
    EXPECT_TRUE(Near(image.At(50, 33), kBlack));
}

TEST_F(Transforms, AGroupTurnsAboutItsAnchorBeforeMovingToItsPosition) {
    Layer& layer = AddShapeLayer();
    StreamNode& group = GroupItem(Root(layer));
    Leaf(TransformOf(group), "ADBE Vector Anchor", StreamValue::TwoD(10, 0));
    Leaf(TransformOf(group), "ADBE Vector Position", StreamValue::TwoD(50, 50));
    Number(TransformOf(group), "ADBE Vector Rotation", 90);
    PathItem(Contents(group), Polyline({{10, 0}, {40, 0}}));
    StrokeItem(Contents(group), 4);
    // (10, 0)..(40, 0) less the anchor is 0..30 along x, turned to run down from (50, 50):
    // x 48..52, y 50..80.
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(50, 52), kWhite));
    EXPECT_TRUE(Near(image.At(50, 78), kWhite));
    EXPECT_TRUE(Near(image.At(50, 47), kBlack));
    EXPECT_TRUE(Near(image.At(50, 83), kBlack));
    EXPECT_TRUE(Near(image.At(60, 50), kBlack));  // not left unturned along x

    // Switched off, the group gives nothing.
    group.eyeball = false;
    EXPECT_TRUE(Near(Draw().At(50, 60), kBlack));
}

#ifdef TL_HAVE_EXPRESSIONS
TEST_F(Transforms, AnExpressionsToCompLandsWhereThePictureDrawsThePoint) {
    tlhost::ExpressionEngine engine;
    read = [&](const StreamNode& node, double time) {
        return engine.ValueAfterExpressions(P(), const_cast<StreamNode&>(node), time);
    };
    // The arm: 20 long from its origin, anchor 5 along it, scaled 150 %, turned 30 degrees
    // clockwise, at (30, 40). Its far end (20, 0) is 15 x 1.5 = 22.5 from the anchor, so it
    // lands on (30 + 22.5 cos 30, 40 + 22.5 sin 30) = (49.49, 51.25).
    Layer& arm = AddShapeLayer("Arm");
    PathItem(Root(arm), Polyline({{0, 0}, {20, 0}}));
    StrokeItem(Root(arm), 2);
    Set3(arm, "ADBE Anchor Point", 5, 0);
    Set3(arm, "ADBE Position", 30, 40);
    Set3(arm, "ADBE Scale", 150, 150, 100);
    Number(LayerTransform(arm), "ADBE Rotate Z", 30);
    // A red dot 4 across on top, put on the arm's end by toComp.
    Layer& pin = AddShapeLayer("Pin");
    PathItem(Root(pin), Polyline({{-2, -2}, {2, -2}, {2, 2}, {-2, 2}}, true));
    FillItem(Root(pin), 1, 0, 0);
    StreamNode& position = Child(LayerTransform(pin), "ADBE Position");
    position.expression = "thisComp.layer(\"Arm\").toComp([20, 0])";
    position.expression_enabled = true;
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Notes().empty());
    EXPECT_TRUE(Near(image.At(49, 51), Rgb(255, 0, 0)));
    EXPECT_TRUE(Near(image.At(49, 46), kBlack));
    EXPECT_TRUE(Near(image.At(54, 51), kBlack));
    // The arm itself passes under (40, 45.6), 10 / 22.5 of the way from the anchor's place.
    EXPECT_TRUE(Near(image.At(38, 44), kWhite, 60));
}
#endif

TEST_F(Transforms, A3DLayerFartherAwayIsSmallerAboutTheCompositionsCentre) {
    Layer& layer = AddShapeLayer();
    layer.set_flags(layer.flags() | AEGP_LayerFlag_LAYER_IS_3D);
    PathItem(Root(layer), Polyline({{-20, 0}, {20, 0}}));
    StrokeItem(Root(layer), 8);
    // At depth z = zoom everything is halved about (50, 50): x 40..60, 4 wide.
    Set3(layer, "ADBE Position", 50, 50, kZoom);
    tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(42, 50), kWhite));
    EXPECT_TRUE(Near(image.At(38, 50), kBlack));
    EXPECT_TRUE(Near(image.At(50, 52), kBlack));
    EXPECT_TRUE(Near(image.At(50, 49), kWhite));
    EXPECT_TRUE(Notes().empty());

    // Off centre, the position moves toward the centre too: (90, 50) at depth zoom lands at
    // (70, 50).
    Set3(layer, "ADBE Position", 90, 50, kZoom);
    image = Draw();
    EXPECT_TRUE(Near(image.At(70, 50), kWhite));
    EXPECT_TRUE(Near(image.At(81, 50), kBlack));
    EXPECT_TRUE(Near(image.At(79, 50), kWhite));

    // At z = 0 a 3D layer is drawn as a 2D one.
    Set3(layer, "ADBE Position", 50, 50, 0);
    image = Draw();
    EXPECT_TRUE(Near(image.At(31, 50), kWhite));
    EXPECT_TRUE(Near(image.At(50, 53), kWhite));

    // Behind the camera it is not drawn, and that is said.
    Set3(layer, "ADBE Position", 50, 50, -2 * kZoom);
    image = Draw();
    EXPECT_TRUE(Near(image.At(50, 50), kBlack));
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_NE(Notes()[0].find("is behind the camera"), std::string::npos);
}

TEST_F(Transforms, A3DLayerTurnedOutOfThePlaneIsForeshortenedAtItsAnchorAndSaidSo) {
    Layer& layer = AddShapeLayer();
    layer.set_flags(layer.flags() | AEGP_LayerFlag_LAYER_IS_3D);
    PathItem(Root(layer), Polyline({{-20, 0}, {20, 0}}));
    StrokeItem(Root(layer), 8);
    Set3(layer, "ADBE Position", 50, 50, 0);
    Number(LayerTransform(layer), "ADBE Rotate Y", 60);  // x shrinks by cos 60 = 1/2
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(41, 50), kWhite));
    EXPECT_TRUE(Near(image.At(38, 50), kBlack));
    EXPECT_TRUE(Near(image.At(50, 53), kWhite));  // y is not foreshortened
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_NE(Notes()[0].find("is turned out of the composition's plane"), std::string::npos);
}

TEST_F(Transforms, Adjacent3DLayersAreDrawnFarthestFirst) {
    // The red layer is on top of the stack but farther away: the white one covers it.
    Layer& white = AddShapeLayer("Near");
    white.set_flags(white.flags() | AEGP_LayerFlag_LAYER_IS_3D);
    PathItem(Root(white), Polyline({{-50, 0}, {50, 0}}));
    StrokeItem(Root(white), 20);
    Set3(white, "ADBE Position", 50, 50, 0);
    Layer& red = AddShapeLayer("Far");
    red.set_flags(red.flags() | AEGP_LayerFlag_LAYER_IS_3D);
    PathItem(Root(red), Polyline({{0, -100}, {0, 100}}));
    StrokeItem(Root(red), 20, 1, 0, 0);
    Set3(red, "ADBE Position", 50, 50, 10);
    tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(50, 50), kWhite));
    EXPECT_TRUE(Near(image.At(50, 20), Rgb(255, 0, 0)));

    // A 2D layer between them keeps its place: drawn after the white one, before the red one.
    Layer& flat = P().AddLayer(Comp(), "Flat", tlhost::LayerKind::Shape, 0, 1);
    ASSERT_EQ(Comp().layers()[1], &flat);
    PathItem(Root(flat), Polyline({{0, 50}, {100, 50}}));
    StrokeItem(Root(flat), 10, 0, 0, 1);
    image = Draw();
    EXPECT_TRUE(Near(image.At(50, 50), Rgb(255, 0, 0)));
    EXPECT_TRUE(Near(image.At(20, 50), Rgb(0, 0, 255)));
}

// A 20 x 20 composition holding a red square that overflows its frame.
tlhost::Composition& RedSquare(tlhost::Project& project) {
    tlhost::Composition& inner = project.AddComposition("Inner");
    inner.width = 20;
    inner.height = 20;
    Layer& square = project.AddLayer(inner, "Square", tlhost::LayerKind::Shape);
    PathItem(Root(square), Polyline({{-10, 5}, {30, 5}, {30, 15}, {-10, 15}}, true));
    FillItem(Root(square), 1, 0, 0);
    return inner;
}

TEST_F(Transforms, ACompositionShownAsALayerIsDrawnInsideItsFrameWhereTheLayerPutsIt) {
    tlhost::Composition& inner = RedSquare(P());
    Layer& shown = P().AddLayerShowing(Comp(), inner);
    // Centred by the host: anchor (10, 10) at (50, 50). The square's band y 5..15 of the inner
    // composition lands on 45..55, cut to x 40..60 by the frame.
    tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(42, 50), Rgb(255, 0, 0)));
    EXPECT_TRUE(Near(image.At(57, 50), Rgb(255, 0, 0)));
    EXPECT_TRUE(Near(image.At(38, 50), kBlack));
    EXPECT_TRUE(Near(image.At(62, 50), kBlack));
    EXPECT_TRUE(Near(image.At(50, 43), kBlack));

    Number(LayerTransform(shown), "ADBE Rotate Z", 90);
    Number(LayerTransform(shown), "ADBE Opacity", 50);
    image = Draw();
    EXPECT_TRUE(Near(image.At(50, 42), Rgb(128, 0, 0)));
    EXPECT_TRUE(Near(image.At(42, 50), kBlack));
}

TEST_F(Transforms, TheShownCompositionRunsOnItsOwnTimeFromTheLayersInPoint) {
    tlhost::Composition& inner = RedSquare(P());
    inner.layers()[0]->duration = {1, 1};  // the square shows for its first second
    Layer& shown = P().AddLayerShowing(Comp(), inner);
    shown.in_point = {1, 1};
    shown.duration = {5, 1};
    EXPECT_TRUE(Near(Draw(0.5).At(50, 50), kBlack));          // before the layer
    EXPECT_TRUE(Near(Draw(1.5).At(50, 50), Rgb(255, 0, 0)));  // inner time 0.5
    EXPECT_TRUE(Near(Draw(2.5).At(50, 50), kBlack));          // inner time 1.5
}

TEST_F(Transforms, ACompositionThatShowsItselfIsNotDrawnInsideItself) {
    Layer& self = P().AddLayer(Comp(), "Self", tlhost::LayerKind::Precomp);
    self.set_source(&Comp());
    Layer& line = AddShapeLayer();
    PathItem(Root(line), Polyline({{0, 50}, {100, 50}}));
    StrokeItem(Root(line), 4);
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(50, 50), kWhite));
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0], "composition \"Comp\" shows itself: not drawn inside itself");

    self.set_source(nullptr);
    Draw();
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0], "layer \"Self\" in \"Comp\" is not drawn: it shows no composition");
}

}  // namespace
}  // namespace rendertest
