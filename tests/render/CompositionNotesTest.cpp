// What a drawing of a composition leaves out is said, once each; what cannot be drawn at all is
// refused with the reason.
#include <cmath>
#include <limits>

#include "render/RenderFixture.h"
#ifdef TL_HAVE_EXPRESSIONS
#include "expressions/Expressions.h"
#endif

namespace rendertest {
namespace {

using LeftOut = RenderTest;

bool Says(const std::vector<std::string>& notes, const std::string& part) {
    for (const std::string& note : notes) {
        if (note.find(part) != std::string::npos) return true;
    }
    return false;
}

TEST_F(LeftOut, LayersThatHoldNothingToDrawAreSaidOnceNullsSayNothing) {
    P().AddLayer(Comp(), "Ground", tlhost::LayerKind::Solid);
    P().AddLayer(Comp(), "Clip", tlhost::LayerKind::Footage);
    P().AddLayer(Comp(), "Title", tlhost::LayerKind::Text);
    P().AddLayer(Comp(), "Rig", tlhost::LayerKind::Null);
    P().AddLayer(Comp(), "Camera 1", tlhost::LayerKind::Camera);
    P().AddLayer(Comp(), "Light 1", tlhost::LayerKind::Light);
    Layer& guide = AddShapeLayer("Guide");
    guide.set_flags(guide.flags() | AEGP_LayerFlag_GUIDE_LAYER);
    Layer& adjust = AddShapeLayer("Adjust");
    adjust.set_flags(adjust.flags() | AEGP_LayerFlag_ADJUSTMENT_LAYER);
    Draw();
    const std::vector<std::string> first = Notes();
    EXPECT_EQ(first.size(), 7u);
    EXPECT_TRUE(Says(first, "layer \"Ground\" in \"Comp\" is not drawn: solid layers"));
    EXPECT_TRUE(Says(first, "\"Clip\""));
    EXPECT_TRUE(Says(first, "\"Title\""));
    EXPECT_TRUE(Says(first, "\"Camera 1\" in \"Comp\" is not used"));
    EXPECT_TRUE(Says(first, "\"Light 1\""));
    EXPECT_TRUE(Says(first, "\"Guide\" in \"Comp\" is a guide layer"));
    EXPECT_TRUE(Says(first, "\"Adjust\" in \"Comp\" is an adjustment layer"));
    EXPECT_FALSE(Says(first, "\"Rig\""));
}

TEST_F(LeftOut, EffectsThatDrawAreSaidOnceControlsAndPassThroughsAreNot) {
    for (const char* name : {"One", "Two"}) {
        Layer& layer = AddShapeLayer(name);
        layer.AddEffect("ADBE Gaussian Blur 2", "Gaussian Blur");
        layer.AddEffect("ADBE Slider Control", "Slider Control");
        layer.AddEffect("LK Own", "Own");
        layer.AddEffect("ADBE Fill", "Fill").group().eyeball = false;  // switched off
    }
    tlhost::CompositionPicture picture;
    picture.pass_through_effects = {"LK Own"};
    tlhost::RenderedImage image;
    tlhost::RenderNotes notes;
    std::string error;
    ASSERT_TRUE(tlhost::RenderComposition(Comp(), picture, read, &image, &notes, &error));
    ASSERT_EQ(notes.texts().size(), 1u);
    EXPECT_EQ(notes.texts()[0],
              "effect \"Gaussian Blur\" (ADBE Gaussian Blur 2) is not applied (first met on layer "
              "\"One\" in \"Comp\")");
}

TEST_F(LeftOut, MasksAreSaidAndTheLayerDrawnWithoutThem) {
    Layer& layer = AddShapeLayer("Masked");
    StreamNode& masks = layer.root().AddChild(
        std::make_unique<StreamNode>("ADBE Mask Parade", "Masks", Grouping::Indexed));
    masks.AddChild(std::make_unique<StreamNode>("ADBE Mask Atom", "Mask 1", Grouping::Named));
    PathItem(Root(layer), Polyline({{0, 50}, {100, 50}}));
    StrokeItem(Root(layer), 10);
    EXPECT_TRUE(Near(Draw().At(50, 50), kWhite));
    EXPECT_TRUE(Says(Notes(), "\"Masked\" in \"Comp\" has masks: not applied"));
}

TEST_F(LeftOut, PicturesThatCannotBeMadeAreRefusedWithTheReason) {
    tlhost::RenderedImage image;
    tlhost::RenderNotes notes;
    std::string error;
    tlhost::CompositionPicture picture;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double scale : {0.0, -1.0, nan, 1000.0, 0.001}) {
        SCOPED_TRACE(scale);
        picture.scale = scale;
        error.clear();
        EXPECT_FALSE(tlhost::RenderComposition(Comp(), picture, read, &image, &notes, &error));
        EXPECT_FALSE(error.empty());
    }
    picture.scale = 1;
    picture.time = nan;
    EXPECT_FALSE(tlhost::RenderComposition(Comp(), picture, read, &image, &notes, &error));
    EXPECT_EQ(error, "the time must be a number of seconds");
}

TEST_F(LeftOut, PathsWithPointsThatAreNotNumbersAreLeftOutNotTheWholePicture) {
    Layer& layer = AddShapeLayer();
    const double inf = std::numeric_limits<double>::infinity();
    PathItem(Root(layer), Polyline({{0, 30}, {inf, 30}}), "Broken");
    PathItem(Root(layer), Polyline({{0, 70}, {100, 70}}), "Sound");
    StrokeItem(Root(layer), 10);
    const tlhost::RenderedImage image = Draw();
    EXPECT_TRUE(Near(image.At(50, 70), kWhite));
    EXPECT_TRUE(Near(image.At(50, 30), kBlack));
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0],
              "a path painted by Shape Layer 1 > Contents > Stroke 1 has points that are not "
              "finite numbers: left out");
}

#ifdef TL_HAVE_EXPRESSIONS
TEST_F(LeftOut, ExpressionsAreEvaluatedAtTheTimeDrawnAndAFailingOneIsSaidOnce) {
    tlhost::ExpressionEngine engine;
    read = [&](const StreamNode& node, double time) {
        return engine.ValueAfterExpressions(P(), const_cast<StreamNode&>(node), time);
    };
    Layer& layer = AddShapeLayer("Lines");
    PathItem(Root(layer), Polyline({{0, 50}, {100, 50}}));
    StreamNode& width = Child(StrokeItem(Root(layer), 2), "ADBE Vector Stroke Width");
    width.expression = "time * 20";
    width.expression_enabled = true;
    EXPECT_TRUE(Near(Draw(0).At(50, 54), kBlack));
    EXPECT_TRUE(Near(Draw(0.5).At(50, 54), kWhite));  // width 10
    EXPECT_TRUE(Notes().empty());

    // A failing expression: drawn with the value before expressions (2), said once.
    width.expression = "thisComp.layer(\"Nowhere\").position[0]";
    const tlhost::RenderedImage image = Draw(0.5);
    EXPECT_TRUE(Near(image.At(50, 54), kBlack));
    EXPECT_TRUE(Near(image.At(50, 50), kWhite));
    ASSERT_EQ(Notes().size(), 1u);
    EXPECT_EQ(Notes()[0].rfind("the expression of Lines > Contents > Stroke 1 > "
                               "ADBE Vector Stroke Width fails (",
                               0),
              0u)
        << Notes()[0];
}
#endif

}  // namespace
}  // namespace rendertest
