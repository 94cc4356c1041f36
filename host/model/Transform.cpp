#include "model/Transform.h"

#include <cmath>

namespace tlhost {

namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees) {
    return degrees * kPi / 180.0;
}

// A component of a property's value, or `fallback` when the property or component is missing.
double Component(const StreamNode* group, const char* match_name, std::size_t index,
                 double fallback, double time, const PropertyReader& read) {
    const StreamNode* node = group ? group->FindChild(match_name) : nullptr;
    if (!node || node->is_group()) return fallback;
    const StreamValue value = read(*node, time);
    return index < value.Dimensions() ? value.v[index] : fallback;
}

Vec3 Triple(const StreamNode* group, const char* match_name, const Vec3& fallback, double time,
            const PropertyReader& read) {
    const StreamNode* node = group ? group->FindChild(match_name) : nullptr;
    if (!node || node->is_group()) return fallback;
    const StreamValue value = read(*node, time);
    Vec3 out = fallback;
    for (std::size_t i = 0; i < 3 && i < value.Dimensions(); ++i) out[i] = value.v[i];
    return out;
}

Matrix4 Rotation(double x_degrees, double y_degrees, double z_degrees) {
    return Matrix4::RotationX(x_degrees) * Matrix4::RotationY(y_degrees) *
           Matrix4::RotationZ(z_degrees);
}

}  // namespace

Matrix4 Matrix4::Identity() {
    Matrix4 out;
    for (std::size_t i = 0; i < 4; ++i) out.m[i][i] = 1;
    return out;
}

Matrix4 Matrix4::Translation(double x, double y, double z) {
    Matrix4 out = Identity();
    out.m[0][3] = x;
    out.m[1][3] = y;
    out.m[2][3] = z;
    return out;
}

Matrix4 Matrix4::Scaling(double x, double y, double z) {
    Matrix4 out = Identity();
    out.m[0][0] = x;
    out.m[1][1] = y;
    out.m[2][2] = z;
    return out;
}

Matrix4 Matrix4::RotationX(double degrees) {
    const double c = std::cos(Radians(degrees));
    const double s = std::sin(Radians(degrees));
    Matrix4 out = Identity();
    out.m[1][1] = c;
    out.m[1][2] = -s;
    out.m[2][1] = s;
    out.m[2][2] = c;
    return out;
}

Matrix4 Matrix4::RotationY(double degrees) {
    const double c = std::cos(Radians(degrees));
    const double s = std::sin(Radians(degrees));
    Matrix4 out = Identity();
    out.m[0][0] = c;
    out.m[0][2] = s;
    out.m[2][0] = -s;
    out.m[2][2] = c;
    return out;
}

Matrix4 Matrix4::RotationZ(double degrees) {
    const double c = std::cos(Radians(degrees));
    const double s = std::sin(Radians(degrees));
    Matrix4 out = Identity();
    out.m[0][0] = c;
    out.m[0][1] = -s;
    out.m[1][0] = s;
    out.m[1][1] = c;
    return out;
}

Matrix4 Matrix4::operator*(const Matrix4& other) const {
    Matrix4 out;
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) {
            double sum = 0;
            for (std::size_t k = 0; k < 4; ++k) sum += m[r][k] * other.m[k][c];
            out.m[r][c] = sum;
        }
    }
    return out;
}

Vec3 Matrix4::Apply(const Vec3& p) const {
    Vec3 out{};
    for (std::size_t r = 0; r < 3; ++r) {
        out[r] = m[r][0] * p[0] + m[r][1] * p[1] + m[r][2] * p[2] + m[r][3];
    }
    return out;
}

bool Matrix4::Invert(Matrix4* out) const {
    // Gauss-Jordan elimination with partial pivoting.
    std::array<std::array<double, 8>, 4> a{};
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) a[r][c] = m[r][c];
        a[r][4 + r] = 1;
    }
    for (std::size_t col = 0; col < 4; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < 4; ++r) {
            if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
        }
        if (std::abs(a[pivot][col]) < 1e-12) return false;
        std::swap(a[pivot], a[col]);
        const double scale = a[col][col];
        for (double& x : a[col]) x /= scale;
        for (std::size_t r = 0; r < 4; ++r) {
            if (r == col) continue;
            const double factor = a[r][col];
            for (std::size_t c = 0; c < 8; ++c) a[r][c] -= factor * a[col][c];
        }
    }
    for (std::size_t r = 0; r < 4; ++r) {
        for (std::size_t c = 0; c < 4; ++c) out->m[r][c] = a[r][4 + c];
    }
    return true;
}

Matrix4 LayerToComp(const Layer& layer, double time, const PropertyReader& read) {
    const StreamNode* t = layer.root().FindChild("ADBE Transform Group");
    const Vec3 anchor = Triple(t, "ADBE Anchor Point", {0, 0, 0}, time, read);
    const Vec3 position = Triple(t, "ADBE Position", {0, 0, 0}, time, read);
    const Vec3 scale = Triple(t, "ADBE Scale", {100, 100, 100}, time, read);
    // A 2D layer's rotation may also be stored under the 2D match name.
    double z_rotation = Component(t, "ADBE Rotate Z", 0, 0, time, read);
    if (t && !t->FindChild("ADBE Rotate Z"))
        z_rotation = Component(t, "ADBE Rotation", 0, 0, time, read);

    if (!layer.is_3d()) {
        return Matrix4::Translation(position[0], position[1], 0) * Matrix4::RotationZ(z_rotation) *
               Matrix4::Scaling(scale[0] / 100, scale[1] / 100, 1) *
               Matrix4::Translation(-anchor[0], -anchor[1], 0);
    }
    const Vec3 orientation = Triple(t, "ADBE Orientation", {0, 0, 0}, time, read);
    const double x_rotation = Component(t, "ADBE Rotate X", 0, 0, time, read);
    const double y_rotation = Component(t, "ADBE Rotate Y", 0, 0, time, read);
    return Matrix4::Translation(position[0], position[1], position[2]) *
           Rotation(orientation[0], orientation[1], orientation[2]) *
           Rotation(x_rotation, y_rotation, z_rotation) *
           Matrix4::Scaling(scale[0] / 100, scale[1] / 100, scale[2] / 100) *
           Matrix4::Translation(-anchor[0], -anchor[1], -anchor[2]);
}

Matrix4 ShapeGroupToParent(const StreamNode& transform, double time, const PropertyReader& read) {
    const Vec3 anchor = Triple(&transform, "ADBE Vector Anchor", {0, 0, 0}, time, read);
    const Vec3 position = Triple(&transform, "ADBE Vector Position", {0, 0, 0}, time, read);
    const Vec3 scale = Triple(&transform, "ADBE Vector Scale", {100, 100, 100}, time, read);
    const double rotation = Component(&transform, "ADBE Vector Rotation", 0, 0, time, read);
    return Matrix4::Translation(position[0], position[1], 0) * Matrix4::RotationZ(rotation) *
           Matrix4::Scaling(scale[0] / 100, scale[1] / 100, 1) *
           Matrix4::Translation(-anchor[0], -anchor[1], 0);
}

}  // namespace tlhost
