#include "render/RenderFixture.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace rendertest {

ShapePath Polyline(std::vector<std::pair<double, double>> points, bool closed) {
    ShapePath path;
    path.closed = closed;
    for (const auto& [x, y] : points) {
        tlhost::PathVertex v;
        v.x = x;
        v.y = y;
        path.vertices.push_back(v);
    }
    return path;
}

StreamNode& Leaf(StreamNode& parent, const std::string& match_name, const StreamValue& value,
                 const std::string& name) {
    auto leaf = std::make_unique<StreamNode>(match_name, name.empty() ? match_name : name,
                                             Grouping::Leaf, value.kind);
    leaf->set_value(value);
    return parent.AddChild(std::move(leaf));
}

StreamNode& Number(StreamNode& parent, const std::string& match_name, double value) {
    if (StreamNode* existing = parent.FindChild(match_name)) {
        existing->set_value(StreamValue::OneD(value));
        return *existing;
    }
    return Leaf(parent, match_name, StreamValue::OneD(value));
}

StreamNode& Child(StreamNode& group, const std::string& match_name) {
    StreamNode* node = group.FindChild(match_name);
    EXPECT_NE(node, nullptr) << match_name;
    return *node;
}

namespace {

StreamNode& NamedGroup(StreamNode& parent, const std::string& match_name, const std::string& name,
                       Grouping grouping = Grouping::Named) {
    return parent.AddChild(std::make_unique<StreamNode>(match_name, name, grouping));
}

}  // namespace

StreamNode& PathItem(StreamNode& contents, const ShapePath& path, const std::string& name) {
    StreamNode& item = NamedGroup(contents, "ADBE Vector Shape - Group", name);
    StreamValue value;
    value.kind = ValueKind::Path;
    value.path = path;
    Leaf(item, "ADBE Vector Shape", value, "Path");
    return item;
}

StreamNode& GroupItem(StreamNode& contents, const std::string& name) {
    StreamNode& group = NamedGroup(contents, "ADBE Vector Group", name);
    NamedGroup(group, "ADBE Vectors Group", "Contents", Grouping::Indexed);
    NamedGroup(group, "ADBE Vector Transform Group", "Transform");
    return group;
}

StreamNode& Contents(StreamNode& group) {
    return Child(group, "ADBE Vectors Group");
}

StreamNode& TransformOf(StreamNode& group) {
    return Child(group, "ADBE Vector Transform Group");
}

StreamNode& StrokeItem(StreamNode& contents, double width, double r, double g, double b,
                       const std::string& name) {
    StreamNode& stroke = NamedGroup(contents, kStroke, name);
    Leaf(stroke, "ADBE Vector Stroke Color", StreamValue::Color(r, g, b));
    Number(stroke, "ADBE Vector Stroke Width", width);
    return stroke;
}

StreamNode& FillItem(StreamNode& contents, double r, double g, double b, const std::string& name) {
    StreamNode& fill = NamedGroup(contents, kFill, name);
    Leaf(fill, "ADBE Vector Fill Color", StreamValue::Color(r, g, b));
    return fill;
}

StreamNode& GradientItem(StreamNode& contents, const char* kind, int type,
                         std::pair<double, double> start, std::pair<double, double> end) {
    StreamNode& paint = NamedGroup(contents, kind, "Gradient 1");
    Number(paint, "ADBE Vector Grad Type", type);
    Leaf(paint, "ADBE Vector Grad Start Pt", StreamValue::TwoD(start.first, start.second));
    Leaf(paint, "ADBE Vector Grad End Pt", StreamValue::TwoD(end.first, end.second));
    Leaf(paint, "ADBE Vector Grad Colors", StreamValue{});
    return paint;
}

StreamNode& TrimItem(StreamNode& contents, double start, double end, double offset, int type) {
    StreamNode& trim = NamedGroup(contents, "ADBE Vector Filter - Trim", "Trim Paths 1");
    Number(trim, "ADBE Vector Trim Start", start);
    Number(trim, "ADBE Vector Trim End", end);
    Number(trim, "ADBE Vector Trim Offset", offset);
    Number(trim, "ADBE Vector Trim Type", type);
    return trim;
}

void Dashes(StreamNode& stroke, std::vector<double> pattern, double offset) {
    StreamNode& dashes = NamedGroup(stroke, "ADBE Vector Stroke Dashes", "Dashes");
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::string n = std::to_string(i / 2 + 1);
        Number(dashes, (i % 2 == 0 ? "ADBE Vector Stroke Dash " : "ADBE Vector Stroke Gap ") + n,
               pattern[i]);
    }
    Number(dashes, "ADBE Vector Stroke Offset", offset);
}

RenderTest::RenderTest() {
    comp_ = &project_.AddComposition("Comp");
    comp_->width = 100;
    comp_->height = 100;
    read = [](const StreamNode& node, double time) { return node.ValueAt(time); };
}

Layer& RenderTest::AddShapeLayer(const std::string& name) {
    return project_.AddLayer(*comp_, name, tlhost::LayerKind::Shape);
}

StreamNode& Root(Layer& layer) {
    return Child(layer.root(), "ADBE Root Vectors Group");
}

tlhost::RenderedImage RenderTest::Draw(double time, double scale) {
    tlhost::CompositionPicture picture;
    picture.time = time;
    picture.scale = scale;
    tlhost::RenderedImage image;
    std::string error;
    notes_ = tlhost::RenderNotes{};
    EXPECT_TRUE(tlhost::RenderComposition(*comp_, picture, read, &image, &notes_, &error)) << error;
    return image;
}

::testing::AssertionResult Near(std::uint32_t px, std::uint32_t want, int tolerance) {
    const int d = std::max({std::abs(Red(px) - Red(want)), std::abs(Green(px) - Green(want)),
                            std::abs(Blue(px) - Blue(want))});
    char text[64];
    std::snprintf(text, sizeof text, "pixel %08X, expected %08X", static_cast<unsigned>(px),
                  static_cast<unsigned>(want));
    if (d <= tolerance) return ::testing::AssertionSuccess() << text;
    return ::testing::AssertionFailure() << text;
}

int Grey(double fraction) {
    return static_cast<int>(std::lround(255 * fraction));
}

}  // namespace rendertest
