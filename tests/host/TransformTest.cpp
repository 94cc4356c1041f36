// Layer and shape-group transforms: the order of anchor, scale, rotations, orientation and
// position, 2D against 3D, values read through the caller's reader, and inverses.
#include <gtest/gtest.h>

#include <map>

#include "model/Project.h"
#include "model/Transform.h"

namespace {

using tlhost::Layer;
using tlhost::LayerKind;
using tlhost::Matrix4;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::Vec3;

void ExpectNear(const Vec3& got, const Vec3& want) {
    for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << "component " << i;
}

class Transforms : public ::testing::Test {
  protected:
    Layer& NewLayer(bool three_d) {
        Layer& layer = project_.AddLayer(comp_, "Layer", LayerKind::Shape);
        if (three_d) project_.SetLayer3D(layer, true);
        return layer;
    }
    static void Set(Layer& layer, const char* match_name, const StreamValue& value) {
        layer.root().FindChild("ADBE Transform Group")->FindChild(match_name)->set_value(value);
    }
    // Reads values as stored.
    tlhost::PropertyReader stored_ = [](const StreamNode& node, double) { return node.value(); };
    tlhost::Project project_;
    tlhost::Composition& comp_ = project_.AddComposition("Comp");
};

// Anchor first, then scale, rotation (clockwise on screen, y down) and position.
TEST_F(Transforms, A2DLayerAnchorsScalesTurnsAndMoves) {
    Layer& layer = NewLayer(false);
    Set(layer, "ADBE Anchor Point", StreamValue::ThreeD(10, 0, 0));
    Set(layer, "ADBE Position", StreamValue::ThreeD(100, 50, 999));
    Set(layer, "ADBE Scale", StreamValue::ThreeD(200, 200, 100));
    Set(layer, "ADBE Rotate Z", StreamValue::OneD(90));
    const Matrix4 m = tlhost::LayerToComp(layer, 0, stored_);
    ExpectNear(m.Apply({10, 0, 0}), {100, 50, 0});
    ExpectNear(m.Apply({20, 0, 0}), {100, 70, 0});
    // A 2D layer has no depth: the position's z is not applied.
    ExpectNear(m.Apply({10, 0, 5}), {100, 50, 5});
}

TEST_F(Transforms, A3DLayerTurnsAboutZThenYThenXAndOrientsAfter) {
    Layer& layer = NewLayer(true);
    Set(layer, "ADBE Rotate X", StreamValue::OneD(90));
    Set(layer, "ADBE Rotate Y", StreamValue::OneD(90));
    ExpectNear(tlhost::LayerToComp(layer, 0, stored_).Apply({1, 0, 0}), {0, 1, 0});
    // The orientation's angles compose the same way, after the rotations.
    Set(layer, "ADBE Rotate X", StreamValue::OneD(0));
    Set(layer, "ADBE Rotate Y", StreamValue::OneD(0));
    Set(layer, "ADBE Rotate Z", StreamValue::OneD(90));
    Set(layer, "ADBE Orientation", StreamValue::ThreeD(90, 0, 0));
    Set(layer, "ADBE Position", StreamValue::ThreeD(1, 2, 3));
    // Z turns x to y, then the orientation's X turns y to z.
    ExpectNear(tlhost::LayerToComp(layer, 0, stored_).Apply({1, 0, 0}), {1, 2, 4});
}

// The values come from the reader at the time asked, as after expressions.
TEST_F(Transforms, ValuesComeThroughTheReaderAtTheTimeAsked) {
    Layer& layer = NewLayer(false);
    double seen = -1;
    const tlhost::PropertyReader read = [&](const StreamNode& node, double time) {
        seen = time;
        if (node.match_name() == "ADBE Position") return StreamValue::ThreeD(time * 10, 0, 0);
        return node.value();
    };
    ExpectNear(tlhost::LayerToComp(layer, 2.5, read).Apply({1, 1, 0}), {26, 1, 0});
    EXPECT_EQ(seen, 2.5);
}

TEST_F(Transforms, InversesUndoAndAZeroScaleHasNone) {
    Layer& layer = NewLayer(true);
    Set(layer, "ADBE Orientation", StreamValue::ThreeD(10, 20, 30));
    Set(layer, "ADBE Scale", StreamValue::ThreeD(50, 150, 80));
    Set(layer, "ADBE Position", StreamValue::ThreeD(5, 6, 7));
    const Matrix4 m = tlhost::LayerToComp(layer, 0, stored_);
    Matrix4 inverse;
    ASSERT_TRUE(m.Invert(&inverse));
    ExpectNear(inverse.Apply(m.Apply({3, -4, 12})), {3, -4, 12});
    Set(layer, "ADBE Scale", StreamValue::ThreeD(0, 100, 100));
    EXPECT_FALSE(tlhost::LayerToComp(layer, 0, stored_).Invert(&inverse));
}

TEST_F(Transforms, AShapeGroupsTransformWorksInItsPlane) {
    StreamNode transform("ADBE Vector Transform Group", "Transform", tlhost::Grouping::Named);
    auto leaf = [&](const char* match, const StreamValue& value) {
        auto node = std::make_unique<StreamNode>(match, match, tlhost::Grouping::Leaf, value.kind);
        node->set_value(value);
        transform.AddChild(std::move(node));
    };
    leaf("ADBE Vector Anchor", StreamValue::TwoD(5, 5));
    leaf("ADBE Vector Position", StreamValue::TwoD(100, 0));
    leaf("ADBE Vector Scale", StreamValue::TwoD(100, 300));
    leaf("ADBE Vector Rotation", StreamValue::OneD(-90));
    ExpectNear(tlhost::ShapeGroupToParent(transform, 0, stored_).Apply({5, 6, 0}), {103, 0, 0});
}

}  // namespace
