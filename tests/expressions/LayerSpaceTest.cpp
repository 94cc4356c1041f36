// toWorld, toComp, fromWorld and fromComp through the layer's transform: 2D and 3D layers,
// transform properties driven by expressions, the time asked for, and what cannot be done.
#include <cmath>

#include "expressions/ExpressionFixture.h"

namespace tltest {
namespace {

using tlhost::StreamValue;

class LayerSpace : public ExpressionTest {
  protected:
    void MakeConnection3D(const StreamValue& orientation) {
        project.SetLayer3D(*connection, true);
        Transform(*connection, "ADBE Orientation").set_value(orientation);
    }
    // `point_expression` (an array) evaluated into the connection's position.
    StreamValue Point(const std::string& point_expression) {
        tlhost::StreamNode& position = Transform(*controller, "ADBE Position");
        const tlhost::EvalResult r = Eval(point_expression, &position);
        EXPECT_TRUE(r.ok) << point_expression << "\n  -> " << r.error;
        return r.value;
    }
};

TEST_F(LayerSpace, A2DLayersPointsGoThroughAnchorScaleRotationAndPosition) {
    Transform(*connection, "ADBE Anchor Point").set_value(StreamValue::ThreeD(10, 10, 0));
    Transform(*connection, "ADBE Scale").set_value(StreamValue::ThreeD(200, 50, 100));
    Transform(*connection, "ADBE Rotate Z").set_value(StreamValue::OneD(90));
    Transform(*connection, "ADBE Position").set_value(StreamValue::ThreeD(500, 300, 0));
    const std::string line = "thisComp.layer('Connection')";
    // (20, 30) - anchor = (10, 20); scaled (20, 10); turned clockwise (-10, 20); moved.
    EXPECT_EQ(Point(line + ".toWorld([20, 30])"), StreamValue::ThreeD(490, 320, 0));
    EXPECT_EQ(Point(line + ".toComp([20, 30, 7])"), StreamValue::ThreeD(490, 320, 7));
    const StreamValue back = Point(line + ".fromWorld([490, 320])");
    EXPECT_NEAR(back.v[0], 20, 1e-9);
    EXPECT_NEAR(back.v[1], 30, 1e-9);
    // A 2D layer gives as many numbers as it was given.
    EXPECT_DOUBLE_EQ(Number(line + ".toWorld([20, 30]).length"), 2);
}

TEST_F(LayerSpace, A3DLayerIsOrientedAndGivesThreeNumbers) {
    MakeConnection3D(StreamValue::ThreeD(0, 90, 0));
    const std::string line = "thisComp.layer('Connection')";
    // A quarter turn about y takes x toward -z.
    const StreamValue p = Point(line + ".toWorld([10, 0])");
    EXPECT_NEAR(p.v[0], 0, 1e-9);
    EXPECT_NEAR(p.v[2], -10, 1e-9);
    EXPECT_DOUBLE_EQ(Number(line + ".toWorld([10, 0]).length"), 3);
    const StreamValue back = Point(line + ".fromComp(" + line + ".toComp([3, 4, 5]))");
    EXPECT_NEAR(back.v[0], 3, 1e-9);
    EXPECT_NEAR(back.v[1], 4, 1e-9);
    EXPECT_NEAR(back.v[2], 5, 1e-9);
}

// The transform is read as expressions read properties: after their own expressions, at
// the time asked for.
TEST_F(LayerSpace, TransformExpressionsAndTheTimeAskedForCount) {
    tlhost::StreamNode& position = Transform(*connection, "ADBE Position");
    position.expression = "[time * 100, 5, 0]";
    position.expression_enabled = true;
    const std::string line = "thisComp.layer('Connection')";
    EXPECT_DOUBLE_EQ(Number(line + ".toWorld([1, 1])[0]", nullptr, 0.5), 51);
    EXPECT_DOUBLE_EQ(Number(line + ".toWorld([1, 1], 2)[0]", nullptr, 0.5), 201);
    EXPECT_DOUBLE_EQ(Number(line + ".toWorld([1, 1])[1]"), 6);
    // A layer's own position placing itself reads its value before the expression.
    position.set_value(StreamValue::ThreeD(3, 4, 0));
    const tlhost::EvalResult own = Eval("toWorld([1, 1])", &position, 0.5);
    EXPECT_TRUE(own.ok) << own.error;
    EXPECT_EQ(own.value, StreamValue::ThreeD(4, 5, 0));
}

TEST_F(LayerSpace, TwoLayersPlacingEachOtherAreACycle) {
    tlhost::StreamNode& mine = Transform(*connection, "ADBE Position");
    tlhost::StreamNode& theirs = Transform(*controller, "ADBE Position");
    theirs.expression = "thisComp.layer('Connection').toWorld([0, 0])";
    theirs.expression_enabled = true;
    const std::string error = Error("thisComp.layer('Controller').toWorld([0, 0])", &mine);
    EXPECT_NE(error.find("cycle"), std::string::npos) << error;
}

TEST_F(LayerSpace, PointsOfTheWrongShapeAndLayersOfNoSizeAreErrors) {
    const std::string line = "thisComp.layer('Connection')";
    EXPECT_NE(Error(line + ".toWorld(3)").find("TypeError"), std::string::npos);
    EXPECT_NE(Error(line + ".toWorld([1, 2, 3, 4])").find("2 or 3 numbers"), std::string::npos);
    EXPECT_NE(Error(line + ".toWorld([1, NaN])").find("finite"), std::string::npos);
    Transform(*connection, "ADBE Scale").set_value(StreamValue::ThreeD(0, 100, 100));
    EXPECT_NE(Error(line + ".fromWorld([1, 2])").find("scale of 0"), std::string::npos);
    EXPECT_EQ(Point(line + ".toWorld([1, 2])"), StreamValue::ThreeD(0, 2, 0));
}

}  // namespace
}  // namespace tltest
