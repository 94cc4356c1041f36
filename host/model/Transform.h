// Layer and shape-group transforms: the matrices that take a point from a layer's (or a shape
// group's) own space into its composition's (or its parent group's). The values come through
// a reader the caller gives (the host's evaluator, so that expressions on the transform
// count), which keeps the math in one place for every user: the expression engine's
// toWorld/toComp and the renderer.
//
// The host's conventions, as the stand-in keeps them:
//   - x runs right and y down (z away from the viewer); an angle turns x toward y, so a
//     positive rotation is clockwise on screen; angles are in degrees, scales in percent;
//   - a 2D layer: composition point = position + R(rotation) * S(scale) * (point - anchor),
//     in x and y only (z comes through unchanged);
//   - a 3D layer: composition point = position + O * R * S * (point - anchor), where
//     R = Rx(X Rotation) * Ry(Y Rotation) * Rz(Z Rotation) and O is the orientation's three
//     angles composed the same way (so about z first, then y, then x), applied after them;
//   - layers have no parents here (the host's parenting is not served), so a layer's space
//     maps straight into its composition's;
//   - a shape group: parent point = position + R(rotation) * S(scale) * (point - anchor) in
//     x and y (skew is not applied).
// A property the tree lacks takes the value of an identity transform.
#pragma once

#include <array>
#include <functional>

#include "model/Project.h"
#include "model/Stream.h"

namespace tlhost {

using Vec3 = std::array<double, 3>;

struct Matrix4 {
    // Row-major; points are columns (x, y, z, 1).
    std::array<std::array<double, 4>, 4> m{};

    static Matrix4 Identity();
    static Matrix4 Translation(double x, double y, double z);
    static Matrix4 Scaling(double x, double y, double z);
    // Rotations by `degrees` about one axis, turning the next axis toward the one after
    // (x toward y about z, y toward z about x, z toward x about y).
    static Matrix4 RotationX(double degrees);
    static Matrix4 RotationY(double degrees);
    static Matrix4 RotationZ(double degrees);

    Matrix4 operator*(const Matrix4& other) const;
    Vec3 Apply(const Vec3& point) const;
    // The inverse, or false (and `out` untouched) for a matrix without one (a zero scale).
    bool Invert(Matrix4* out) const;
};

// A property's value at a time, as the caller reads it (before or after expressions).
using PropertyReader = std::function<StreamValue(const StreamNode& node, double time)>;

// From `layer`'s space into its composition's, at `time` (seconds).
Matrix4 LayerToComp(const Layer& layer, double time, const PropertyReader& read);

// From the space inside the shape group whose transform group ("ADBE Vector Transform Group")
// is `transform` into the space of the group around it, at `time`.
Matrix4 ShapeGroupToParent(const StreamNode& transform, double time, const PropertyReader& read);

}  // namespace tlhost
